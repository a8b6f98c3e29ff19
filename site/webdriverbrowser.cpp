#include "site/webdriverbrowser.h"

#include "common/pump.h"
#include "site/orphanguard.h"
#include "site/webdriverclient.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QUuid>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// A script call during a pending navigation is held by chromedriver until
// the navigation commits; a modest limit keeps each poll short while a page
// hangs, and a time-out then just means "still loading".
constexpr int scriptTimeoutMs = 1000;
constexpr int commandTimeoutMs = scriptTimeoutMs + 30000;
constexpr int sessionStartTimeoutMs = 60000;
constexpr int quitTimeoutMs = 15000;
constexpr int leftBehindGraceMs = 5000;
// Waits poll at tens of milliseconds; faster polling only costs CPU in
// chromedriver and the page's renderer.
constexpr int minPollIntervalMs = 25;
// A look for the complete page waits inside the page, and must end before
// the script time-out: the time chromedriver holds the call while the
// navigation is pending counts against that too.
constexpr int maxLookMs = scriptTimeoutMs - 200;
// The page awaitComplete read serves only a document() asked for right after.
constexpr int snapshotFreshMs = 1000;

const QString tokenProperty = QStringLiteral("window.__ovekwardenNavigationToken");

QString firstLine(const QString &text)
{
    return text.section(QLatin1Char('\n'), 0, 0);
}

QString shownAddress(const QString &href)
{
    // Chromium opens on an empty placeholder page: there is no address yet.
    if (href == QStringLiteral("data:,") || href == QStringLiteral("about:blank"))
        return QString();
    return href;
}

// Chromium holds its profile with a lock entry that a clean exit removes
// (SingletonLock on Linux and macOS, lockfile on Windows).
bool profileLocked(const QString &profileDir)
{
    const QDir dir(profileDir);
    return QFileInfo(dir.filePath(QStringLiteral("SingletonLock"))).isSymLink() ||
           QFileInfo::exists(dir.filePath(QStringLiteral("lockfile")));
}

} // namespace

QString WebDriverOptions::profileFolderName()
{
    return QStringLiteral("browser-profile");
}

WebDriverOptions WebDriverOptions::forProgram(const QString &appDir)
{
    WebDriverOptions options;
    // A profile of our own under AppDir: the login survives restarts, and no
    // other browser shares (and spoils) its cookies.
    options.profileDir = appDir + profileFolderName();
#ifdef Q_OS_UNIX
    options.noSandbox = ::geteuid() == 0;
#endif
    return options;
}

WebDriverBrowser::WebDriverBrowser(const WebDriverOptions &options) : m_profileDir(options.profileDir)
{
    // A program killed outright (or a crash) may have left its browser on
    // this profile; it would keep the new one from starting. The caller
    // holds the profile's lock, so such a browser is nobody's any more.
    OrphanGuard::endLeftBehindBrowsers(options.profileDir, leftBehindGraceMs);
    m_driver.start(options.chromedriverProgram);
    m_client = std::make_unique<WebDriverClient>(m_driver.port());
    try {
        openSession(options);
    } catch (...) {
        m_driver.stop();
        throw;
    }
}

WebDriverBrowser::~WebDriverBrowser()
{
    quit();
}

