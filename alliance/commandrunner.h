#pragma once

#include <QString>
#include <functional>

class CommandGuard;
class Failure;
class ToolPort;

// Runs the browser commands of the tool window, one at a time: the busy
// guard, the hourglass, and how a command that stopped tells the user why.
// Only the program's own failure types are caught; anything else (a
// programming error) is not swallowed.
class CommandRunner
{
public:
    // Opens a new browser and walks back into the world after the browser
    // was closed under a command. Throws the program's failure types.
    using BrowserReopener = std::function<void()>;

    CommandRunner(ToolPort &port, CommandGuard &guard, BrowserReopener reopen = {});

    // Runs the command to its end. Nothing happens while another command
    // runs. `name` is the command as the user knows it ("名簿作成").
    // Returns true when the command ran to its end.
    bool run(const QString &name, const std::function<void()> &command);

    void setBrowserReopener(BrowserReopener reopen) { m_reopen = std::move(reopen); }

private:
    void tellStopped(const QString &name, const Failure &failure);
    void reopenBrowser(const QString &name);

    ToolPort &m_port;
    CommandGuard &m_guard;
    BrowserReopener m_reopen;
};
