#pragma once

#include "plotter/mapgeometry.h"
#include "plotter/plottedmembers.h"

#include <QString>
#include <QStringList>
#include <array>

class Canvas;

namespace Plotter {

// The members of each 10 x 10 map cell, in roster order. Names are kept as
// a list, not joined with "/", so a name holding "/" stays one member.
class CellTable
{
public:
    explicit CellTable(const MemberTable &members);
    qsizetype CellCount(qint64 column, qint64 row) const { return CellNames(column, row).size(); }
    const QStringList &CellNames(qint64 column, qint64 row) const;

private:
    static constexpr qint64 Columns = LastColumn - FirstColumn + 1;
    static constexpr qint64 Rows = LastRow - FirstRow + 1;
    std::array<QStringList, Columns * Rows> m_names;
    static qsizetype slot(qint64 column, qint64 row)
    {
        return (column - FirstColumn) * Rows + (row - FirstRow);
    }
};

// The map: axes, grid with axis numbers, and the cell labels. Leaves the
// canvas at 8 pt.
void Drawing(Canvas &surface, const MapFrame &frame, const MemberTable &members);

// "<short date> 作成" at (2500, screen height - 1400).
void drawDateLine(Canvas &surface, const QString &shortDate, qint64 screenHeight);

// One member list line: number label, name, "　(x,y)".
QString memberListLine(qsizetype number, const QString &name, MapPoint position);

// Members 1 to 75 in the left panel, the rest in the right one.
void drawMemberLists(Canvas &leftPanel, Canvas &rightPanel, const MemberTable &members);

} // namespace Plotter
