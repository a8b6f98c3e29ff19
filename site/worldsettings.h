#pragma once

#include "site/worldconfig.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>

class QCommandLineParser;
class QSettings;

// Which game server and world the run walks into: the command line first
// (--top-url, --world-url, --world, --ranking-key), then ovekwarden.ini in
// AppDir (written by the user), then the values the program was built with,
// key by key. Everything is checked before any browser starts. The program
// adds these options to its own command line.
class WorldOptions
{
public:
    WorldOptions();

    // The four values and --save-settings, for the program's parser.
    QList<QCommandLineOption> options() const;

    struct Chosen
    {
        WorldConfig world;
        WorldConfig saved;  // the file's values over the built-in ones, without the command line
        bool savedInFile = false; // the file names at least one of the values
        bool named = false; // a world option was given: the world is the user's answer already
        bool save = false;  // --save-settings: write the configuration to the file
        QString refusal;    // what is wrong, in the user's words; empty when nothing is
    };
    Chosen choose(const QCommandLineParser &parser, const QString &appDir, const WorldConfig &builtIn) const;

private:
    QList<QCommandLineOption> m_values; // in the order of the file's keys
    QCommandLineOption m_save;
};

namespace WorldSettingsFile {
QString fileName(); // "ovekwarden.ini"
// Whether each of the four values would be taken from the file.
bool isValid(const WorldConfig &world);
// The four values under the file's current group or list entry, by the
// options' names; a value missing is left empty.
WorldConfig read(const QSettings &file);
void write(QSettings &file, WorldConfig world);
} // namespace WorldSettingsFile

// Writes the four values to ovekwarden.ini in AppDir. Returns an error text
// for the user, empty on success.
QString saveWorldSettings(const QString &appDir, const WorldConfig &world);
