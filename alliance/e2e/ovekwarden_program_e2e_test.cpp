// The real ovekwarden program on a virtual screen, against demosite on the
// addresses compiled into it, used as a person would: clicks, the window's
// close button, a browser that dies under a walk.
#include "testsupport/alliance/rosteroracle.h"
#include "testsupport/site/demositeprocess.h"
#include "testsupport/x11/x11input.h"
#include "testsupport/x11/xvfbdisplay.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/prctl.h>

namespace {

const QString kToolWindow = QStringLiteral("同盟管理ツール");
// The middle of 「同盟名簿作成」 (Command2 at 128, 8, 97 x 25 pixels).
const QPoint kRosterButton(176, 20);

// Processes whose command line mentions text, with their ids.
QList<qint64> processesMentioning(const QString &text)
{
    QList<qint64> found;
    QDirIterator proc(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (proc.hasNext()) {
        const QString dir = proc.next();
        QFile cmdline(dir + QStringLiteral("/cmdline"));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = cmdline.readAll();
        if (line.contains(text.toUtf8()))
            found.append(QFileInfo(dir).fileName().toLongLong());
    }
    return found;
}

template <typename Condition> bool waitFor(Condition condition, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > timeoutMs)
            return false;
        QThread::msleep(50);
    }
    return true;
}

class OvekwardenProgram : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "ovekwarden_program_e2e_test";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
    }

    void SetUp() override
    {
        ASSERT_TRUE(m_display.isRunning());
        m_site.start(
            QStringList{QStringLiteral("--auto-login"), QStringLiteral("--members"), QStringLiteral("6")} +
            siteOptions());
        m_allianceId =
            QString::number(dump()[QStringLiteral("player")][QStringLiteral("alliance_id")].toInt());
        // A program directory of its own, so the browser profile is ours alone.
        m_program = m_appDir.filePath(QStringLiteral("ovekwarden"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(OVEKWARDEN_PROGRAM), m_program));
        // Where a test lays the roster of an earlier run.
        ASSERT_TRUE(QDir().mkpath(worldDir()));
    }

    // The ports compiled into the program, unless a test names its server.
    virtual QStringList siteOptions() const
    {
        return {QStringLiteral("--top-port"), QStringLiteral(OVEK_DEMO_TOP_PORT),
                QStringLiteral("--world-port"), QStringLiteral(OVEK_DEMO_WORLD_PORT)};
    }
    virtual QStringList programArguments() const { return {}; }

    void TearDown() override
    {
        if (m_ovekwarden.state() != QProcess::NotRunning) {
            m_ovekwarden.terminate();
            m_ovekwarden.waitForFinished(15000);
        }
        m_site.control(QStringLiteral("reset"));
    }

    QJsonObject dump() const
    {
        return QJsonDocument::fromJson(m_site.control(QStringLiteral("dump"))).object();
    }
    QString rosterPath() const
    {
        return worldDir() + QStringLiteral("OVEKMAP_DATA_") + m_allianceId + QStringLiteral(".txt");
    }
    // The files of the world the program walks into, beside the program.
    virtual QString worldDir() const { return m_site.worldFolder(m_appDir.path()); }
    QByteArray rosterBytes() const
    {
        QFile file(rosterPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }

    void startToolWindow(const QString &caption = kToolWindow)
    {
        startProgram(m_ovekwarden, programArguments());
        ASSERT_TRUE(m_display.waitForWindow(caption, 90000)) << "the tool window never opened";
    }
    void startProgram(QProcess &process, const QStringList &arguments) const
    {
        process.setProcessEnvironment(m_display.environment());
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        // SIGTERM when the test dies: the program then takes its browser along.
        process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        process.start(m_program, arguments);
        ASSERT_TRUE(process.waitForStarted(5000));
    }
    // Clicks 「同盟名簿作成」 and waits for the roster the world implies.
    void expectRosterOfTheWorld()
    {
        clickRoster();
        int members = 0;
        const QString expected = RosterOracle::rosterText(dump(), m_allianceId, &members);
        ASSERT_EQ(members, 6);
        const QByteArray expectedBytes = RosterOracle::codePage932Bytes(expected + QStringLiteral("\r\n"));
        EXPECT_TRUE(waitFor([&] { return rosterBytes() == expectedBytes; }, 60000))
            << rosterBytes().toStdString();
    }
    bool hasWindow(const QString &title) const { return X11Input::hasWindow(m_display.name(), title); }
    void clickRoster() { ASSERT_TRUE(X11Input::click(m_display.name(), kToolWindow, kRosterButton)); }
    void shot(const QString &name) const
    {
        QDir().mkpath(QStringLiteral(SHOTS_DIR));
        m_display.screenshot().save(QStringLiteral(SHOTS_DIR "/") + name + QStringLiteral(".png"));
    }

    // Closed with the window's ×: the program must be gone at once, and the
    // browser with it.
    void expectClosedWithin(int ms)
    {
        QElapsedTimer closing;
        closing.start();
        ASSERT_TRUE(X11Input::requestClose(m_display.name(), kToolWindow));
        EXPECT_TRUE(m_ovekwarden.waitForFinished(ms)) << "the program did not end after its window closed";
        EXPECT_LT(closing.elapsed(), ms);
        EXPECT_TRUE(waitFor([&] { return processesMentioning(m_appDir.path()).isEmpty(); }, 3000))
            << "chromedriver or Chromium outlived the program";
    }

    XvfbDisplay m_display{1600, 1000};
    DemoSiteProcess m_site{QStringLiteral(OVEK_DEMOSITE_PROGRAM)};
    QTemporaryDir m_appDir;
    QString m_program;
    QString m_allianceId;
    QProcess m_ovekwarden;
};

