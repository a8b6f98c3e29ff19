#pragma once

#include "site/browsersteps.h"

#include <QString>
#include <functional>

class BrowserSlot;
class Clock;
class CommandGuard;
class Failure;
class HistoryRecorder;
class Navigator;
class Pacer;
class PageKeeper;
class ToolPort;
struct CommandInputs;
struct CommandResult;
struct CommandEntry;
struct Session;

// What every command of the table is run with besides its port: the run's
// session, the way to load pages, the browser, the pacing pause, the clock
// and where completed walks are recorded.
struct CommandEnvironment
{
    Session &session;
    Navigator &navigator;
    BrowserSlot &browsers;
    Pacer &pacer;
    const Clock &clock;
    HistoryRecorder *history = nullptr;
    PageKeeper *keeper = nullptr;
};

// Runs whatever drives the one browser, one at a time: the commands of the
// table and the composer's page steps. It holds the busy guard and the
// hourglass, and tells the user the one way why a step stopped. Only the
// program's own failure types are caught; anything else (a programming
// error) is not swallowed.
class CommandRunner : public BrowserSteps
{
public:
    // Opens a new browser and walks back into the world after the browser
    // was closed under a command. Throws the program's failure types.
    using BrowserReopener = std::function<void()>;

    CommandRunner(ToolPort &port, CommandGuard &guard, BrowserReopener reopen = {});

    // What the user is told a new browser will do, after the browser was
    // closed under a command; the window's words unless set.
    void setReopenPromise(QString promise) { m_reopenPromise = std::move(promise); }

    // Runs the step to its end. Nothing happens while another step runs.
    // `name` is the step as the user knows it ("名簿作成").
    Outcome run(const QString &name, const std::function<void()> &step) override;

    // Runs a command of the table with its inputs, on this runner's port.
    // The command's context is made here and nowhere else.
    Outcome run(const CommandEntry &command, const CommandEnvironment &environment,
                const CommandInputs &inputs, CommandResult &result);

    void setBrowserReopener(BrowserReopener reopen) { m_reopen = std::move(reopen); }
    bool reopenedBrowser() const override { return m_reopened; }

    // Whether the last step stopped because the game dropped the login and
    // walking back in did not bring it back (also when a new browser found
    // no saved login).
    bool loginLost() const { return m_loginLost; }

private:
    void tellStopped(const QString &name, const Failure &failure);
    void reopenBrowser(const QString &name);

    ToolPort &m_port;
    CommandGuard &m_guard;
    BrowserReopener m_reopen;
    QString m_reopenPromise;
    bool m_loginLost = false;
    bool m_reopened = false;
};
