#include "alliance/commands/commandtable.h"
#include "alliance/console/cmdoptions.h"
#include "alliance/console/exitcode.h"
#include "alliance/console/programsetup.h"
#include "alliance/console/unattendedmain.h"
#include "alliance/window/toolwindow.h"
#include "common/appdir.h"
#include "common/clock.h"
#include "common/japanese.h"
#include "common/pump.h"
#include "composer/composerstate.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"
#include "site/startup.h"
#include "site/webdriverbrowser.h"
#include "ui/messagebox.h"
#include "ui/runningwindow.h"
#include "ui/startupwindow.h"

#include <QApplication>
#include <cstdio>
#include <optional>

namespace {

void tellUser(const QString &text)
{
    MessageBox::warning(nullptr, QStringLiteral("注意"), text);
}

// --help and --version only print: they must work where there is no display.
bool onlyPrints(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--help" || argument == "-h" || argument == "--version")
            return true;
    }
    return false;
}

int printAndEnd(int argc, char *argv[])
{
    QCoreApplication core(argc, argv);
    Japanese::install(core); // the option parser's own words
    core.setApplicationVersion(QStringLiteral(OVEK_VERSION));
    const CommandLine line = parseCommandLine(core.arguments(), AppDir::path(), WorldConfig::compiledIn(),
                                              CommandTable::unattendedKeys());
    const bool printed = line.outcome == CommandLine::Outcome::Print;
    std::fputs(line.text.toLocal8Bit().constData(), printed ? stdout : stderr);
    return exitStatus(printed ? ExitCode::Done : ExitCode::BadOptions);
}

// The window's way through the set-up: messages over the start-up window,
// its world question, and the world's running window taking over.
SetupHooks windowHooks(OvekWarden *startWindow, std::unique_ptr<RunningWindow> &running)
{
    SetupHooks hooks;
    hooks.tell = [startWindow](const QString &text) {
        startWindow->hide(); // it stays on top, and would cover the message
        tellUser(text);
    };
    hooks.chooseWorld = [startWindow](const QStringList &captions) {
        return startWindow->chooseWorld(captions);
    };
    hooks.handOver = [&running](const QString &worldFolder) {
        running = std::make_unique<RunningWindow>(worldFolder);
        return running->handOverToRunning();
    };
    return hooks;
}

// The start-up walk into the world; the program's end when it cannot finish.
std::optional<ExitCode> walkIntoWorld(StartupSequence &startup, BrowserSlot &browsers,
                                      OvekWarden *startWindow)
{
    try {
        startup.run();
        return std::nullopt;
    } catch (const Quitting &) {
        // Ended from outside during start-up: nothing to tell.
        browsers.quit();
        return ExitCode::Done;
    } catch (const StartupFailure &failure) {
        // A start-up that cannot finish says why before the program ends,
        // rather than vanishing: the user has to act (log in, install
        // Chromium, join an alliance) before the next try can work.
        browsers.quit();
        startWindow->hide();
        tellUser(failure.message());
        return ExitCode::Stopped;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (onlyPrints(argc, argv))
        return printAndEnd(argc, argv);
    if (asksForRun(argc, argv))
        return runWithoutWindow(argc, argv);
    QApplication app(argc, argv);
    Japanese::install(app);
    app.setApplicationVersion(QStringLiteral(OVEK_VERSION));
    app.setQuitOnLastWindowClosed(false); // the start-up window closes before the tool window opens

    // The start-up window asks for the world when several are known, and is
    // what a second start of the same world brings to the front until the
    // tool window opens.
    auto *startWindow = new OvekWarden;
    std::unique_ptr<RunningWindow> running;
    QWidget *frontWindow = startWindow;
    ProgramSetup setup = setUpProgram(app.arguments(), windowHooks(startWindow, running));
    if (setup.end) {
        delete startWindow;
        return exitStatus(*setup.end);
    }
    running->listen([&frontWindow] { return frontWindow; });
    Session &session = setup.session;
    const WebDriverOptions options = setup.browserOptions;

    EventLoopPump pump;
    SystemClock clock;
    BrowserSlot browsers([options] { return std::make_unique<WebDriverBrowser>(options); });
    Navigator navigator(browsers, session.world, clock, pump);
    StartupSequence startup(session, browsers, navigator, pump);

    startWindow->setRestartHandler([&startup] { startup.restart(); });
    startWindow->showForStartup();
    pump.yieldOnce();
    if (const std::optional<ExitCode> ended = walkIntoWorld(startup, browsers, startWindow)) {
        delete startWindow;
        return exitStatus(*ended);
    }
    frontWindow = nullptr;
    startWindow->close();
    startWindow->deleteLater();

    // The composer's remembered subject, body and addressees live as long
    // as the program (declared before the tool window, which outlives it).
    ComposerState composerState;
    OVEKMark tool(session, browsers, navigator, pump, clock);
    tool.setComposerState(composerState);
    tool.setBrowserReopener([&startup] { startup.reopenBrowser(); });
    tool.Form_Load();
    frontWindow = &tool;
    const int code = app.exec();
    browsers.quit();
    return code;
}
