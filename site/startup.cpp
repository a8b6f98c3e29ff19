#include "site/startup.h"

#include "common/pump.h"
#include "common/readfailure.h"
#include "common/textsearch.h"
#include "site/browserslot.h"
#include "site/loginlost.h"
#include "site/navigator.h"
#include "site/ownlord.h"
#include "site/session.h"

namespace {

const QString kLoginInvitation = QStringLiteral("JAPAN IDをお持ちでない方もこちら");

QString failureText(const std::exception &error)
{
    if (const auto *failure = dynamic_cast<const Failure *>(&error))
        return failure->message();
    return QString::fromStdString(error.what());
}

// The login form of the ID service is on a site of its own.
bool onGameSite(const WorldConfig &world, const QString &location)
{
    return location.startsWith(world.gameSiteTopUrl + QStringLiteral("/")) ||
           location.startsWith(world.worldBaseUrl + QStringLiteral("/"));
}

} // namespace

StartupSequence::StartupSequence(Session &session, BrowserSlot &browsers, Navigator &navigator, Pump &pump,
                                 Login login)
    : m_session(session), m_browsers(browsers), m_navigator(navigator), m_pump(pump), m_login(login)
{
}

void StartupSequence::run()
{
    try {
        m_browsers.replaceWithNew();
    } catch (const ProfileInUse &inUse) {
        // Nothing is missing: another program has the profile open.
        throw StartupFailure(QStringLiteral("ブラウザ（Chromium）を起動できませんでした。\r\n\r\n") +
                             inUse.message());
    } catch (const std::exception &error) {
        throw StartupFailure(
            QStringLiteral("ブラウザ（Chromium）を起動できませんでした。\r\n"
                           "chromium と chromium-driver が入っているか確かめてください。\r\n\r\n") +
            failureText(error));
    }
    try {
        m_navigator.waitForPage(m_session.world.topPageUrl());
        handleLoginPage();
        m_navigator.waitForPage(m_session.world.userPageUrl());
        readOwnLordWithRetry();
    } catch (const StartupFailure &) {
        throw;
    } catch (const Quitting &) {
        throw;
    } catch (const LoginLost &) {
        // The world link led to the session-out page again and again.
        if (m_login == Login::SavedOnly)
            throw SavedLoginGone();
        throw StartupFailure(QStringLiteral("ゲームの画面を読めなかったため、起動を中止しました。\r\n\r\n") +
                             LoginLost().message());
    } catch (const BrowserGone &) {
        throw StartupFailure(QStringLiteral("ブラウザが閉じられたため、起動を中止しました。\r\n"
                                            "もう一度 ovekwarden を起動してください。"));
    } catch (const std::exception &error) {
        throw StartupFailure(QStringLiteral("ゲームの画面を読めなかったため、起動を中止しました。\r\n\r\n") +
                             failureText(error));
    }
}

void StartupSequence::handleLoginPage()
{
    try {
        m_navigator.waitUntilComplete();
        const QString text = m_browsers.current().document().bodyText();
        if (TextSearch::containsExact(text, kLoginInvitation)) {
            m_browsers.current().navigate(m_session.world.loginEntryUrl());
            m_navigator.waitUntilComplete();
            if (m_login == Login::SavedOnly)
                requireSavedLogin();
            else
                waitForLoginToFinish();
        }
        enterWorld();
    } catch (const BrowserGone &) {
        throw; // no browser, no start-up: the user is told
    } catch (const SavedLoginGone &) {
        throw;
    } catch (const Quitting &) {
        throw;
    } catch (const std::exception &) {
        // Start-up goes on with the user page, which tells whether we got in.
    }
}

void StartupSequence::waitForLoginToFinish()
{
    // The player types the login by hand in the browser window. Going on
    // while the login form is still up would walk away from it under the
    // user's hands, so start-up waits (responsive, no time limit) until the
    // browser has left the login entry. 「再起動」 still works meanwhile.
    const QString entry = m_session.world.loginEntryUrl();
    while (true) {
        Browser &browser = m_browsers.current();
        const QString location = browser.locationUrl();
        if (!browser.busy() && location != entry && onGameSite(m_session.world, location))
            break;
        m_pump.pauseFor(100);
    }
    m_navigator.waitUntilComplete();
}

void StartupSequence::requireSavedLogin()
{
    // A login saved with the game's ID service passes the login entry
    // straight back to the game; one that expired stops on a login form
    // (on the entry itself or the ID service's own site), and nobody is
    // there to fill it in.
    m_pump.pauseFor(500);
    m_navigator.waitUntilComplete();
    const QString location = m_browsers.current().locationUrl();
    if (location == m_session.world.loginEntryUrl() || !onGameSite(m_session.world, location) ||
        TextSearch::containsExact(m_browsers.current().document().bodyText(), kLoginInvitation))
        throw SavedLoginGone();
}

void StartupSequence::restart()
{
    // While the first browser is still being made, or a new one replaces
    // it, there is nothing to walk with yet: walking now would find no
    // browser and start a second Chromium on the same profile.
    if (!m_browsers.hasBrowser() || m_browsers.isReplacing())
        return;
    enterWorld();
}

void StartupSequence::reopenBrowser()
{
    m_browsers.replaceWithNew();
    m_navigator.waitForPage(m_session.world.topPageUrl());
    handleLoginPage();
    m_navigator.waitUntilComplete();
}

void StartupSequence::enterWorld()
{
    try {
        if (!m_browsers.current().locationUrl().isEmpty())
            m_navigator.waitForPage(m_session.world.topPageUrl());
        m_navigator.followWorldEntryLinks();
    } catch (const Quitting &) {
        throw;
    } catch (const std::exception &) {
        try {
            m_browsers.replaceWithNew();
            m_navigator.waitForPage(m_session.world.topPageUrl());
        } catch (const Quitting &) {
            throw;
        } catch (const std::exception &) {
            // Nothing more to do here; the next wait of start-up reports it.
        }
    }
}

void StartupSequence::readOwnLordWithRetry()
{
    for (int attempt = 1;; ++attempt) {
        const Document page = m_browsers.current().document();
        try {
            m_session.ownLord = ReadOwnLord(page, m_session.world.worldBaseUrl, m_session.ownLord);
            m_session.allianceId = m_session.ownLord.allianceId;
            return;
        } catch (const ReadFailure &) {
            if (attempt == 2) {
                const QString markup = page.markup();
                const bool userPageShown = TextSearch::containsAsText(markup, QStringLiteral("id=lordName"));
                if (userPageShown && !TextSearch::containsExact(markup, QStringLiteral("\">同盟</A>")))
                    throw StartupFailure(
                        QStringLiteral("同盟に所属していないため、同盟管理ツールを使えません。\r\n"
                                       "同盟に加入してから、もう一度起動してください。"));
                throw StartupFailure(
                    QStringLiteral("ゲームのユーザー画面を読めませんでした。\r\n"
                                   "ブラウザの画面でログインしてから、もう一度起動してください。"));
            }
        }
        m_navigator.waitForPage(QStringLiteral("REFRESH"));
    }
}
