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
// any browser starts: AppDir, the command line over the settings file, the
// settings saved when asked, the browser's options, and its profile claimed
// for as long as the program runs.
struct ProgramSetup
{
    Session session; // AppDir and the world; the rest is filled by start-up
    CommandLine commandLine;
    WebDriverOptions browserOptions;
    std::unique_ptr<ProfileLock> profile;
    // Set when the program cannot go on: it has told the user why.
    std::optional<ExitCode> end;
};

// tell: how the user is told what stops the program or went wrong (a
// message box, standard error).
ProgramSetup setUpProgram(const QStringList &arguments, const std::function<void(const QString &)> &tell);
