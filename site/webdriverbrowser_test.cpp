// End to end: demosite, chromedriver and a headless Chromium.
#include "common/clock.h"
#include "common/pump.h"
#include "site/browserslot.h"
#include "site/chromedriverprocess.h"
#include "site/navigator.h"
#include "site/webdriverbrowser.h"
#include "site/webdriverclient.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/site/browserprocesses.h"
#include "testsupport/site/demositeprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

WebDriverOptions testOptions(const QString &profileDir)
{
    WebDriverOptions options;
    options.profileDir = profileDir;
    options.headless = true;
    options.noSandbox = true; // the tests run as root in CI
    return options;
}

// A program that ends abruptly must not leave its browser behind. The test
// runs this binary again as a child that opens a browser and then dies.
constexpr char childModeVariable[] = "OVEK_ORPHAN_CHILD_MODE";
constexpr char childProfileVariable[] = "OVEK_ORPHAN_CHILD_PROFILE";

// Runs before main: the child never reaches the test runner.
bool runAsDyingChildWhenAsked()
{
    const QByteArray mode = qgetenv(childModeVariable);
    if (mode.isEmpty())
        return false;
    int argc = 1;
    char name[] = "webdriverbrowser_test";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    WebDriverBrowser browser(testOptions(QString::fromUtf8(qgetenv(childProfileVariable))));
    std::fputs("child browser ready\n", stdout);
    std::fflush(stdout);
    if (mode == "exception")
        std::terminate(); // as an exception nobody catches ends the program
    for (;;)
        ::pause(); // until the parent's signal
}
const bool ranAsChild = runAsDyingChildWhenAsked();

class QtApplication : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "webdriverbrowser_test";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            m_app = std::make_unique<QCoreApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QCoreApplication> m_app;
};
const auto *const qtApplication = ::testing::AddGlobalTestEnvironment(new QtApplication);

// Processes this test program started that are still running.
QList<qint64> runningChildren()
{
    QList<qint64> found;
    const QString self = QString::number(QCoreApplication::applicationPid());
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        QFile stat(QStringLiteral("/proc/") + entry + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields.at(0) != "Z" && QString::fromLatin1(fields.at(1)) == self)
            found.append(entry.toLongLong());
    }
    return found;
}

// Once the program has been told to close, Qt refuses nested event loops
// until its main loop has run; a test that closes puts both back for the
// tests after it.
void reopenAfterClosing()
{
    AppQuit::reset();
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

class WebDriverBrowserTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_site = new DemoSiteProcess(QStringLiteral(OVEK_DEMOSITE_PROGRAM));
        s_site->start({QStringLiteral("--auto-login")});
    }
    static void TearDownTestSuite()
    {
        delete s_site;
        s_site = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(m_profile.isValid());
        s_site->control(QStringLiteral("reset"));
        m_slot.replaceWithNew();
    }

    // Also after a failed test: nothing of this test's browser may be left.
    void TearDown() override
    {
        m_slot.quit();
        EXPECT_TRUE(runningProcessesMentioning(m_profile.path()).isEmpty());
    }

    WorldConfig world() const
    {
        WorldConfig config;
        config.gameSiteTopUrl = s_site->topUrl();
        config.worldBaseUrl = s_site->worldUrl();
        config.worldNumber = QStringLiteral("3");
        config.warRankingKey = QStringLiteral("5");
        return config;
    }

    WebDriverBrowser &browser() { return static_cast<WebDriverBrowser &>(m_slot.current()); }

    void enterWorld()
    {
        // demosite --auto-login logs in on the login entry and returns to the top page.
        m_navigator.waitForPage(world().loginEntryUrl());
        m_navigator.followWorldEntryLinks();
        ASSERT_TRUE(browser().locationUrl().startsWith(s_site->worldUrl()))
            << browser().locationUrl().toStdString();
    }

    QString inboxPage(int page) const
    {
        return s_site->worldUrl() + QStringLiteral("/message/inbox.php?p=") + QString::number(page);
    }

    static DemoSiteProcess *s_site;
    QTemporaryDir m_profile;
    BrowserSlot m_slot{[this] { return std::make_unique<WebDriverBrowser>(testOptions(m_profile.path())); }};
    SystemClock m_clock;
    EventLoopPump m_pump;
    Navigator m_navigator{m_slot, world(), m_clock, m_pump};
};
DemoSiteProcess *WebDriverBrowserTest::s_site = nullptr;

