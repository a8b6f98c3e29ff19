#include "alliance/console/programsetup.h"

#include "alliance/commands/commandtable.h"
#include "alliance/console/worldfiles.h"
#include "common/appdir.h"
#include "site/knownworlds.h"
#include "site/worldsettings.h"

namespace {

// The world the command line names, or the one the user picks in the
// window among those known; nullopt when the user closed the window.
std::optional<WorldConfig> worldToStart(const QString &baseDir, const CommandLine &line,
                                        const SetupHooks &hooks)
{
    if (line.worldNamed || !hooks.chooseWorld)
        return line.world;
    const QList<WorldConfig> known = KnownWorlds::load(baseDir, line.savedWorld);
    if (known.size() < 2)
        return line.world;
    const int chosen = hooks.chooseWorld(KnownWorlds::captions(known));
    if (chosen < 0 || chosen >= known.size())
        return std::nullopt;
    return known.at(chosen);
}

// The browser's profile of this world, claimed for the run: a timer's run
// may hold it right now, or the window.
std::optional<ExitCode> claimProfile(ProgramSetup &setup, const SetupHooks &hooks)
{
    setup.profile = std::make_unique<ProfileLock>(setup.browserOptions.profileDir);
    switch (setup.profile->tryLock()) {
    case ProfileLock::Claim::Held:
        return std::nullopt;
    case ProfileLock::Claim::InUse:
        hooks.tell(setup.profile->inUseMessage());
        return ExitCode::ProfileInUse;
    case ProfileLock::Claim::CannotWrite:
        hooks.tell(setup.profile->cannotWriteMessage());
        return ExitCode::CannotStart;
    }
    return std::nullopt;
}

} // namespace

ProgramSetup setUpProgram(const QStringList &arguments, const SetupHooks &hooks)
{
    ProgramSetup setup;
    const QString baseDir = AppDir::path();
    // The server and world come from the command line, the settings file or
    // the build, and are checked before any browser starts.
    setup.commandLine =
        parseCommandLine(arguments, baseDir, WorldConfig::compiledIn(), CommandTable::unattendedKeys());
    if (setup.commandLine.outcome != CommandLine::Outcome::Run) {
        hooks.tell(setup.commandLine.text);
        setup.end = ExitCode::BadOptions;
        return setup;
    }
    const std::optional<WorldConfig> world = worldToStart(baseDir, setup.commandLine, hooks);
    if (!world) {
        setup.end = ExitCode::Done;
        return setup;
    }
    setup.session.world = *world;
    // The list only spares the user typing addresses again: a list that
    // cannot be written stops nothing, and the world's own files tell
    // their failures when they are written.
    KnownWorlds::remember(baseDir, *world,
                          hooks.chooseWorld ? KnownWorlds::Use::Chosen : KnownWorlds::Use::Background);
    if (setup.commandLine.save) {
        if (const QString problem = saveWorldSettings(baseDir, *world); !problem.isEmpty())
            hooks.tell(problem);
    }
    // The files of before were written for the world the settings file
    // saved; without one, for the world the user starts, who started only
    // that world on this folder (the built-in one, or the options of a
    // shortcut or a timer; a folder copied from the Windows tool).
    const WorldConfig &filesOwner = setup.commandLine.worldSaved ? setup.commandLine.savedWorld : *world;
    if (const QString left = WorldFiles::adoptFilesOfBefore(baseDir, filesOwner); !left.isEmpty())
        hooks.tell(left);
    const Result<QString> folder = WorldFiles::folderOf(baseDir, *world);
    if (!folder) {
        hooks.tell(folder.error);
        setup.end = ExitCode::CannotStart;
        return setup;
    }
    setup.session.appDir = folder.value;
    if (hooks.handOver && hooks.handOver(folder.value)) {
        setup.end = ExitCode::Done;
        return setup;
    }
    setup.browserOptions = WebDriverOptions::forProgram(setup.session.appDir);
    setup.browserOptions.headless = setup.commandLine.headless;
    setup.end = claimProfile(setup, hooks);
    return setup;
}