TEST_F(OvekwardenProgram, ReachesTheToolWindowAndLeavesNoBrowserBehind)
{
    startToolWindow();
    shot(QStringLiteral("ovekwarden-e2e"));
    EXPECT_FALSE(processesMentioning(m_appDir.path()).isEmpty())
        << "the browser should run while the tool is open";

    // Ended from outside (a logout, a kill from the task list): the browser
    // goes with the program.
    m_ovekwarden.terminate();
    ASSERT_TRUE(m_ovekwarden.waitForFinished(15000));
    EXPECT_TRUE(waitFor([&] { return processesMentioning(m_appDir.path()).isEmpty(); }, 15000))
        << "chromedriver or Chromium outlived the program";
}

TEST_F(OvekwardenProgram, ClosingTheWindowDuringThePauseEndsAtOnceAndKeepsTheRoster)
{
    const QByteArray previous("\"\x8b\x8c\",\"1\",\"1\"\r\n\r\n"); // 旧
    QFile seed(rosterPath());
    ASSERT_TRUE(seed.open(QIODevice::WriteOnly) && seed.write(previous) == previous.size());
    seed.close();
    startToolWindow();
    clickRoster();
    ASSERT_TRUE(waitFor([&] { return hasWindow(QStringLiteral("名簿作成 1/6")); }, 10000));
    expectClosedWithin(2000);
    EXPECT_EQ(rosterBytes(), previous);
}

TEST_F(OvekwardenProgram, ClosingTheWindowWhileAPageHangsEndsAtOnceAndKeepsTheRoster)
{
    const QByteArray previous("\"\x8b\x8c\",\"2\",\"2\"\r\n\r\n");
    QFile seed(rosterPath());
    ASSERT_TRUE(seed.open(QIODevice::WriteOnly) && seed.write(previous) == previous.size());
    seed.close();
    startToolWindow();
    m_site.control(QStringLiteral("hang?path=/user/"));
    clickRoster();
    ASSERT_TRUE(waitFor([&] { return hasWindow(QStringLiteral("名簿作成 1/6")); }, 10000));
    QThread::msleep(2500); // past the pause: the profile page is loading and hangs
    expectClosedWithin(2000);
    m_site.control(QStringLiteral("release?path=/user/"));
    EXPECT_EQ(rosterBytes(), previous);
}

TEST_F(OvekwardenProgram, ClosingTheWindowDuringASurveyEndsAtOnceAndKeepsTheRoster)
{
    const QByteArray previous("\"\x8b\x8c\",\"3\",\"3\"\r\n\r\n");
    QFile seed(rosterPath());
    ASSERT_TRUE(seed.open(QIODevice::WriteOnly) && seed.write(previous) == previous.size());
    seed.close();
    startToolWindow();
    // 「一括調査」 has no button: its shortcut, in Text1.
    ASSERT_TRUE(
        X11Input::pressKeys(m_display.name(), kToolWindow, QPoint(100, 300),
                            {QStringLiteral("Control_L"), QStringLiteral("Shift_L"), QStringLiteral("a")}));
    ASSERT_TRUE(waitFor([&] { return hasWindow(QStringLiteral("一括調査 2/6")); }, 20000));
    expectClosedWithin(2000);
    EXPECT_EQ(rosterBytes(), previous);
}