void WebDriverBrowser::openSession(const WebDriverOptions &options)
{
    QDir().mkpath(options.profileDir);
    QJsonArray arguments{
        QStringLiteral("--user-data-dir=") + QDir::toNativeSeparators(options.profileDir),
        QStringLiteral("--start-maximized"),
        QStringLiteral("--disable-blink-features=AutomationControlled"),
        // The program's own browser: no welcome pages and no traffic of its own.
        QStringLiteral("--no-first-run"),
        QStringLiteral("--disable-background-networking"),
        QStringLiteral("--disable-component-update"),
        QStringLiteral("--disable-sync"),
        // After the program was ended from outside, the game is walked from
        // the top page anyway: the "restore pages" offer would only cover it.
        QStringLiteral("--hide-crash-restore-bubble"),
        // A walk loads hundreds of pages in one tab and never goes back:
        // pages kept for going back only make every later page slower (the
        // same 339-member walk took 44 s, 61 s, then 74 s; without them 40,
        // 43, 46 s).
        QStringLiteral("--disable-back-forward-cache"),
    };
    if (options.headless)
        arguments.append(QStringLiteral("--headless=new"));
    if (options.noSandbox)
        arguments.append(QStringLiteral("--no-sandbox"));
    const QJsonObject chromeOptions{
        {QStringLiteral("binary"), options.chromiumProgram},
        {QStringLiteral("args"), arguments},
        {QStringLiteral("excludeSwitches"), QJsonArray{QStringLiteral("enable-automation")}},
    };
    const QJsonObject alwaysMatch{
        {QStringLiteral("browserName"), QStringLiteral("chrome")},
        // Navigation commands return at once; the waits decide when a page is there.
        {QStringLiteral("pageLoadStrategy"), QStringLiteral("none")},
        {QStringLiteral("goog:chromeOptions"), chromeOptions},
    };
    const QJsonObject request{
        {QStringLiteral("capabilities"), QJsonObject{{QStringLiteral("alwaysMatch"), alwaysMatch}}}};
    try {
        const QJsonValue session = m_client->post(QStringLiteral("/session"), request, sessionStartTimeoutMs);
        m_sessionId = session.toObject().value(QStringLiteral("sessionId")).toString();
        if (m_sessionId.isEmpty())
            throw BrowserError(QStringLiteral("ブラウザを起動できませんでした。"));
        m_client->post(sessionPath(QStringLiteral("/timeouts")),
                       QJsonObject{{QStringLiteral("script"), scriptTimeoutMs}}, commandTimeoutMs);
    } catch (const WebDriverFailure &failure) {
        rethrow(failure);
    }
}

void WebDriverBrowser::rethrow(const WebDriverFailure &failure)
{
    switch (failure.kind()) {
    case WebDriverFailureKind::BrowserGone:
        throw BrowserGone(QStringLiteral("ブラウザのウィンドウが閉じられています。"));
    case WebDriverFailureKind::SessionNotCreated:
        // The usual cause is a second copy of the program, or a browser left
        // open on the same profile: the new Chromium hands over to the one
        // holding the profile's lock and exits. The driver's own words only
        // for the rest.
        if (failure.message().contains(QStringLiteral("already in use"), Qt::CaseInsensitive) ||
            profileLocked(m_profileDir)) {
            const QString profile = QDir::toNativeSeparators(m_profileDir);
            const QString holder = OrphanGuard::profileHolder(m_profileDir);
            if (!holder.isEmpty())
                throw ProfileInUse(QStringLiteral("ブラウザのプロファイル（%1）は、%2が使っています。"
                                                  "そのプログラムを閉じてから、もう一度起動してください。")
                                       .arg(profile, holder));
            throw ProfileInUse(QStringLiteral("ブラウザのプロファイル（%1）が他のプログラムで使用中です。"
                                              "先に起動しているこのツールかブラウザを閉じてから、"
                                              "もう一度起動してください。")
                                   .arg(profile));
        }
        throw BrowserError(QStringLiteral("ブラウザを起動できませんでした。（") +
                           firstLine(failure.message()) + QStringLiteral("）"));
    case WebDriverFailureKind::StillNavigating:
        if (failure.errorCode() == QStringLiteral("script timeout"))
            throw BrowserError(QStringLiteral("ページの読み込みが終わっていません。"));
        break;
    case WebDriverFailureKind::Other:
        break;
    }
    throw BrowserError(QStringLiteral("ブラウザの操作に失敗しました。（") + failure.errorCode() +
                       QStringLiteral(": ") + firstLine(failure.message()) + QStringLiteral("）"));
}

QString WebDriverBrowser::sessionPath(const QString &tail) const
{
    if (m_sessionId.isEmpty())
        throw BrowserGone(QStringLiteral("ブラウザは終了しています。"));
    return QStringLiteral("/session/") + m_sessionId + tail;
}

QJsonValue WebDriverBrowser::executeScript(const QString &script, const QJsonArray &arguments)
{
    return m_client->post(
        sessionPath(QStringLiteral("/execute/sync")),
        QJsonObject{{QStringLiteral("script"), script}, {QStringLiteral("args"), arguments}},
        commandTimeoutMs);
}

QJsonValue WebDriverBrowser::tokenArgument() const
{
    return m_token.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(m_token);
}

void WebDriverBrowser::keepPollInterval()
{
    if (m_sinceLastPoll.isValid()) {
        const qint64 left = minPollIntervalMs - m_sinceLastPoll.elapsed();
        if (left > 0)
            pauseWithEvents(static_cast<int>(left));
    }
    m_sinceLastPoll.start();
}

void WebDriverBrowser::navigate(const QString &address)
{
    issue(Command::Navigate, address);
}

