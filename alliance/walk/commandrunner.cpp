#include "alliance/walk/commandrunner.h"

#include "alliance/walk/commandcontext.h"
#include "alliance/walk/commandentry.h"
#include "alliance/walk/commandguard.h"
#include "alliance/walk/historyrecorder.h"
#include "alliance/walk/toolport.h"
#include "common/pump.h"
#include "common/readfailure.h"
#include "site/browser.h"
#include "site/loginlost.h"
#include "site/startup.h"

CommandRunner::CommandRunner(ToolPort &port, CommandGuard &guard, BrowserReopener reopen)
    : m_port(port), m_guard(guard), m_reopen(std::move(reopen)),
      m_reopenPromise(QStringLiteral("新しいブラウザを開いて、ゲームに入り直します。"
                                     "ログインを求められたら、ブラウザでログインしてください。"))
{
}

BrowserSteps::Outcome CommandRunner::run(const QString &name, const std::function<void()> &step)
{
    CommandGuard::Scope scope(m_guard);
    if (!scope)
        return Outcome::Busy;
    m_loginLost = false;
    m_reopened = false;
    try {
        HourglassScope hourglass(m_port);
        step();
        return Outcome::Done;
    } catch (const Failure &failure) {
        m_loginLost = dynamic_cast<const LoginLost *>(&failure) != nullptr;
        // Once the window is closed the program ends: a browser going away
        // under the command is part of that, and nobody is left to tell.
        if (!AppQuit::requested())
            tellStopped(name, failure);
    }
    return Outcome::Stopped;
}

BrowserSteps::Outcome CommandRunner::run(const CommandEntry &command, const CommandEnvironment &environment,
                                         const CommandInputs &inputs, CommandResult &result)
{
    if (environment.history)
        environment.history->takeFailure();
    const Outcome outcome = run(command.label, [&] {
        CommandContext context{
            environment.session, environment.navigator, environment.browsers, environment.pacer, m_port,
            environment.history, environment.keeper};
        CommandRun commandRun{context, environment.clock, inputs, result};
        command.body(commandRun);
    });
    // The end of a run clears the caption: a history that could not be
    // written is told there again, and stays until the next command.
    if (outcome == Outcome::Done && environment.history) {
        if (const QString failure = environment.history->takeFailure(); !failure.isEmpty())
            m_port.showStatus(HistoryRecording::failureCaption(command.label, failure));
    }
    return outcome;
}

void CommandRunner::tellStopped(const QString &name, const Failure &failure)
{
    if (dynamic_cast<const BrowserGone *>(&failure)) {
        QString text =
            QStringLiteral("ブラウザが閉じられたため、「%1」を中止しました。ファイルは前のままです。")
                .arg(name);
        // Without a way to reopen it (a run from the command line), a
        // promise of a new browser would be false.
        if (m_reopen)
            text += QStringLiteral("\r\n\r\n") + m_reopenPromise;
        m_port.warn(text);
        reopenBrowser(name);
    } else if (const auto *read = dynamic_cast<const ReadFailure *>(&failure);
               dynamic_cast<const LoginLost *>(&failure) || (read && !read->missingMark().isEmpty())) {
        // A lost login, or a page that lacked what its reader looks for:
        // the user has something to do or to report.
        m_port.warn(QStringLiteral("「%1」を中止しました。ファイルは前のままです。\r\n").arg(name) +
                    failure.message());
    } else {
        // Nothing the user must do: the reason stays in the caption until
        // the next command.
        m_port.showStatus(QStringLiteral("%1を中止しました（%2）").arg(name, failure.message()));
    }
}

void CommandRunner::reopenBrowser(const QString &name)
{
    if (!m_reopen)
        return;
    try {
        HourglassScope hourglass(m_port);
        m_port.showProgress(QStringLiteral("ブラウザを開き直しています"));
        m_reopen();
    } catch (const SavedLoginGone &) {
        // A run nobody watches: the caller ends it with the login's own words.
        m_loginLost = true;
        return;
    } catch (const Failure &failure) {
        if (AppQuit::requested())
            return;
        m_port.warn(QStringLiteral("ブラウザを開き直せませんでした。\r\n"
                                   "ovekwarden を終了して、もう一度起動してください。\r\n\r\n") +
                    failure.message());
        return;
    }
    m_reopened = true;
    m_port.showStatus(QStringLiteral("%1を中止しました（ブラウザを開き直しました）").arg(name));
}
