#include "alliance/console/programsetup.h"

#include "alliance/commands/commandtable.h"
#include "common/appdir.h"
#include "site/worldsettings.h"

ProgramSetup setUpProgram(const QStringList &arguments, const std::function<void(const QString &)> &tell)
{
    ProgramSetup setup;
    setup.session.appDir = AppDir::path();
    // The server and world come from the command line, the settings file or
    // the build, and are checked before any browser starts.
    setup.commandLine = parseCommandLine(arguments, setup.session.appDir, WorldConfig::compiledIn(),
                                         CommandTable::unattendedKeys());
    if (setup.commandLine.outcome != CommandLine::Outcome::Run) {
        tell(setup.commandLine.text);
        setup.end = ExitCode::BadOptions;
        return setup;
    }
    setup.session.world = setup.commandLine.world;
    if (setup.commandLine.save) {
        if (const QString problem = saveWorldSettings(setup.session.appDir, setup.session.world);
            !problem.isEmpty())
            tell(problem);
    }

    setup.browserOptions = WebDriverOptions::forProgram(setup.session.appDir);
    setup.browserOptions.headless = setup.commandLine.headless;
    // A timer's run may hold the browser's profile right now, or the window.
    setup.profile = std::make_unique<ProfileLock>(setup.browserOptions.profileDir);
    switch (setup.profile->tryLock()) {
    case ProfileLock::Claim::Held:
        break;
    case ProfileLock::Claim::InUse:
        tell(setup.profile->inUseMessage());
        setup.end = ExitCode::ProfileInUse;
        break;
    case ProfileLock::Claim::CannotWrite:
        tell(setup.profile->cannotWriteMessage());
        setup.end = ExitCode::CannotStart;
        break;
    }
    return setup;
}
