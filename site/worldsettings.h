#pragma once

#include "site/worldconfig.h"

#include <QString>
#include <QStringList>

// Which game server and world the run walks into: the command line first
// (--top-url, --world-url, --world, --ranking-key), then ovekwarden.ini in
// AppDir (written by the user), then the values the program was built with,
// key by key. Everything is checked before any browser starts.
struct WorldSettings
{
    enum class Outcome {
        Run,     // world holds the configuration
        Print,   // --help or --version: print text and end
        Refused, // text says what is wrong (in the user's words)
    };

    Outcome outcome = Outcome::Run;
    WorldConfig world;
    QString text;
    bool save = false; // --save-settings: write the configuration to the file

    // --run: the commands to run without the tool window, in order; empty
    // when the tool window is to open.
    QStringList runCommands;
    QString runAllianceId;   // --alliance: the report's alliance; empty: the player's own
    bool headless = false;   // --headless: the browser without a window
    bool checkPages = false; // --check-pages: the page check, without the tool window
};

namespace WorldSettingsFile {
QString fileName(); // "ovekwarden.ini"
} // namespace WorldSettingsFile

// arguments as QCoreApplication::arguments() gives them (program first);
// runnable: the command names --run accepts, in the order --help lists them.
WorldSettings configureWorld(const QStringList &arguments, const QString &appDir, const WorldConfig &builtIn,
                             const QStringList &runnable = {});

// Writes the four values to ovekwarden.ini in AppDir. Returns an error text
// for the user, empty on success.
QString saveWorldSettings(const QString &appDir, const WorldConfig &world);
