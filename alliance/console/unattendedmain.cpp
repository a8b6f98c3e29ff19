#include "alliance/console/unattendedmain.h"

#include "alliance/console/consoleport.h"
#include "alliance/console/unattendedrun.h"
#include "alliance/walk/historyrecorder.h"
#include "alliance/walk/pacer.h"
#include "alliance/walk/pagewalk.h"
#include "common/appdir.h"
#include "common/clock.h"
#include "common/japanese.h"
#include "common/pump.h"
#include "history/historystore.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/pagekeeper.h"
#include "site/profilelock.h"
#include "site/session.h"
#include "site/startup.h"
#include "site/webdriverbrowser.h"
#include "site/worldsettings.h"

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

int runWithoutWindow(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Japanese::install(app);
    app.setApplicationVersion(QStringLiteral(OVEK_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    ConsolePort port(out, err, stdoutIsTerminal());

    Session session;
    session.appDir = AppDir::path();
    const WorldSettings settings =
        configureWorld(app.arguments(), session.appDir, WorldConfig::compiledIn(), CommandTable::keys());
    if (settings.outcome != WorldSettings::Outcome::Run) {
        port.printError(settings.text);
        return ExitCode::kBadOptions;
    }
    session.world = settings.world;
    if (settings.save) {
        if (const QString problem = saveWorldSettings(session.appDir, session.world); !problem.isEmpty())
            port.printError(problem);
    }

    WebDriverOptions options = WebDriverOptions::forProgram(session.appDir);
    options.headless = settings.headless;
    ProfileLock profile(options.profileDir);
    switch (profile.tryLock()) {
    case ProfileLock::Claim::Held:
        break;
    case ProfileLock::Claim::InUse:
        port.printError(profile.inUseMessage());
        return ExitCode::kProfileInUse;
    case ProfileLock::Claim::CannotWrite:
        port.printError(profile.cannotWriteMessage());
        return ExitCode::kCannotStart;
    }

    EventLoopPump pump;
    SystemClock clock;
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
        return ExitCode::kLoginGone;
    } catch (const Failure &failure) {
        browsers.quit();
        port.printError(failure.message());
        return ExitCode::kStopped;
    }

    TimerPacer pacer(pump);
    HistoryStore history(session.appDir);
    StoreRecorder recorder(history, clock);
    DiagnosisFolder keeper(session.appDir, clock);
    const CommandEnvironment environment{session, navigator, browsers, pacer, clock, &recorder, &keeper};
    CommandInputs inputs = CommandTable::defaultInputs();
    inputs.allianceIdText = settings.runAllianceId.isEmpty() ? session.allianceId : settings.runAllianceId;
    UnattendedRun run(environment, port, [&startup] { startup.reopenBrowser(); });
    const int code = settings.checkPages ? run.checkPages(inputs) : run.run(settings.runCommands, inputs);
    browsers.quit();
    return code;
}
