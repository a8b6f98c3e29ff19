#pragma once

#include "site/worldconfig.h"

#include <QString>
#include <QStringList>

// The program's command line: the world's options (the site layer's), and
// the program's own: --run, --alliance, --headless, --check-pages, --help
// and --version. Everything is checked before any browser starts.
struct CommandLine
{
    enum class Outcome {
        Run,     // world holds the configuration
        Print,   // --help or --version: print text and end
        Refused, // text says what is wrong (in the user's words)
    };

    Outcome outcome = Outcome::Run;
    WorldConfig world;
    WorldConfig savedWorld;  // the settings file's world, or the built-in one
    bool worldSaved = false; // the settings file names a world (--save-settings wrote it)
    bool worldNamed = false; // a world option was given: nothing to ask
    QString text;
    bool save = false; // --save-settings: write the configuration to the file

    // --run: the commands to run without the tool window, in order; empty
    // when the tool window is to open.
    QStringList runCommands;
    QString runAllianceId;   // --alliance: the report's alliance; empty: the player's own
    bool headless = false;   // --headless: the browser without a window
    bool checkPages = false; // --check-pages: the page check alone (runCommands holds it)
};

// arguments as QCoreApplication::arguments() gives them (program first);
// appDir: the data folder, which holds the settings file and each world's folder;
// runnable: the command names --run accepts, in the order --help lists them.
CommandLine parseCommandLine(const QStringList &arguments, const QString &appDir, const WorldConfig &builtIn,
                             const QStringList &runnable = {});
