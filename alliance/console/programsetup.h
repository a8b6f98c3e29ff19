#pragma once

#include "alliance/console/cmdoptions.h"
#include "alliance/console/exitcode.h"
#include "site/profilelock.h"
#include "site/session.h"
#include "site/webdriverbrowser.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// What the tool window and the run without a window both begin with, before
// any browser starts: the data folder, the command line over the settings
// file, the world (asked for when several are known and none was named),
// the world's own folder with the files of before moved into it, the
// settings saved when asked, the browser's options, and the world's profile
// claimed for as long as the program runs.
struct ProgramSetup
{
    Session session; // the world and its folder; the rest is filled by start-up
    CommandLine commandLine;
    WebDriverOptions browserOptions;
    std::unique_ptr<ProfileLock> profile;
    // Set when the program cannot go on: it has told the user why, or the
    // user ended it, or the world's running window took over.
    std::optional<ExitCode> end;
};

struct SetupHooks
{
    // How the user is told what stops the program or went wrong (a message
    // box, standard error).
    std::function<void(const QString &)> tell;
    // The window's question, given the worlds' captions, the last one used
    // first: the index chosen, or -1 when the user closed the window. Empty
    // for a run without the window, which takes the saved world.
    std::function<int(const QStringList &)> chooseWorld;
    // The window of this world, when it already runs, takes over: true ends
    // this start. Given the world's folder.
    std::function<bool(const QString &)> handOver;
};

ProgramSetup setUpProgram(const QStringList &arguments, const SetupHooks &hooks);
