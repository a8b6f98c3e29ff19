#pragma once

#include "alliance/walk/commandentry.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace CommandTable {

// Every browser command, in the order of the tool window's buttons.
const QList<CommandEntry> &commands();
// The command of that key ("roster"), or nullptr.
const CommandEntry *find(const QString &key);
// The keys of the commands that may run from the command line, in table
// order.
QStringList unattendedKeys();
// Those of them a daily run takes: each leaves a reading or its text, not
// a table printed for the one who asked (the page check).
QStringList readingKeys();
// The inputs as the tool window opens with them (Text2 empty: the report
// of the player's own alliance is asked for by its id).
CommandInputs defaultInputs();

} // namespace CommandTable