TEST_F(OvekwardenProgram, ABrowserKilledMidWalkIsToldAndReplacedAndTheNextRosterIsRight)
{
    startToolWindow();
    const QString profile = worldDir() + QStringLiteral("browser-profile");
    clickRoster();
    ASSERT_TRUE(waitFor([&] { return hasWindow(QStringLiteral("名簿作成 3/6")); }, 20000));
    // Chromium dies (its processes carry the profile; chromedriver does not).
    for (const qint64 pid : processesMentioning(QStringLiteral("--user-data-dir=") + profile))
        ::kill(pid_t(pid), SIGKILL);

    ASSERT_TRUE(waitFor([&] { return hasWindow(QStringLiteral("注意")); }, 15000)) << "the user was not told";
    shot(QStringLiteral("ovekwarden-browser-killed"));
    EXPECT_EQ(rosterBytes(), QByteArray("<none>")) << "a stopped walk writes nothing";
    ASSERT_TRUE(X11Input::requestClose(m_display.name(), QStringLiteral("注意")));

    // A new browser on the same profile walks back into the world; then the
    // next roster is complete and right.
    ASSERT_TRUE(waitFor(
        [&] { return !processesMentioning(QStringLiteral("--user-data-dir=") + profile).isEmpty(); }, 30000));
    ASSERT_TRUE(waitFor([&] { return !hasWindow(QStringLiteral("ブラウザを開き直しています")); }, 60000));
    expectRosterOfTheWorld();
    shot(QStringLiteral("ovekwarden-after-reopen"));
}

// A bad world number is refused with a message before any browser starts.
class OvekwardenWithABadOption : public OvekwardenProgram
{
protected:
    QStringList programArguments() const override
    {
        return {QStringLiteral("--world"), QStringLiteral("w12")};
    }
};

TEST_F(OvekwardenWithABadOption, IsRefusedWithAMessageAndStartsNoBrowser)
{
    startToolWindow(QStringLiteral("注意"));
    shot(QStringLiteral("ovekwarden-bad-option"));
    // No browser was started: its profile folder is made before Chromium starts.
    EXPECT_FALSE(QFileInfo::exists(worldDir() + QStringLiteral("browser-profile")));
    EXPECT_TRUE(processesMentioning(worldDir() + QStringLiteral("browser-profile")).isEmpty());
    ASSERT_TRUE(X11Input::requestClose(m_display.name(), QStringLiteral("注意")));
    ASSERT_TRUE(m_ovekwarden.waitForFinished(5000));
    EXPECT_EQ(m_ovekwarden.exitCode(), 2);
}

// Another server and world, given on the command line: no rebuild.
class OvekwardenOnWorld12 : public OvekwardenProgram
{
protected:
    QStringList siteOptions() const override { return {QStringLiteral("--world"), QStringLiteral("12")}; }
    QString worldDir() const override { return m_site.worldFolder(m_appDir.path(), QStringLiteral("12")); }
    QStringList programArguments() const override
    {
        return {QStringLiteral("--top-url"), m_site.topUrl(),           QStringLiteral("--world-url"),
                m_site.worldUrl(),           QStringLiteral("--world"), QStringLiteral("12")};
    }
};

TEST_F(OvekwardenOnWorld12, OptionsLeadIntoThatWorldAndItsOwnAlliance)
{
    startToolWindow(QStringLiteral("同盟管理ツール - w012"));
    shot(QStringLiteral("ovekwarden-world12"));
    expectRosterOfTheWorld();
}

// The same world started a second time, and a second world beside it.
class OvekwardenTwice : public OvekwardenProgram
{
protected:
    void TearDown() override
    {
        if (m_other.state() != QProcess::NotRunning) {
            m_other.terminate();
            m_other.waitForFinished(15000);
        }
        OvekwardenProgram::TearDown();
    }
    // Chromium's own process on the profile (its helpers carry "--type=").
    QList<qint64> browsersOn(const QString &folder) const
    {
        QList<qint64> found;
        for (const qint64 pid : processesMentioning(QStringLiteral("--user-data-dir=") + folder)) {
            QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
            if (cmdline.open(QIODevice::ReadOnly) && !cmdline.readAll().contains("--type="))
                found << pid;
        }
        return found;
    }

    DemoSiteProcess m_site12{QStringLiteral(OVEK_DEMOSITE_PROGRAM)};
    QProcess m_other;
};

