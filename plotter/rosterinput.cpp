#include "plotter/rosterinput.h"

#include "common/datafile.h"
#include "common/numbers.h"

#include <algorithm>
#include <cmath>

namespace Plotter {

namespace {

const QChar Quote = QLatin1Char('"');
const QChar Comma = QLatin1Char(',');

// Far beyond the map and the cell table, yet small enough that the map
// arithmetic on it never overflows; such a member is listed, not drawn.
constexpr double FarthestCoordinate = 1e12;

} // namespace

QStringList rosterFields(const QString &line)
{
    QStringList fields;
    qsizetype pos = 0;
    while (true) {
        QString field;
        if (pos < line.size() && line.at(pos) == Quote) {
            const qsizetype close = line.indexOf(Quote, pos + 1);
            const qsizetype end = close < 0 ? line.size() : close;
            field = line.mid(pos + 1, end - pos - 1);
            // Anything between the closing quote and the next comma is not
            // part of the field.
            pos = close < 0 ? line.size() : close + 1;
            const qsizetype comma = line.indexOf(Comma, pos);
            pos = comma < 0 ? line.size() : comma;
        } else {
            const qsizetype comma = line.indexOf(Comma, pos);
            const qsizetype end = comma < 0 ? line.size() : comma;
            field = line.mid(pos, end - pos);
            pos = end;
        }
        fields.append(field);
        if (pos >= line.size())
            return fields;
        ++pos; // past the comma: another field follows, empty if the line ends here
    }
}

qint64 coordinateOf(const QString &field)
{
    const double rounded = Numbers::roundHalfEven(Numbers::readLeading(field));
    if (std::isnan(rounded))
        return 0;
    return static_cast<qint64>(std::clamp(rounded, -FarthestCoordinate, FarthestCoordinate));
}

MemberTable readRosterLines(const QStringList &lines)
{
    MemberTable members;
    for (const QString &line : lines) {
        // One line is one record. Letting three fields form a record across
        // lines would make one short line (a coordinate text without a
        // comma) shift every later record, plotting coordinates as names; a
        // record cut short, here or at the end of the file, counts its
        // missing fields as empty and so gives no member.
        const QStringList fields = rosterFields(line);
        const QString name = fields.value(0);
        const QString x = fields.value(1);
        const QString y = fields.value(2);
        if (name == QStringLiteral("名前") || name.isEmpty() || x.isEmpty() || y.isEmpty())
            continue;
        // Every accepted record is read, also past the 500th: the table has
        // no fixed size, and an alliance larger than that keeps every member.
        members.add(name, MapPoint{coordinateOf(x), coordinateOf(y)});
    }
    return members;
}

std::optional<MemberTable> readRosterFile(const QString &path)
{
    // Only a regular file is a roster: an empty roster name makes the path
    // AppDir itself, which must give the blank window, not a failure.
    if (!DataFile::exists(path))
        return std::nullopt;
    const DataFile::Lines read = DataFile::readLines(path);
    if (!read)
        return std::nullopt;
    return readRosterLines(read.lines);
}

} // namespace Plotter
