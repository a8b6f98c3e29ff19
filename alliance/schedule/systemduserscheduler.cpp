#include "alliance/schedule/systemduserscheduler.h"

#include "common/datafile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

// systemctl answers in milliseconds; one that hangs (a manager being
// restarted) must not keep the dialog waiting long.
constexpr int kAnswerWithinMs = 15000;

} // namespace

SystemdUserScheduler::SystemdUserScheduler(QString unitFolder, QString systemctl)
    : m_unitFolder(std::move(unitFolder)),
      m_systemctl(systemctl.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("systemctl"))
                                      : std::move(systemctl))
{
}

QString SystemdUserScheduler::defaultUnitFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/systemd/user");
}

QString SystemdUserScheduler::servicePath(const QString &name) const
{
    return QDir(m_unitFolder).filePath(name + QStringLiteral(".service"));
}

QString SystemdUserScheduler::timerPath(const QString &name) const
{
    return QDir(m_unitFolder).filePath(name + QStringLiteral(".timer"));
}

SystemdUserScheduler::Answer SystemdUserScheduler::systemctl(const QStringList &arguments) const
{
    QProcess process;
    process.start(m_systemctl, QStringList{QStringLiteral("--user")} + arguments);
    const QString command = QStringLiteral("systemctl --user ") + arguments.join(u' ');
    if (!process.waitForStarted(kAnswerWithinMs))
        return {false, {}, QStringLiteral("%1 を実行できませんでした。").arg(command)};
    if (!process.waitForFinished(kAnswerWithinMs)) {
        process.kill();
        process.waitForFinished();
        return {false, {}, QStringLiteral("%1 が応答しませんでした。").arg(command)};
    }
    const QString output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString said = QString::fromUtf8(process.readAllStandardError()).trimmed();
        return {false, output, QStringLiteral("%1 が失敗しました。%2").arg(command, said)};
    }
    return {true, output, {}};
}

bool SystemdUserScheduler::available()
{
    // A user manager that answers lists its environment; without one (no
    // systemd, a container, a session without it) the call fails.
    return !m_systemctl.isEmpty() && systemctl({QStringLiteral("show-environment")}).ok;
}

QString SystemdUserScheduler::turnOn(const ScheduledRun &run)
{
    if (DailyUnits::refusedAsProgram(run.command.value(0)))
        return QStringLiteral("プログラムのパス %1 には引用符が含まれているため、systemd に登録できません。"
                              "引用符のないフォルダに置いてください。")
            .arg(QDir::toNativeSeparators(run.command.value(0)));
    if (!QDir().mkpath(m_unitFolder))
        return QStringLiteral("フォルダ %1 を作れませんでした。").arg(QDir::toNativeSeparators(m_unitFolder));
    // A timer already there only has its time or commands changed: it is
    // started again so the new time counts from now.
    const bool changing = QFile::exists(timerPath(run.name));
    for (const auto &[path, text] : {std::pair{servicePath(run.name), DailyUnits::serviceText(run)},
                                     std::pair{timerPath(run.name), DailyUnits::timerText(run)}}) {
        if (const DataFile::Result written = DataFile::writeBytes(path, text.toUtf8()); !written)
            return written.error;
    }
    const QString timer = run.name + QStringLiteral(".timer");
    const QList<QStringList> steps =
        changing ? QList<QStringList>{{QStringLiteral("daemon-reload")}, {QStringLiteral("restart"), timer}}
                 : QList<QStringList>{{QStringLiteral("daemon-reload")},
                                      {QStringLiteral("enable"), QStringLiteral("--now"), timer}};
    for (const QStringList &step : steps) {
        if (const Answer answer = systemctl(step); !answer.ok)
            return answer.reason;
    }
    return {};
}

QString SystemdUserScheduler::turnOff(const QString &name)
{
    if (!QFile::exists(timerPath(name)) && !QFile::exists(servicePath(name)))
        return {};
    // Disabled first, so no run starts from a file about to go.
    const Answer disabled =
        systemctl({QStringLiteral("disable"), QStringLiteral("--now"), name + QStringLiteral(".timer")});
    if (!disabled.ok)
        return disabled.reason;
    for (const QString &path : {timerPath(name), servicePath(name)}) {
        if (QFile::exists(path) && !QFile::remove(path))
            return QStringLiteral("ファイル %1 を削除できませんでした。").arg(QDir::toNativeSeparators(path));
    }
    const Answer reloaded = systemctl({QStringLiteral("daemon-reload")});
    return reloaded.ok ? QString() : reloaded.reason;
}

QString SystemdUserScheduler::nextRun(const QString &name)
{
    const Answer answer =
        systemctl({QStringLiteral("show"), name + QStringLiteral(".timer"),
                   QStringLiteral("--property=NextElapseUSecRealtime"), QStringLiteral("--value")});
    // "Wed 2026-12-09 05:30:00 JST": the date and time are what the user reads.
    static const QRegularExpression moment(QStringLiteral("(\\d{4})-(\\d{2})-(\\d{2}) (\\d{2}:\\d{2})"));
    const QRegularExpressionMatch match = moment.match(answer.output);
    if (!answer.ok || !match.hasMatch())
        return {};
    return QStringLiteral("%1/%2/%3 %4")
        .arg(match.captured(1), match.captured(2), match.captured(3), match.captured(4));
}