TEST_F(OvekwardenTwice, ASecondStartOfTheSameWorldBringsItsWindowToTheFrontAndStartsNoBrowser)
{
    startToolWindow();
    const QString profile = worldDir() + QStringLiteral("browser-profile");
    const QList<qint64> browsers = browsersOn(profile);
    ASSERT_EQ(browsers.size(), 1);
    ASSERT_TRUE(X11Input::lower(m_display.name(), kToolWindow));
    ASSERT_NE(X11Input::topmostTitle(m_display.name()), kToolWindow);

    startProgram(m_other, programArguments());
    ASSERT_TRUE(m_other.waitForFinished(15000)) << "the second start did not end";
    EXPECT_EQ(m_other.exitCode(), 0);
    EXPECT_TRUE(waitFor([&] { return X11Input::topmostTitle(m_display.name()) == kToolWindow; }, 5000))
        << X11Input::topmostTitle(m_display.name()).toStdString();
    shot(QStringLiteral("ovekwarden-second-start"));
    EXPECT_EQ(browsersOn(profile), browsers) << "a second browser was started";
    EXPECT_FALSE(hasWindow(QStringLiteral("注意"))) << "nothing to tell: the window is simply there";
    // The first goes on as before.
    expectRosterOfTheWorld();
}

TEST_F(OvekwardenTwice, TwoWorldsRunARosterWalkEachAtTheSameTime)
{
    m_site12.start({QStringLiteral("--auto-login"), QStringLiteral("--world"), QStringLiteral("12"),
                    QStringLiteral("--members"), QStringLiteral("4")});
    const QString caption12 = QStringLiteral("同盟管理ツール - w012");
    startToolWindow();
    startProgram(m_other, {QStringLiteral("--top-url"), m_site12.topUrl(), QStringLiteral("--world-url"),
                           m_site12.worldUrl(), QStringLiteral("--world"), QStringLiteral("12")});
    ASSERT_TRUE(m_display.waitForWindow(caption12, 90000)) << "the second world's window never opened";
    shot(QStringLiteral("ovekwarden-two-worlds"));

    const QString roster12 = m_site12.worldFolder(m_appDir.path(), QStringLiteral("12")) +
                             QStringLiteral("OVEKMAP_DATA_") + m_allianceId + QStringLiteral(".txt");
    const QByteArray expected12 = RosterOracle::codePage932Bytes(
        RosterOracle::rosterText(QJsonDocument::fromJson(m_site12.control(QStringLiteral("dump"))).object(),
                                 m_allianceId) +
        QStringLiteral("\r\n"));
    clickRoster();
    ASSERT_TRUE(X11Input::click(m_display.name(), caption12, kRosterButton));
    const auto bytesOf = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    };
    EXPECT_TRUE(waitFor([&] { return bytesOf(roster12) == expected12; }, 60000))
        << bytesOf(roster12).toStdString();
    int members = 0;
    const QByteArray expected3 = RosterOracle::codePage932Bytes(
        RosterOracle::rosterText(dump(), m_allianceId, &members) + QStringLiteral("\r\n"));
    EXPECT_TRUE(waitFor([&] { return rosterBytes() == expected3; }, 60000)) << rosterBytes().toStdString();
    EXPECT_EQ(members, 6);
    EXPECT_NE(expected3, expected12);
}

TEST_F(OvekwardenTwice, WithTwoWorldsKnownTheStartUpWindowAsksAndStartsTheOneChosen)
{
    m_site12.start({QStringLiteral("--auto-login"), QStringLiteral("--world"), QStringLiteral("12"),
                    QStringLiteral("--members"), QStringLiteral("4")});
    // World 12 was used last; the built-in world is the saved one.
    QFile settings(m_appDir.filePath(QStringLiteral("ovekwarden.ini")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write(
        QStringLiteral("[worlds]\n1\\top-url=%1\n1\\world-url=%2\n1\\world=12\n1\\ranking-key=5\nsize=1\n")
            .arg(m_site12.topUrl(), m_site12.worldUrl())
            .toUtf8());
    settings.close();

    startProgram(m_ovekwarden, {});
    ASSERT_TRUE(m_display.waitForWindow(QStringLiteral("OVEK Warden"), 20000));
    QThread::msleep(500);
    shot(QStringLiteral("ovekwarden-world-question"));
    EXPECT_TRUE(processesMentioning(QStringLiteral("--user-data-dir=") + m_appDir.path()).isEmpty())
        << "no browser before the answer";
    // The last one used has the focus: the space key takes it.
    ASSERT_TRUE(X11Input::pressKeys(m_display.name(), QStringLiteral("OVEK Warden"), QPoint(4, 4),
                                    {QStringLiteral("space")}));
    ASSERT_TRUE(m_display.waitForWindow(QStringLiteral("同盟管理ツール - w012"), 90000));
    EXPECT_TRUE(processesMentioning(worldDir()).isEmpty()) << "world 3's browser was started";
    EXPECT_FALSE(processesMentioning(m_site12.worldFolder(m_appDir.path(), QStringLiteral("12")) +
                                     QStringLiteral("browser-profile"))
                     .isEmpty());
}

} // namespace
