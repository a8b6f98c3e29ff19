#pragma once

#include "site/worldconfig.h"

#include <QString>
#include <QStringList>
#include <QTime>

// 「毎日の記録」 of one world: whether the desktop's scheduler runs the
// readings every day, when, and which commands. Kept in the world's folder
// (「daily.ini」), since a schedule belongs to one world.
struct DailySchedule
{
    bool on = false;
    QTime at{5, 30};
    // The points of every member, a day's whole reading (the survey walks
    // roster, report and castles at once), and the briefing made from them;
    // in the order of the command table, which is the order they run in.
    QStringList commands{QStringLiteral("activity"), QStringLiteral("survey"), QStringLiteral("briefing")};

    bool operator==(const DailySchedule &) const = default;

    // The defaults where nothing or nothing sensible was saved; commands
    // not in runnable are dropped.
    static DailySchedule read(const QString &worldFolder, const QStringList &runnable);
    // Empty when written, else why not, for the user.
    QString write(const QString &worldFolder) const;
};

// What the scheduler is given to run: a unit name of the world's own, the
// program with the world's options, and the time.
struct ScheduledRun
{
    QString name;        // "ovekwarden-w003_127.0.0.1_18083": the units' and the log's name
    QString description; // "ovekwarden 毎日の記録 w003"
    QTime at;
    QStringList command; // the program first
    QString logFile;     // where a cron line keeps the run's output

    static ScheduledRun of(const QString &program, const WorldConfig &world, const DailySchedule &schedule,
                           const QString &worldFolder);
};

// The texts a scheduler is set up with. Pure.
namespace DailyUnits {

// The service that runs once, and the timer that starts it every day at
// the time, and at the next start when the machine was off then.
QString serviceText(const ScheduledRun &run);
QString timerText(const ScheduledRun &run);
// "30 5 * * * '/opt/ovekwarden' --run … >> '…/daily.log' 2>&1"
QString cronLine(const ScheduledRun &run);
// One argument as systemd's ExecStart= reads it back; program: the first.
QString execArgument(const QString &argument, bool program = false);
// A path systemd does not take as a program's, however it is written.
bool refusedAsProgram(const QString &path);
// One argument as a cron line's shell reads it back.
QString shellArgument(const QString &argument);

} // namespace DailyUnits
