#pragma once

#include "alliance/commands/commandtable.h"
#include "alliance/console/exitcode.h"
#include "alliance/walk/commandguard.h"
#include "alliance/walk/commandrunner.h"

#include <QDate>
#include <QStringList>

class ConsolePort;

// Runs the named commands of the table one after another through the same
// runner as the tool window's buttons, with the console as the port, and
// says on one line per command what it left. A command that only fills
// Text1 (the report, the castle list) has that text saved as a file of its
// own, since there is no window to read it in.
class UnattendedRun
{
public:
    // reopen: a new browser walked back into the world with the saved login,
    // after the browser was closed under a command; none in tests that do
    // not ask for it.
    UnattendedRun(const CommandEnvironment &environment, ConsolePort &port,
                  CommandRunner::BrowserReopener reopen = {});

    // Returns the exit code. A stopped command does not keep the others
    // from running (each one's files stand alone; a lost browser is opened
    // anew for the next), except a lost login, which stops them all.
    ExitCode run(const QStringList &keys, const CommandInputs &inputs);

    // What the run printed of each command, one line each, for its record.
    const QStringList &results() const { return m_results; }
    // The members the first command that completed read; -1 when none did.
    int memberCount() const { return m_memberCount; }

    // "report_2581_20261207.txt": the saved Text1 of a command.
    static QString textFileName(const QString &key, const QString &allianceId, const QDate &day);

private:
    struct Finished
    {
        QString line; // what it wrote, then what it could not; empty when it left nothing
        bool whole = true;
    };
    Finished finish(const CommandEntry &command, const CommandResult &result);
    void printResult(const QString &line);

    const CommandEnvironment &m_environment;
    ConsolePort &m_port;
    CommandGuard m_guard;
    CommandRunner m_runner;
    QStringList m_results;
    int m_memberCount = -1;
};
