#pragma once

#include <QString>

// How the program ended, for the timer or script that started it: one list
// for --help, the run without a window and main.
enum class ExitCode {
    Done = 0,         // every command completed (--check-pages: every page read)
    Stopped = 1,      // a command stopped, a file could not be saved, or a page did not read
    BadOptions = 2,   // the command line or the settings file is wrong
    LoginGone = 3,    // the saved login has expired; nothing was written
    ProfileInUse = 4, // another ovekwarden holds the browser profile
    CannotStart = 5,  // the data folder cannot be written (full disk, no permission)
};

// The status the process ends with.
constexpr int exitStatus(ExitCode code)
{
    return static_cast<int>(code);
}

// The codes as --help lists them, one line each.
QString exitCodeHelp();
