#include "alliance/console/unattendedmain.h"

#include "alliance/console/consoleport.h"
#include "alliance/console/desktopnotifier.h"
#include "alliance/console/programsetup.h"
#include "alliance/console/runwitness.h"
#include "alliance/console/unattendedrun.h"
#include "alliance/walk/historyrecorder.h"
#include "alliance/walk/pacer.h"
#include "alliance/walk/pagewalk.h"
#include "common/clock.h"
#include "common/japanese.h"
#include "common/pump.h"
#include "history/briefing.h"
#include "history/historystore.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/pagekeeper.h"
#include "site/session.h"
#include "site/startup.h"
#include "site/webdriverbrowser.h"

#include <QCoreApplication>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

bool stdoutIsTerminal()
{
#ifdef Q_OS_UNIX
    return ::isatty(STDOUT_FILENO) == 1;
#else
    return false;
#endif
}

} // namespace

bool asksForRun(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--run" || argument.startsWith("--run=") || argument == "--check-pages")
            return true;
    }
    return false;
}

namespace {

struct RunEnd
{
    ExitCode code = ExitCode::Done;
    QStringList results; // a line per command
    int memberCount = -1;
};

// Walks into the world with the saved login and runs the commands.
RunEnd walkAndRun(ProgramSetup &setup, ConsolePort &port, HistoryStore &history, RunWitness &witness,
                  Clock &clock)
{
    Session &session = setup.session;
    const CommandLine &settings = setup.commandLine;
    const WebDriverOptions options = setup.browserOptions;
    EventLoopPump pump;
    BrowserSlot browsers([options] { return std::make_unique<WebDriverBrowser>(options); });
    Navigator navigator(browsers, session.world, clock, pump);
    // A page that hangs is given as many loads as a walk gives a page that
    // comes without what it needs, then the command stops.
    navigator.setReloadLimit(PageWalk::kAttemptsPerPage - 1);
    StartupSequence startup(session, browsers, navigator, pump, StartupSequence::Login::SavedOnly);
    try {
        startup.run();
    } catch (const SavedLoginGone &gone) {
        browsers.quit();
        port.printError(gone.message());
        return {ExitCode::LoginGone, {}, -1};
    } catch (const Failure &failure) {
        browsers.quit();
        port.printError(failure.message());
        return {ExitCode::Stopped, {}, -1};
    }

    TimerPacer pacer(pump);
    StoreRecorder recorder(history, clock);
    DiagnosisFolder keeper(session.appDir, clock);
    const CommandEnvironment environment{session, navigator, browsers, pacer, clock, &recorder, &keeper};
    CommandInputs inputs = CommandTable::defaultInputs();
    inputs.allianceIdText = settings.runAllianceId.isEmpty() ? session.allianceId : settings.runAllianceId;
    witness.commandsBegin(session.cleanAllianceId());
    UnattendedRun run(environment, port, [&startup] { startup.reopenBrowser(); });
    const ExitCode code = run.run(settings.runCommands, inputs);
    browsers.quit();
    return {code, run.results(), run.memberCount()};
}

} // namespace

int runWithoutWindow(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Japanese::install(app);
    app.setApplicationVersion(QStringLiteral(OVEK_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    ConsolePort port(out, err, stdoutIsTerminal());
    SystemClock clock;

    SetupHooks hooks;
    hooks.tell = [&port](const QString &text) { port.printError(text); };
    // No question and no window to hand over to: the run takes the world
    // its options name, or the saved one.
    ProgramSetup setup = setUpProgram(app.arguments(), hooks);
    // A run of a known world is remembered in its history, also when the
    // world's window kept it from running. The page check is no reading.
    const bool remembered =
        !setup.commandLine.checkPages && (!setup.end || *setup.end == ExitCode::ProfileInUse);
    HistoryStore history(setup.session.appDir);
    // A run nobody watches from a terminal (a timer's) tells the desktop.
    SessionBusNotifier desktop;
    RunWitness witness(history, clock, stdoutIsTerminal() ? nullptr : &desktop,
                       setup.session.world.worldLinkKey(), setup.commandLine.runCommands);
    const RunEnd ended =
        setup.end ? RunEnd{*setup.end, {}, -1} : walkAndRun(setup, port, history, witness, clock);
    if (remembered) {
        const int idleDays = Briefing::readThresholds(setup.session.appDir).idleDays;
        if (const QString lost =
                witness.ended(ended.code, ended.results, ended.memberCount, port.warnings(), idleDays);
            !lost.isEmpty())
            port.printError(lost);
    }
    return exitStatus(ended.code);
}
