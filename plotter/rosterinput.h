#pragma once

#include "plotter/plottedmembers.h"

#include <QString>
#include <QStringList>
#include <optional>

// Reading the roster file into the member table.
namespace Plotter {

// A coordinate field: the number at the start of the text (0 if none),
// rounded to the nearest integer with halves to the even neighbour.
qint64 coordinateOf(const QString &field);

// The members of the roster's lines, in order.
MemberTable readRosterLines(const QStringList &lines);

// The members of the roster file at path, or nothing when there is no
// readable file there.
std::optional<MemberTable> readRosterFile(const QString &path);

} // namespace Plotter
