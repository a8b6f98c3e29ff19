#include "alliance/schedule/dailyschedule.h"

#include "common/settingsfile.h"

#include <QDir>
#include <QRegularExpression>
#include <QSettings>

namespace {

const QString kOn = QStringLiteral("daily/on");
const QString kAt = QStringLiteral("daily/at");
const QString kCommands = QStringLiteral("daily/commands");

QString schedulePath(const QString &worldFolder)
{
    return QDir(worldFolder).filePath(QStringLiteral("daily.ini"));
}

QString timeText(const QTime &time)
{
    return time.toString(QStringLiteral("HH:mm"));
}

} // namespace

DailySchedule DailySchedule::read(const QString &worldFolder, const QStringList &runnable)
{
    const QSettings file(schedulePath(worldFolder), QSettings::IniFormat);
    DailySchedule schedule;
    schedule.on = file.value(kOn).toString() == QStringLiteral("true");
    if (const QTime at = QTime::fromString(file.value(kAt).toString(), QStringLiteral("HH:mm")); at.isValid())
        schedule.at = at;
    const auto runnableOnly = [&runnable](QStringList keys) {
        keys.removeDuplicates();
        keys.removeIf([&runnable](const QString &key) { return !runnable.contains(key); });
        return keys;
    };
    const QStringList saved = runnableOnly(file.value(kCommands).toString().split(u',', Qt::SkipEmptyParts));
    schedule.commands = saved.isEmpty() ? runnableOnly(schedule.commands) : saved;
    return schedule;
}

QString DailySchedule::write(const QString &worldFolder) const
{
    QSettings file(schedulePath(worldFolder), QSettings::IniFormat);
    file.setValue(kOn, on ? QStringLiteral("true") : QStringLiteral("false"));
    file.setValue(kAt, timeText(at));
    file.setValue(kCommands, commands.join(u','));
    return SettingsFile::commit(file);
}

ScheduledRun ScheduledRun::of(const QString &program, const WorldConfig &world, const DailySchedule &schedule,
                              const QString &worldFolder)
{
    ScheduledRun run;
    run.name = QStringLiteral("ovekwarden-") + world.folderName();
    run.description = QStringLiteral("ovekwarden 毎日の記録 ") + world.worldLinkKey();
    run.at = schedule.at;
    // Every value of the world on the line: the run reads this world, whatever
    // the settings file names later.
    run.command = {program,
                   QStringLiteral("--run"),
                   schedule.commands.join(u','),
                   QStringLiteral("--headless"),
                   QStringLiteral("--top-url"),
                   world.gameSiteTopUrl,
                   QStringLiteral("--world-url"),
                   world.worldBaseUrl,
                   QStringLiteral("--world"),
                   world.worldNumber,
                   QStringLiteral("--ranking-key"),
                   world.warRankingKey};
    run.logFile = QDir(worldFolder).filePath(QStringLiteral("daily.log"));
    return run;
}

namespace DailyUnits {

QString execArgument(const QString &argument, bool program)
{
    // systemd expands %-specifiers everywhere on the line, and $-variables
    // in the arguments, not in the program's own path.
    QString text = argument;
    text.replace(u'%', QStringLiteral("%%"));
    if (!program)
        text.replace(u'$', QStringLiteral("$$"));
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9/._:,=+@%$-]+$"));
    if (plain.match(text).hasMatch())
        return text;
    text.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + text + u'"';
}

bool refusedAsProgram(const QString &path)
{
    // systemd takes no quote and no control character in a program's path,
    // however it is written.
    for (const QChar c : path) {
        if (c == u'\'' || c == u'"' || c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

QString shellArgument(const QString &argument)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9/._:,=+@-]+$"));
    QString text = plain.match(argument).hasMatch()
                       ? argument
                       : u'\'' + QString(argument).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
    // cron ends the command at an unescaped %, quoted or not.
    return text.replace(u'%', QStringLiteral("\\%"));
}

QString serviceText(const ScheduledRun &run)
{
    QStringList arguments;
    for (qsizetype i = 0; i < run.command.size(); ++i)
        arguments << execArgument(run.command.at(i), i == 0);
    return QStringLiteral("[Unit]\n"
                          "Description=%1\n"
                          "\n"
                          "[Service]\n"
                          "Type=oneshot\n"
                          "ExecStart=%2\n")
        .arg(QString(run.description).replace(u'%', QStringLiteral("%%")), arguments.join(u' '));
}

QString timerText(const ScheduledRun &run)
{
    return QStringLiteral("[Unit]\n"
                          "Description=%1\n"
                          "\n"
                          "[Timer]\n"
                          "OnCalendar=*-*-* %2:00\n"
                          "Persistent=true\n"
                          "\n"
                          "[Install]\n"
                          "WantedBy=timers.target\n")
        .arg(QString(run.description).replace(u'%', QStringLiteral("%%")), timeText(run.at));
}

QString cronLine(const ScheduledRun &run)
{
    QStringList arguments;
    for (const QString &argument : run.command)
        arguments << shellArgument(argument);
    return QStringLiteral("%1 %2 * * * %3 >> %4 2>&1")
        .arg(run.at.minute())
        .arg(run.at.hour())
        .arg(arguments.join(u' '), shellArgument(run.logFile));
}

} // namespace DailyUnits
