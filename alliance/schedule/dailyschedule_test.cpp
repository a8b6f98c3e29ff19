// 「毎日の記録」 below the window: the schedule kept with the world, the
// unit files and cron line it is set up with, and what is asked of
// systemctl, against systemd's own check and a stand-in systemctl on PATH.
#include "alliance/schedule/dailyschedule.h"
#include "alliance/schedule/systemduserscheduler.h"
#include "common/datafile.h"
#include "testsupport/common/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QStringList kRunnable{QStringLiteral("roster"), QStringLiteral("survey"), QStringLiteral("activity"),
                            QStringLiteral("briefing")};

WorldConfig demoWorld()
{
    return {QStringLiteral("http://127.0.0.1:18080"), QStringLiteral("http://127.0.0.1:18083"),
            QStringLiteral("3"), QStringLiteral("5")};
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("<none>");
}

// An executable script; its text after the #! line.
void writeScript(const QString &path, const QString &body)
{
    ASSERT_TRUE(DataFile::writeBytes(path, (QStringLiteral("#!/bin/sh\n") + body).toUtf8()));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

TEST(DailyScheduleTest, TheWorldKeepsItsScheduleAndASpoiltFileReadsAsTheDefaults)
{
    QTemporaryDir world;
    EXPECT_EQ(DailySchedule::read(world.path(), kRunnable), DailySchedule{});
    const DailySchedule set{true, QTime(23, 5), {QStringLiteral("roster"), QStringLiteral("activity")}};
    ASSERT_EQ(set.write(world.path()), QString());
    EXPECT_EQ(DailySchedule::read(world.path(), kRunnable), set);
    // A command this build no longer runs is dropped; nothing left is the defaults.
    EXPECT_EQ(DailySchedule::read(world.path(), {QStringLiteral("activity")}).commands,
              QStringList({QStringLiteral("activity")}));
    ASSERT_TRUE(DataFile::writeBytes(world.filePath(QStringLiteral("daily.ini")),
                                     "[daily]\non=yes\nat=25:70\ncommands=nothing,\n"));
    EXPECT_EQ(DailySchedule::read(world.path(), kRunnable), DailySchedule{});
}

TEST(DailyUnitsTest, TheWorldsUnitsPassSystemdsOwnCheckAndEveryArgumentReadsBackWhole)
{
    QTemporaryDir dir;
    // A program folder with a blank, a dollar and a percent sign: each line
    // must give the program exactly its path and arguments.
    const QString folder = dir.filePath(QStringLiteral("My $Games 100%"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/ovekwarden");
    const QString said = dir.filePath(QStringLiteral("said.txt"));
    writeScript(program,
                QStringLiteral("for a in \"$0\" \"$@\"; do printf '%s\\n' \"$a\"; done > '%1'\n").arg(said));
    const DailySchedule schedule{true, QTime(5, 30), {QStringLiteral("survey"), QStringLiteral("activity")}};
    const ScheduledRun run = ScheduledRun::of(program, demoWorld(), schedule, folder);
    EXPECT_EQ(run.name, QStringLiteral("ovekwarden-w003_127.0.0.1_18083"));
    EXPECT_EQ(run.logFile, folder + QStringLiteral("/daily.log"));
    EXPECT_EQ(DailyUnits::timerText(run),
              QStringLiteral("[Unit]\nDescription=ovekwarden 毎日の記録 w003\n\n"
                             "[Timer]\nOnCalendar=*-*-* 05:30:00\nPersistent=true\n\n"
                             "[Install]\nWantedBy=timers.target\n"));
    const QString arguments =
        QStringLiteral(" --run survey,activity --headless --top-url http://127.0.0.1:18080 --world-url "
                       "http://127.0.0.1:18083 --world 3 --ranking-key 5");
    EXPECT_EQ(DailyUnits::serviceText(run),
              QStringLiteral("[Unit]\nDescription=ovekwarden 毎日の記録 w003\n\n[Service]\nType=oneshot\n"
                             "ExecStart=\"%1\"%2\n")
                  .arg(QString(program).replace(u'%', QStringLiteral("%%")), arguments));

    const QString units = dir.filePath(QStringLiteral("units"));
    ASSERT_TRUE(QDir().mkpath(units));
    for (const auto &[suffix, text] : {std::pair{".service", DailyUnits::serviceText(run)},
                                       std::pair{".timer", DailyUnits::timerText(run)}})
        ASSERT_TRUE(DataFile::writeBytes(units + u'/' + run.name + QLatin1String(suffix), text.toUtf8()));
    const QString analyze = QStandardPaths::findExecutable(QStringLiteral("systemd-analyze"));
    ASSERT_FALSE(analyze.isEmpty()) << "systemd-analyze (Debian's systemd) is needed";
    QProcess verify;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The check wants a runtime folder of the user's manager.
    QTemporaryDir runtime;
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    verify.setProcessEnvironment(environment);
    verify.start(analyze, {QStringLiteral("verify"), QStringLiteral("--user"),
                           units + u'/' + run.name + QStringLiteral(".timer"),
                           units + u'/' + run.name + QStringLiteral(".service")});
    ASSERT_TRUE(verify.waitForFinished(30000));
    EXPECT_EQ(verify.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(verify.readAllStandardError()), QString()) << "no key it does not know";

    // The cron line as cron hands it to the shell: its % unescaped.
    const QString line = DailyUnits::cronLine(run);
    EXPECT_TRUE(line.startsWith(QStringLiteral("30 5 * * * '"))) << line.toStdString();
    QString command = line.section(u' ', 5);
    command.replace(QStringLiteral("\\%"), QStringLiteral("%"));
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    ASSERT_TRUE(shell.waitForFinished(10000));
    EXPECT_EQ(shell.exitCode(), 0);
    EXPECT_EQ(readAll(said), (QStringList{program} + arguments.mid(1).split(u' ')).join(u'\n') + u'\n');
    EXPECT_TRUE(QFile::exists(run.logFile)) << "the output is kept";
}

TEST(SystemdUserSchedulerTest, OnChangedTimeAndOffAskSystemctlInTurnAndWithoutItTheSchedulerIsNotThere)
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    const QString calls = dir.filePath(QStringLiteral("calls.txt"));
    // The stand-in answers like a user manager: every call is recorded, and
    // show tells the next run.
    writeScript(
        bin + QStringLiteral("/systemctl"),
        QStringLiteral("echo \"$*\" >> '%1'\n"
                       "case \"$*\" in *\"show ovekwarden\"*) echo 'Wed 2026-12-09 05:30:00 JST';; esac\n"
                       "case \"$*\" in *restart*) echo 'restart refused' >&2; [ -f '%2' ] && exit 1;; esac\n"
                       "exit 0\n")
            .arg(calls, dir.filePath(QStringLiteral("refuse"))));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.toUtf8() + ':' + path);
    const QString units = dir.filePath(QStringLiteral("config/systemd/user"));
    SystemdUserScheduler scheduler(units);
    qputenv("PATH", path);
    ASSERT_TRUE(scheduler.available());

    DailySchedule schedule{true, QTime(5, 30), {QStringLiteral("survey")}};
    ScheduledRun run =
        ScheduledRun::of(QStringLiteral("/opt/ovekwarden/ovekwarden"), demoWorld(), schedule, dir.path());
    ASSERT_EQ(scheduler.turnOn(run), QString());
    EXPECT_EQ(readAll(scheduler.timerPath(run.name)), DailyUnits::timerText(run));
    EXPECT_EQ(readAll(scheduler.servicePath(run.name)), DailyUnits::serviceText(run));
    EXPECT_EQ(scheduler.nextRun(run.name), QStringLiteral("2026/12/09 05:30"));
    run.at = QTime(6, 45);
    ASSERT_EQ(scheduler.turnOn(run), QString());
    EXPECT_TRUE(readAll(scheduler.timerPath(run.name)).contains(QStringLiteral("OnCalendar=*-*-* 06:45:00")));
    // A call that fails is said with what systemctl said.
    ASSERT_TRUE(DataFile::writeBytes(dir.filePath(QStringLiteral("refuse")), "x"));
    EXPECT_TRUE(scheduler.turnOn(run).contains(QStringLiteral("restart refused")));
    ASSERT_EQ(scheduler.turnOff(run.name), QString());
    EXPECT_FALSE(QFile::exists(scheduler.timerPath(run.name)));
    EXPECT_FALSE(QFile::exists(scheduler.servicePath(run.name)));
    EXPECT_EQ(scheduler.turnOff(run.name), QString()) << "nothing to take away";
    // A path systemd would refuse is said before anything is written.
    ScheduledRun quoted = run;
    quoted.command[0] = QStringLiteral("/home/o'brien/ovekwarden");
    EXPECT_TRUE(scheduler.turnOn(quoted).contains(QStringLiteral("引用符")));
    EXPECT_FALSE(QFile::exists(scheduler.timerPath(run.name)));
    const QString timer = QStringLiteral(" ovekwarden-w003_127.0.0.1_18083.timer");
    EXPECT_EQ(readAll(calls).split(u'\n', Qt::SkipEmptyParts),
              QStringList({QStringLiteral("--user show-environment"), QStringLiteral("--user daemon-reload"),
                           QStringLiteral("--user enable --now") + timer,
                           QStringLiteral("--user show") + timer +
                               QStringLiteral(" --property=NextElapseUSecRealtime --value"),
                           QStringLiteral("--user daemon-reload"), QStringLiteral("--user restart") + timer,
                           QStringLiteral("--user daemon-reload"), QStringLiteral("--user restart") + timer,
                           QStringLiteral("--user disable --now") + timer,
                           QStringLiteral("--user daemon-reload")}));

    // No systemctl on PATH: nothing to set up, and nothing is asked.
    qputenv("PATH", dir.filePath(QStringLiteral("empty")).toUtf8());
    SystemdUserScheduler none(units);
    qputenv("PATH", path);
    EXPECT_FALSE(none.available());
    // A manager that does not answer (a container without one).
    writeScript(bin + QStringLiteral("/systemctl"),
                QStringLiteral("echo 'Failed to connect to bus' >&2\nexit 1\n"));
    EXPECT_FALSE(SystemdUserScheduler(units, bin + QStringLiteral("/systemctl")).available());
}
