#include "plotter/rosterinput.h"

#include "common/numbers.h"
#include "common/rosterfile.h"

#include <algorithm>
#include <cmath>

namespace Plotter {

namespace {

// Far beyond the map and the cell table, yet small enough that the map
// arithmetic on it never overflows; such a member is listed, not drawn.
constexpr double FarthestCoordinate = 1e12;

} // namespace

qint64 coordinateOf(const QString &field)
{
    const double rounded = Numbers::roundHalfEven(Numbers::readLeading(field));
    if (std::isnan(rounded))
        return 0;
    return static_cast<qint64>(std::clamp(rounded, -FarthestCoordinate, FarthestCoordinate));
}

namespace {

MemberTable membersOf(const QList<RosterFile::Entry> &entries)
{
    MemberTable members;
    for (const RosterFile::Entry &entry : entries) {
        // One line is one record. Letting three fields form a record across
        // lines would make one short line (a coordinate text without a
        // comma) shift every later record, plotting coordinates as names; a
        // record cut short counts its missing fields as empty and so gives
        // no member.
        if (entry.x.isEmpty() || entry.y.isEmpty())
            continue;
        // Every accepted record is read, also past the 500th: the table has
        // no fixed size, and an alliance larger than that keeps every member.
        members.add(entry.name, MapPoint{coordinateOf(entry.x), coordinateOf(entry.y)});
    }
    return members;
}

} // namespace

MemberTable readRosterLines(const QStringList &lines)
{
    return membersOf(RosterFile::entries(lines));
}

std::optional<MemberTable> readRosterFile(const QString &path)
{
    // Only a regular file is a roster: an empty roster name makes the path
    // AppDir itself, which must give the blank window, not a failure.
    const RosterFile::Read read = RosterFile::read(path);
    if (!read.ok)
        return std::nullopt;
    return membersOf(read.entries);
}

} // namespace Plotter
