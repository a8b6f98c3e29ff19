#pragma once

#include "common/result.h"
#include "site/worldconfig.h"

#include <QString>
#include <QStringList>

// Each world's files live in the world's own folder under the data folder,
// so two worlds never read or replace each other's: the data files, the
// browser profile, the history, 診断 and the saved letters.
namespace WorldFiles {

// baseDir's folder of world, with a trailing "/", made when missing.
Result<QString> folderOf(const QString &baseDir, const WorldConfig &world);

// The names the program gave its files when they all lay in the data
// folder itself, in a safe order to move them: the history's journal
// before the history, so a move cut short never leaves a history without
// the changes in its journal.
QStringList namesOfBefore(const QString &worldNumber);

// The files of before the world folders belong to the world they were
// written for (owner). They move into its folder, once, one rename each, and
// are read there from then on. Nothing moves while a program of before still holds
// them; a file the world's folder has already is left where it is. Returns
// what stayed behind and why, for the user; empty when nothing did.
QString adoptFilesOfBefore(const QString &baseDir, const WorldConfig &owner);

} // namespace WorldFiles
