#pragma once

#include <QString>

namespace AppDir {

// path with one "/" at its end, never two.
QString withTrailingSlash(const QString &path);

// Where both programs keep every data file, with a trailing "/": the
// running program's folder where it can be written and is no installed
// program's folder (a build folder, a copy carried from the Windows tool),
// else the user's data folder, made on first use.
QString path();

// The same choice for a program in programDir: programDir itself, or
// dataFolder. Installed means the program's folder sits in a prefix that
// holds the desktop entry (../share/applications).
QString choose(const QString &programDir, const QString &dataFolder);

// The user's data folder of both programs ("~/.local/share/ovekwarden").
QString userDataFolder();

// The desktop entry's name, the programs' id on the desktop.
inline QString desktopId()
{
    return QStringLiteral("jp.ovekwarden.Ovekwarden");
}

} // namespace AppDir