TEST_F(WebDriverBrowserTest, DelayedPageGivesItsOwnDocumentNeverThePreviousOne)
{
    enterWorld();
    m_navigator.waitForPage(inboxPage(1));
    const QString previousMarkup = browser().document().markup();
    s_site->control(QStringLiteral("delay?path=/message/inbox.php&ms=3000"));

    QElapsedTimer elapsed;
    elapsed.start();
    browser().navigate(inboxPage(2));
    // The inbox page 1 is still shown and complete, but it is not the new page.
    EXPECT_TRUE(browser().busy());
    EXPECT_NE(browser().readyState(), Browser::Complete);
    EXPECT_THROW(browser().document(), BrowserError);
    m_navigator.waitUntilComplete();

    EXPECT_GE(elapsed.elapsed(), 2900);
    const Document page = browser().document();
    EXPECT_EQ(page.address(), inboxPage(2));
    EXPECT_NE(page.markup(), previousMarkup);
}

TEST_F(WebDriverBrowserTest, HistoryCommandsAndRefreshGiveTheRightDocuments)
{
    enterWorld();
    m_navigator.waitForPage(inboxPage(1));
    m_navigator.waitForPage(inboxPage(2));
    const QString secondMarkup = browser().document().markup();

    m_navigator.waitForPage(QStringLiteral("BACK"));
    EXPECT_EQ(browser().document().address(), inboxPage(1));

    // A slow reload: the page answers only after the wait has really waited.
    s_site->control(QStringLiteral("delay?path=/message/inbox.php&ms=1500"));
    QElapsedTimer elapsed;
    elapsed.start();
    m_navigator.waitForPage(QStringLiteral("REFRESH"));
    EXPECT_GE(elapsed.elapsed(), 1400);
    EXPECT_EQ(browser().document().address(), inboxPage(1));

    m_navigator.waitForPage(QStringLiteral("GO"));
    EXPECT_EQ(browser().document().address(), inboxPage(2));
    EXPECT_EQ(browser().document().markup(), secondMarkup);
}

TEST_F(WebDriverBrowserTest, ReloadDuringAHangAsksForTheHungPageNotThePreviousOne)
{
    enterWorld();
    m_navigator.waitForPage(inboxPage(1));
    s_site->control(QStringLiteral("hang?path=/message/inbox.php"));
    browser().navigate(inboxPage(2));
    EXPECT_TRUE(browser().busy());

    // What the deadline of a wait does to a page that hangs.
    browser().refresh();
    EXPECT_TRUE(browser().busy());
    s_site->control(QStringLiteral("release?path=/message/inbox.php"));
    m_navigator.waitUntilComplete();

    EXPECT_EQ(browser().document().address(), inboxPage(2));
}

TEST_F(WebDriverBrowserTest, ExpiredSessionIsRecoveredAndTheRequestedPageRead)
{
    enterWorld();
    s_site->control(QStringLiteral("expire-session"));

    m_navigator.waitForPage(inboxPage(2));

    EXPECT_EQ(browser().locationUrl(), inboxPage(2));
    const Document page = browser().document();
    EXPECT_EQ(page.address(), inboxPage(2));
    EXPECT_NE(browser().locationUrl(), world().sessionOutUrl());
}

TEST_F(WebDriverBrowserTest, KilledBrowserRaisesBrowserGone)
{
    enterWorld();
    const qint64 chromium = chromiumMainProcess(m_profile.path());
    ASSERT_NE(chromium, 0);
    ::kill(static_cast<pid_t>(chromium), SIGKILL);

    QElapsedTimer waited;
    waited.start();
    // chromedriver notices the lost browser at its next command.
    EXPECT_THROW(
        {
            for (int attempt = 0; attempt < 50; ++attempt) {
                browser().navigate(inboxPage(1));
                m_navigator.waitUntilComplete();
            }
        },
        BrowserGone);
    EXPECT_LT(waited.elapsed(), 30000);
}

