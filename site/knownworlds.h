#pragma once

#include "site/worldconfig.h"

#include <QList>
#include <QString>

// The worlds a data folder has been used for, kept in ovekwarden.ini beside
// the saved world, so the start-up window can offer them. A world is known
// by its folder (its server and number); its top site and ranking key are
// the ones it was last started with.
namespace KnownWorlds {

// The worlds, the last one used first. The saved world (the file's own
// values over the built-in ones) is always among them, last when it was
// never started: a file of before the list had exactly that one world.
QList<WorldConfig> load(const QString &baseDir, const WorldConfig &saved);

enum class Use {
    Chosen,     // the user started it: it comes first from now on
    Background, // a run without the window: known, but the order is the user's
};
// Adds world to the list or updates its addresses and ranking key. Returns
// an error text for the user, empty on success.
QString remember(const QString &baseDir, const WorldConfig &world, Use use);

// What the start-up window shows for each world: the link key (「w003」), and
// the server too where two worlds share a key (「w003 127.0.0.1:18083」).
QStringList captions(const QList<WorldConfig> &worlds);

} // namespace KnownWorlds