void WebDriverBrowser::refresh()
{
    // A reload while the last command's page has not arrived yet would reload
    // the previous document and drop the pending one; the page that hangs is
    // the one to ask for again.
    if (m_lastCommand != Command::None && pageState().stillPrevious)
        issue(m_lastCommand, m_lastAddress);
    else
        issue(Command::Refresh, QString());
}

void WebDriverBrowser::back()
{
    issue(Command::Back, QString());
}

void WebDriverBrowser::forward()
{
    issue(Command::Forward, QString());
}

void WebDriverBrowser::issue(Command command, const QString &address)
{
    m_snapshot.reset();
    m_previousStillShown = false;
    const QString token = QUuid::createUuid().toString(QUuid::WithoutBraces);
    try {
        executeScript(tokenProperty + QStringLiteral(" = arguments[0]; return true;"), QJsonArray{token});
        m_token = token;
    } catch (const WebDriverFailure &failure) {
        // Held past the time-out: our previous command's navigation is still
        // pending, and the document still shown carries the previous token,
        // which therefore stays the one to wait out.
        if (failure.kind() != WebDriverFailureKind::StillNavigating)
            rethrow(failure);
    }
    try {
        sendCommand(command, address);
    } catch (...) {
        // Nothing is loading: the document that carries the token is the
        // current one, not a previous one.
        m_token.clear();
        m_lastCommand = Command::None;
        throw;
    }
    m_lastCommand = command;
    m_lastAddress = address;
}

void WebDriverBrowser::sendCommand(Command command, const QString &address)
{
    QString path;
    QJsonObject body;
    switch (command) {
    case Command::Navigate:
        path = QStringLiteral("/url");
        body.insert(QStringLiteral("url"), address);
        break;
    case Command::Refresh:
        path = QStringLiteral("/refresh");
        break;
    case Command::Back:
        path = QStringLiteral("/back");
        break;
    case Command::Forward:
        path = QStringLiteral("/forward");
        break;
    case Command::None:
        return;
    }
    try {
        m_client->post(sessionPath(path), body, commandTimeoutMs);
    } catch (const WebDriverFailure &failure) {
        rethrow(failure);
    }
}

WebDriverBrowser::PageState WebDriverBrowser::pageState()
{
    keepPollInterval();
    PageState state;
    try {
        const QJsonArray answer =
            executeScript(QStringLiteral("return [") + tokenProperty +
                              QStringLiteral(" === arguments[0], document.readyState];"),
                          QJsonArray{tokenArgument()})
                .toArray();
        state.stillPrevious = !m_token.isEmpty() && answer.at(0).toBool();
        const QString readyState = answer.at(1).toString();
        if (readyState == QStringLiteral("complete"))
            state.readyState = Complete;
        else if (readyState == QStringLiteral("interactive"))
            state.readyState = Interactive;
        else
            state.readyState = Loading;
    } catch (const WebDriverFailure &failure) {
        if (failure.kind() != WebDriverFailureKind::StillNavigating)
            rethrow(failure);
    }
    return state;
}

int WebDriverBrowser::readyState()
{
    const PageState state = pageState();
    return state.stillPrevious ? Loading : state.readyState;
}

bool WebDriverBrowser::busy()
{
    const PageState state = pageState();
    return state.stillPrevious || state.readyState != Complete;
}

QString WebDriverBrowser::locationUrl()
{
    try {
        return shownAddress(m_client->get(sessionPath(QStringLiteral("/url")), commandTimeoutMs).toString());
    } catch (const WebDriverFailure &failure) {
        rethrow(failure);
    }
}

