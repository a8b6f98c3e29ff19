// The real ovekwarden program on a virtual screen, against demosite on the
// addresses compiled into it.
#include "testsupport/x11/xvfbdisplay.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Processes whose command line mentions text (our own profile directory).
int processesMentioning(const QString &text)
{
    int count = 0;
    QDirIterator proc(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (proc.hasNext()) {
        QFile cmdline(proc.next() + QStringLiteral("/cmdline"));
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(text.toUtf8()))
            ++count;
    }
    return count;
}

TEST(OvekwardenProgram, ReachesTheToolWindowAndLeavesNoBrowserBehind)
{
    static int argc = 1;
    static char name[] = "ovekwarden_program_e2e_test";
    static char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    XvfbDisplay display(1600, 1000);
    ASSERT_TRUE(display.isRunning());

    QProcess site;
    site.start(QStringLiteral(OVEK_DEMOSITE_PROGRAM),
               {QStringLiteral("--auto-login"), QStringLiteral("--top-port"),
                QStringLiteral(OVEK_DEMO_TOP_PORT), QStringLiteral("--world-port"),
                QStringLiteral(OVEK_DEMO_WORLD_PORT)});
    ASSERT_TRUE(site.waitForReadyRead(15000)) << "demosite did not start (are its ports free?)";
    ASSERT_TRUE(site.readAllStandardOutput().contains("demosite ready"));

    // A program directory of its own, so the browser profile is ours alone.
    QTemporaryDir appDir;
    const QString program = appDir.filePath(QStringLiteral("ovekwarden"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(OVEKWARDEN_PROGRAM), program));

    QProcess ovekwarden;
    ovekwarden.setProcessEnvironment(display.environment());
    ovekwarden.setProcessChannelMode(QProcess::ForwardedChannels);
    ovekwarden.start(program, {});
    ASSERT_TRUE(ovekwarden.waitForStarted(5000));
    const bool reached = display.waitForWindow(QStringLiteral("同盟管理ツール"), 90000);
    const QImage shot = display.screenshot();
    QDir().mkpath(QStringLiteral(SHOTS_DIR));
    shot.save(QStringLiteral(SHOTS_DIR "/ovekwarden-e2e.png"));
    EXPECT_TRUE(reached) << "the tool window never opened";
    EXPECT_GT(processesMentioning(appDir.path()), 0) << "the browser should run while the tool is open";

    // Ended from outside (a logout, a kill from the task list): the browser
    // goes with the program.
    ovekwarden.terminate();
    ASSERT_TRUE(ovekwarden.waitForFinished(15000));
    QElapsedTimer waited;
    waited.start();
    while (processesMentioning(appDir.path()) > 0 && waited.elapsed() < 15000)
        QThread::msleep(200);
    EXPECT_EQ(processesMentioning(appDir.path()), 0) << "chromedriver or Chromium outlived the program";

    site.kill();
    site.waitForFinished(3000);
}

} // namespace