TEST_F(WebDriverBrowserTest, QuitLeavesNoProcessAndLaterCallsRaiseBrowserGone)
{
    enterWorld();
    const qint64 driver = browser().driverProcessId();
    ASSERT_TRUE(processRunning(driver));
    ASSERT_FALSE(runningProcessesMentioning(m_profile.path()).isEmpty());

    browser().quit();

    EXPECT_FALSE(processRunning(driver));
    EXPECT_TRUE(runningProcessesMentioning(m_profile.path()).isEmpty());
    EXPECT_THROW(browser().busy(), BrowserGone);
    browser().quit(); // twice is harmless
}

TEST_F(WebDriverBrowserTest, SecondBrowserOnTheSameProfileIsToldInPlainWords)
{
    m_navigator.waitForPage(world().topPageUrl());
    try {
        WebDriverBrowser second(testOptions(m_profile.path()));
        FAIL() << "a second browser started on a profile in use";
    } catch (const BrowserGone &) {
        FAIL() << "a profile in use is not a closed browser";
    } catch (const BrowserError &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("使用中"))) << error.message().toStdString();
    }
    // The first browser is unharmed.
    m_navigator.waitForPage(world().topPageUrl());
    EXPECT_EQ(browser().locationUrl(), world().topPageUrl());
}

TEST(WebDriverProfileTest, AProfileOpenInABrowserStartedByHandIsToldWithThatProcessAndLeftAlone)
{
    QTemporaryDir profile;
    QProcess byHand;
    byHand.setProgram(QStringLiteral("/usr/bin/chromium"));
    byHand.setArguments({QStringLiteral("--headless=new"), QStringLiteral("--no-sandbox"),
                         QStringLiteral("--no-first-run"), QStringLiteral("--disable-background-networking"),
                         QStringLiteral("--user-data-dir=") + profile.path(), QStringLiteral("about:blank")});
    byHand.setStandardErrorFile(QProcess::nullDevice());
    byHand.start();
    ASSERT_TRUE(byHand.waitForStarted(5000));
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo(profile.filePath(QStringLiteral("SingletonLock"))).isSymLink() &&
           waited.elapsed() < 20000)
        QThread::msleep(50);
    try {
        WebDriverBrowser second(testOptions(profile.path()));
        FAIL() << "a browser started on a profile in use";
    } catch (const ProfileInUse &inUse) {
        EXPECT_TRUE(inUse.message().contains(
            QStringLiteral("（プロセス番号 %1）が使っています").arg(byHand.processId())))
            << inUse.message().toStdString();
    }
    EXPECT_EQ(byHand.state(), QProcess::Running) << "a browser this program did not start is not ended";
    byHand.kill();
    byHand.waitForFinished();
}

TEST_F(WebDriverBrowserTest, FieldValueIsWrittenAsDataNotScript)
{
    enterWorld();
    m_navigator.waitForPage(s_site->worldUrl() + QStringLiteral("/message/new.php"));
    // Quotes and a closing script tag would break out of built script text.
    EXPECT_NO_THROW(browser().setFieldValue(QStringLiteral("SUBJECT"), QStringLiteral("a'b\"c</script>\\n")));
    EXPECT_THROW(browser().setFieldValue(QStringLiteral("no-such-field"), QStringLiteral("x")), BrowserError);
}

class ClosingProgramTest : public WebDriverBrowserTest
{
protected:
    void TearDown() override
    {
        // The browser is quit while the program is still closing.
        WebDriverBrowserTest::TearDown();
        reopenAfterClosing();
        s_site->control(QStringLiteral("reset"));
    }
};

