#include "alliance/unattendedrun.h"

#include "alliance/consoleport.h"
#include "common/clock.h"
#include "common/datafile.h"
#include "site/session.h"
#include "site/startup.h"

UnattendedRun::UnattendedRun(const CommandEnvironment &environment, ConsolePort &port)
    : m_environment(environment), m_port(port), m_runner(port, m_guard)
{
}

QString UnattendedRun::textFileName(const QString &key, const QString &allianceId, const QDate &day)
{
    // Dated, so the readings of every day are kept side by side.
    return QStringLiteral("%1_%2_%3.txt").arg(key, allianceId, day.toString(QStringLiteral("yyyyMMdd")));
}

int UnattendedRun::run(const QStringList &keys, const CommandInputs &inputs)
{
    int code = ExitCode::kDone;
    for (const QString &key : keys) {
        const CommandSpec *command = CommandTable::find(key);
        if (!command)
            return ExitCode::kBadOptions;
        m_port.setOutputText(QString());
        CommandResult result;
        const BrowserSteps::Outcome outcome = m_runner.run(*command, m_environment, inputs, result);
        if (outcome == BrowserSteps::Outcome::Stopped && m_runner.loginLost()) {
            m_port.printLine(key + QStringLiteral(": stopped"));
            m_port.printError(SavedLoginGone().message());
            return ExitCode::kLoginGone;
        }
        const QString line = outcome == BrowserSteps::Outcome::Done ? finish(*command, result) : QString();
        if (line.isEmpty()) {
            m_port.printLine(key + QStringLiteral(": stopped"));
            code = ExitCode::kStopped;
            continue;
        }
        m_port.printLine(key + QStringLiteral(": ") + line);
    }
    return code;
}

int UnattendedRun::checkPages(const CommandInputs &inputs)
{
    m_port.setOutputText(QString());
    CommandResult result;
    const BrowserSteps::Outcome outcome =
        m_runner.run(*CommandTable::find(QStringLiteral("check-pages")), m_environment, inputs, result);
    if (outcome == BrowserSteps::Outcome::Stopped && m_runner.loginLost()) {
        m_port.printError(SavedLoginGone().message());
        return ExitCode::kLoginGone;
    }
    if (outcome != BrowserSteps::Outcome::Done)
        return ExitCode::kStopped;
    m_port.printLine(m_port.outputText());
    return result.unreadPages == 0 ? ExitCode::kDone : ExitCode::kStopped;
}

QString UnattendedRun::finish(const CommandSpec &command, const CommandResult &result)
{
    QStringList files;
    if (command.output != CommandSpec::Output::Text) {
        // A command that wrote no file of its own said why on standard error.
        if (result.savedFile.isEmpty())
            return QString();
        files << result.savedFile;
    }
    if (command.output != CommandSpec::Output::OwnFile) {
        // A command that ended on a message without its text (an alliance
        // id of no alliance) has nothing to save.
        const QString text = m_port.outputText();
        if (text.isEmpty())
            return QString();
        const QString allianceId = result.reportedAllianceId.isEmpty() ? m_environment.session.allianceId
                                                                       : result.reportedAllianceId;
        const QString file = textFileName(command.key, allianceId, m_environment.clock.now().date());
        const DataFile::Result written = DataFile::writeText(m_environment.session.appDir + file, text);
        if (!written) {
            m_port.printError(
                QStringLiteral("%1の結果を保存できませんでした。%2").arg(command.label, written.error));
            return QString();
        }
        files << file;
    }
    const QString list = files.join(QStringLiteral(", "));
    if (result.memberCount < 0)
        return list;
    return QStringLiteral("%1 members, %2").arg(result.memberCount).arg(list);
}