std::optional<Document> WebDriverBrowser::awaitComplete(int maxMs)
{
    // The previous document answers at once; looks at it are spaced like
    // polls. Any other look waits inside the page and ends when it does.
    if (m_previousStillShown)
        keepPollInterval();
    else
        m_sinceLastPoll.start();
    m_previousStillShown = false;
    QJsonValue answer;
    try {
        // One call: the token check (null for the previous document), then
        // the page read in one piece as soon as it is complete; false when
        // it is not complete within the look's time. chromedriver holds the
        // call while a navigation is pending. A script may return a promise,
        // which chromedriver awaits (this answered sooner than an
        // asynchronous script in the roster benchmark). The page is read
        // at pageshow, which the browser fires right after the load event in
        // the same task: every load handler of the page has run by then, and
        // nothing else (a repaint) comes before the read.
        answer = executeScript(
            QStringLiteral("var token = arguments[0], maxMs = arguments[1];"
                           " if (token !== null && ") +
                tokenProperty +
                QStringLiteral(" === token) return null;"
                               " var read = function () {"
                               "   var root = document.documentElement;"
                               "   return [location.href, root ? root.outerHTML : ''];"
                               " };"
                               " if (document.readyState === 'complete') return read();"
                               " return new Promise(function (settle) {"
                               "   var timer = setTimeout(function () { settle(false); }, maxMs);"
                               "   window.addEventListener('pageshow', function () {"
                               "     clearTimeout(timer);"
                               "     settle(read());"
                               "   }, {once: true});"
                               " });"),
            QJsonArray{tokenArgument(), std::clamp(maxMs, 0, maxLookMs)});
    } catch (const WebDriverFailure &failure) {
        // Held past the time-out by a pending navigation, or the document
        // went away under the script: still loading.
        if (failure.kind() != WebDriverFailureKind::StillNavigating)
            rethrow(failure);
        return std::nullopt;
    }
    if (answer.isNull()) {
        m_previousStillShown = true;
        return std::nullopt;
    }
    const QJsonArray page = answer.toArray();
    if (page.size() != 2)
        return std::nullopt;
    m_snapshot = Document::fromHtml(shownAddress(page.at(0).toString()), page.at(1).toString());
    m_snapshotTaken.start();
    return m_snapshot;
}

Document WebDriverBrowser::document()
{
    // Right after a wait the page it read is the page: no second round trip.
    if (m_snapshot && m_snapshotTaken.elapsed() < snapshotFreshMs) {
        Document page = std::move(*m_snapshot);
        m_snapshot.reset();
        return page;
    }
    m_snapshot.reset();
    QJsonArray answer;
    try {
        // One call for the whole page; null while the previous document is
        // still the one shown, which must never pass for the new page.
        answer = executeScript(QStringLiteral("if (") + tokenProperty +
                                   QStringLiteral(" === arguments[0]) return null;"
                                                  " var root = document.documentElement;"
                                                  " return [location.href, root ? root.outerHTML : ''];"),
                               QJsonArray{tokenArgument()})
                     .toArray();
    } catch (const WebDriverFailure &failure) {
        rethrow(failure);
    }
    if (answer.size() != 2)
        throw BrowserError(QStringLiteral("ページの読み込みが終わっていません。"));
    return Document::fromHtml(shownAddress(answer.at(0).toString()), answer.at(1).toString());
}

std::optional<double> WebDriverBrowser::navigationLoadMs()
{
    QJsonValue answer;
    try {
        answer = executeScript(QStringLiteral("var entry = performance.getEntriesByType('navigation')[0];"
                                              " return entry ? entry.loadEventEnd : null;"),
                               QJsonArray{});
    } catch (const WebDriverFailure &failure) {
        rethrow(failure);
    }
    if (!answer.isDouble())
        return std::nullopt;
    return answer.toDouble();
}

void WebDriverBrowser::setFieldValue(const QString &elementId, const QString &value)
{
    // The page's own handlers of the events below may change it.
    m_snapshot.reset();
    bool found = false;
    try {
        // The id and the value travel as arguments: no page text ever becomes script.
        found = executeScript(QStringLiteral("var field = document.getElementById(arguments[0]);"
                                             " if (!field) return false;"
                                             " field.value = arguments[1];"
                                             " field.dispatchEvent(new Event('input', {bubbles: true}));"
                                             " field.dispatchEvent(new Event('change', {bubbles: true}));"
                                             " return true;"),
                              QJsonArray{elementId, value})
                    .toBool();
    } catch (const WebDriverFailure &failure) {
        rethrow(failure);
    }
    if (!found)
        throw BrowserError(QStringLiteral("入力欄「") + elementId +
                           QStringLiteral("」がページにありません。"));
}

void WebDriverBrowser::quit()
{
    m_snapshot.reset();
    try {
        if (!m_sessionId.isEmpty() && m_driver.isRunning()) {
            // Closing the session lets Chromium shut down in order, so the
            // profile (and the login in it) is written out; also, and above
            // all, when the program is closing.
            const QString path = sessionPath(QString());
            m_sessionId.clear();
            m_client->remove(path, quitTimeoutMs, WebDriverClient::WhileClosing::Finish);
        }
    } catch (...) {
        // Gone already: nothing left to close politely.
    }
    m_sessionId.clear();
    try {
        m_driver.stop();
    } catch (...) {
    }
}