TEST_F(ClosingProgramTest, WaitOnAHungPageEndsAtOnceAndTheSessionIsStillClosed)
{
    enterWorld();
    const QString profileDir = m_profile.path();
    s_site->control(QStringLiteral("hang?path=/message/inbox.php"));
    QTimer::singleShot(300, [] { AppQuit::request(); });
    QElapsedTimer elapsed;
    elapsed.start();

    EXPECT_THROW(m_navigator.waitForPage(inboxPage(1)), Quitting);
    EXPECT_LT(elapsed.elapsed(), 1500);
    // Nothing more is asked of the browser; each call ends at once.
    elapsed.start();
    EXPECT_THROW(browser().locationUrl(), Quitting);
    EXPECT_THROW(browser().document(), Quitting);
    EXPECT_LT(elapsed.elapsed(), 100);

    // Quit still closes the session: Chromium shuts down in order and marks
    // its profile as closed normally, rather than being ended from outside.
    const qint64 driver = browser().driverProcessId();
    browser().quit();
    EXPECT_FALSE(processRunning(driver));
    QFile preferences(profileDir + QStringLiteral("/Default/Preferences"));
    ASSERT_TRUE(preferences.open(QIODevice::ReadOnly));
    EXPECT_TRUE(preferences.readAll().contains("\"exit_type\":\"Normal\""));
}

TEST(ChromedriverClosingTest, StartEndsAtOnceAndRequestsToFinishStillComplete)
{
    // Closing while chromedriver starts (here one that never gets ready):
    // the start ends at once, and nothing of the half-started driver is left.
    {
        QTemporaryDir dir;
        const QString neverReady = dir.filePath(QStringLiteral("chromedriver"));
        QFile script(neverReady);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nexec sleep 60\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ChromedriverProcess starting;
        QTimer::singleShot(300, [] { AppQuit::request(); });
        QElapsedTimer elapsed;
        elapsed.start();
        EXPECT_THROW(starting.start(neverReady), Quitting);
        EXPECT_LT(elapsed.elapsed(), 1500);
        EXPECT_TRUE(runningChildren().isEmpty());
    }
    reopenAfterClosing();

    ChromedriverProcess driver;
    driver.start(QStringLiteral("/usr/bin/chromedriver"));
    WebDriverClient client(driver.port());
    AppQuit::request();
    // What must still be done (closing the session) is done...
    const QJsonValue status =
        client.get(QStringLiteral("/status"), 2000, WebDriverClient::WhileClosing::Finish);
    EXPECT_TRUE(status.toObject().value(QStringLiteral("ready")).toBool());
    // ...and nothing else is started.
    EXPECT_THROW(client.get(QStringLiteral("/status"), 2000), Quitting);
    driver.stop();
    reopenAfterClosing();
}

class OrphanGuardTest : public ::testing::TestWithParam<const char *>
{
};

TEST_P(OrphanGuardTest, ProgramEndingAbruptlyLeavesNoBrowser)
{
    QTemporaryDir profile;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(childModeVariable), QString::fromLatin1(GetParam()));
    environment.insert(QString::fromLatin1(childProfileVariable), profile.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=-*")});
    ASSERT_TRUE(child.waitForStarted(5000));
    QByteArray output;
    QElapsedTimer waited;
    waited.start();
    while (!output.contains("child browser ready") && waited.elapsed() < 30000 &&
           child.state() == QProcess::Running) {
        child.waitForReadyRead(200);
        output += child.readAllStandardOutput();
    }
    ASSERT_TRUE(output.contains("child browser ready")) << output.toStdString();
    // Killed outright or crashed, the program runs no code of its own.
    const QHash<QByteArray, int> endings{
        {"sigterm", SIGTERM}, {"sigint", SIGINT}, {"sigkill", SIGKILL}, {"sigsegv", SIGSEGV}};
    if (endings.contains(GetParam())) {
        ASSERT_FALSE(runningProcessesMentioning(profile.path()).isEmpty());
        ::kill(static_cast<pid_t>(child.processId()), endings.value(GetParam()));
    }
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_NE(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, true);

    QElapsedTimer settle;
    settle.start();
    while (!runningProcessesMentioning(profile.path()).isEmpty() && settle.elapsed() < 5000)
        QThread::msleep(100);
    EXPECT_TRUE(runningProcessesMentioning(profile.path()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Endings, OrphanGuardTest,
                         ::testing::Values("exception", "sigterm", "sigint", "sigkill", "sigsegv"));

} // namespace
