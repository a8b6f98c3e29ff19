#include "plotter/drawing.h"

#include "common/numbers.h"
#include "plotter/canvas.h"
#include "plotter/celllabel.h"

namespace Plotter {

namespace {

const QColor AxisColour(0, 0, 0);
const QColor MajorGridColour(100, 100, 100);
const QColor MinorGridColour(200, 200, 200);

constexpr int AxisNumberPoints = 7;
constexpr int LabelPoints = 8;
constexpr qint64 GridStep = 400; // 10 map units
constexpr qint64 GridLinesPerSide = 18;
constexpr qint64 MembersInLeftPanel = 75;
constexpr qint64 ListRowPitch = 180;

void drawHorizontalGrid(Canvas &surface, const MapFrame &frame)
{
    const qint64 cx = frame.MapCenterX;
    const qint64 cy = frame.MapCenterY;
    qint64 k = 0;
    for (qint64 i = 1; i <= GridLinesPerSide; ++i) {
        const qint64 below = cy + GridStep * i;
        const qint64 above = cy - GridStep * i;
        const bool major = i % 5 == 0;
        const QColor &colour = major ? MajorGridColour : MinorGridColour;
        surface.fillBar(0, below + 2, frame.MapWidth, below - 2, colour);
        surface.fillBar(0, above + 2, frame.MapWidth, above - 2, colour);
        if (major) {
            k += 50;
            surface.drawText(cx, below, Numbers::reportText(-k));
            surface.drawText(cx, above, Numbers::reportText(k));
        }
    }
}

void drawVerticalGrid(Canvas &surface, const MapFrame &frame)
{
    const qint64 cx = frame.MapCenterX;
    const qint64 cy = frame.MapCenterY;
    qint64 k = 0;
    for (qint64 i = 1; i <= GridLinesPerSide; ++i) {
        const qint64 right = cx + GridStep * i;
        const qint64 left = cx - GridStep * i;
        const bool major = i % 5 == 0;
        const QColor &colour = major ? MajorGridColour : MinorGridColour;
        surface.fillBar(right - 2, 0, right + 2, frame.MapHeight, colour);
        surface.fillBar(left - 2, 0, left + 2, frame.MapHeight, colour);
        if (major) {
            k += 50;
            surface.drawText(right, cy + 40, Numbers::reportText(k));
            surface.drawText(left, cy + 40, Numbers::reportText(-k));
        }
    }
}

void labelCells(Canvas &surface, const MapFrame &frame, const CellTable &cells)
{
    for (qint64 column = FirstColumn; column <= LastColumn; ++column) {
        for (qint64 row = FirstRow; row <= LastRow; ++row) {
            const QStringList &names = cells.CellNames(column, row);
            if (names.isEmpty())
                continue;
            const qint64 left = frame.MapCenterX + (column - 18) * GridStep + 20;
            const qint64 rowTop = frame.MapCenterY - GridStep * row;
            CellLabel(surface, names.at(0), left, rowTop + 240);
            // The second member sits above the first; any further members of
            // the cell are only in the lists.
            if (names.size() > 1)
                CellLabel(surface, names.at(1), left, rowTop + 80);
        }
    }
}

} // namespace

CellTable::CellTable(const MemberTable &members)
{
    for (qsizetype i = 0; i < members.MemberCount(); ++i) {
        const MapPoint position = members.MemberPos.at(i);
        // A member outside the cell table is not on the map; the lists still
        // show it with its coordinates.
        if (const std::optional<Cell> cell = cellOf(position.x, position.y))
            m_names[slot(cell->column, cell->row)].append(members.MemberName.at(i));
    }
}

const QStringList &CellTable::CellNames(qint64 column, qint64 row) const
{
    static const QStringList none;
    if (column < FirstColumn || column > LastColumn || row < FirstRow || row > LastRow)
        return none;
    return m_names[slot(column, row)];
}

void Drawing(Canvas &surface, const MapFrame &frame, const MemberTable &members)
{
    const qint64 cx = frame.MapCenterX;
    const qint64 cy = frame.MapCenterY;
    surface.clear();
    surface.fillBar(0, cy + 4, frame.MapWidth, cy - 4, AxisColour);
    surface.fillBar(cx + 4, 0, cx - 4, frame.MapHeight, AxisColour);

    surface.setFontSize(AxisNumberPoints);
    drawHorizontalGrid(surface, frame);
    drawVerticalGrid(surface, frame);

    surface.setFontSize(LabelPoints);
    labelCells(surface, frame, CellTable(members));
}

void drawDateLine(Canvas &surface, const QString &shortDate, qint64 screenHeight)
{
    surface.drawText(2500, screenHeight - 1400, shortDate + QStringLiteral(" 作成"));
}

QString memberListLine(qsizetype number, const QString &name, MapPoint position)
{
    // Padded to four characters; a number of five digits is kept whole
    // rather than cut, since every record past the 500th is listed too.
    const QString numberLabel = QString::number(number).leftJustified(4, QLatin1Char(' '));
    const QString coordinates = QStringLiteral("　(") + Numbers::plainText(position.x) + QLatin1Char(',') +
                                Numbers::plainText(position.y) + QLatin1Char(')');
    return numberLabel + name + coordinates;
}

void drawMemberLists(Canvas &leftPanel, Canvas &rightPanel, const MemberTable &members)
{
    leftPanel.clear();
    rightPanel.clear();
    leftPanel.setFontSize(LabelPoints);
    rightPanel.setFontSize(LabelPoints);
    qint64 leftTop = 500;
    qint64 rightTop = 40;
    for (qsizetype i = 0; i < members.MemberCount(); ++i) {
        const qsizetype number = i + 1;
        const QString line = memberListLine(number, members.MemberName.at(i), members.MemberPos.at(i));
        if (number <= MembersInLeftPanel) {
            leftTop += ListRowPitch;
            leftPanel.drawText(40, leftTop, line);
        } else {
            // Rows past the right panel's bottom (its 82nd row onward) keep
            // their 180-twip pitch and are clipped by the panel: no member's
            // row is given up to a marker, and the rows stay where the fixed
            // 1280 x 1024 layout puts them.
            rightTop += ListRowPitch;
            rightPanel.drawText(40, rightTop, line);
        }
    }
}

} // namespace Plotter
