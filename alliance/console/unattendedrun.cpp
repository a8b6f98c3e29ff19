#include "alliance/console/unattendedrun.h"

#include "alliance/console/consoleport.h"
#include "common/clock.h"
#include "common/datafile.h"
#include "site/session.h"
#include "site/startup.h"

UnattendedRun::UnattendedRun(const CommandEnvironment &environment, ConsolePort &port,
                             CommandRunner::BrowserReopener reopen)
    : m_environment(environment), m_port(port), m_runner(port, m_guard, std::move(reopen))
{
    m_runner.setReopenPromise(QStringLiteral("新しいブラウザを開いて、保存されたログインでゲームに入り直し、"
                                             "次のコマンドに進みます。"));
}

QString UnattendedRun::textFileName(const QString &key, const QString &allianceId, const QDate &day)
{
    // Dated, so the readings of every day are kept side by side.
    return QStringLiteral("%1_%2_%3.txt").arg(key, allianceId, day.toString(QStringLiteral("yyyyMMdd")));
}

ExitCode UnattendedRun::run(const QStringList &keys, const CommandInputs &inputs)
{
    ExitCode code = ExitCode::Done;
    for (const QString &key : keys) {
        const CommandEntry *command = CommandTable::find(key);
        if (!command || command->runs != CommandEntry::Runs::AlsoWithoutWindow)
            return ExitCode::BadOptions;
        // A printed text is the run's whole output (the page check's table):
        // no line of its own.
        const bool printed = command->output == CommandEntry::Output::PrintedText;
        m_port.setOutputText(QString());
        CommandResult result;
        const BrowserSteps::Outcome outcome = m_runner.run(*command, m_environment, inputs, result);
        if (outcome == BrowserSteps::Outcome::Stopped && m_runner.loginLost()) {
            if (!printed)
                printResult(key + QStringLiteral(": stopped"));
            m_port.printError(SavedLoginGone().message());
            return ExitCode::LoginGone;
        }
        if (printed) {
            if (outcome == BrowserSteps::Outcome::Done)
                m_port.printLine(m_port.outputText());
            // A page it could not read makes the run's end a stop.
            if (outcome != BrowserSteps::Outcome::Done || result.unreadPages > 0)
                code = ExitCode::Stopped;
            continue;
        }
        const Finished finished =
            outcome == BrowserSteps::Outcome::Done ? finish(*command, result) : Finished{};
        if (finished.line.isEmpty()) {
            printResult(key + QStringLiteral(": stopped"));
            code = ExitCode::Stopped;
            continue;
        }
        if (m_memberCount < 0)
            m_memberCount = result.memberCount;
        printResult(key + QStringLiteral(": ") + finished.line);
        // A file that could not be saved counts as a stop: the day's reading is not whole.
        if (!finished.whole)
            code = ExitCode::Stopped;
    }
    return code;
}

void UnattendedRun::printResult(const QString &line)
{
    m_port.printLine(line);
    m_results << line;
}

UnattendedRun::Finished UnattendedRun::finish(const CommandEntry &command, const CommandResult &result)
{
    QStringList saved;
    QStringList unsaved;
    // The file helper's own words name the file and why ("ファイル … を保存できません: …").
    auto notSaved = [](QString reason) {
        return reason.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    };
    if (command.output != CommandEntry::Output::Text) {
        if (!result.savedFile.isEmpty())
            saved << result.savedFile;
        else if (!result.saveFailure.isEmpty())
            unsaved << notSaved(result.saveFailure);
        else
            return {}; // a command that wrote no file of its own said why on standard error
    }
    // A command that ended on a message without its text (an alliance id of
    // no alliance) has nothing more to save.
    const QString text = m_port.outputText();
    if (command.output != CommandEntry::Output::OwnFile && !text.isEmpty()) {
        const QString allianceId = result.reportedAllianceId.isEmpty() ? m_environment.session.allianceId
                                                                       : result.reportedAllianceId;
        const QString file = textFileName(command.key, allianceId, m_environment.clock.now().date());
        if (const DataFile::Result written = DataFile::writeText(m_environment.session.appDir + file, text))
            saved << file;
        else
            unsaved << notSaved(written.error);
    }
    if (saved.isEmpty() && unsaved.isEmpty())
        return {};
    // What was written, then what was not: "12 members, A.txt; ファイル …/B.txt を保存できません: …".
    QStringList parts;
    if (result.memberCount >= 0)
        parts << QStringLiteral("%1 members").arg(result.memberCount);
    parts << saved;
    QString line = parts.join(QStringLiteral(", "));
    for (const QString &missing : std::as_const(unsaved))
        line += (line.isEmpty() ? QString() : QStringLiteral("; ")) + missing;
    return {line, unsaved.isEmpty()};
}
