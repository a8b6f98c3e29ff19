#include "plotter/mapgeometry.h"

#include "common/numbers.h"

namespace Plotter {

namespace {

qint64 halfEven(double value)
{
    return static_cast<qint64>(Numbers::roundHalfEven(value));
}

// Floor division for a positive divisor; C++ division truncates toward zero.
qint64 floorDiv(qint64 value, qint64 divisor)
{
    const qint64 quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

} // namespace

MapFrame mapFrameFor(qint64 windowWidth, qint64 windowHeight)
{
    MapFrame frame;
    frame.MapWidth = windowWidth - 160;
    frame.MapHeight = windowHeight - 800;
    frame.MapCenterY = halfEven(frame.MapHeight / 2.0);
    frame.MapCenterX = halfEven(frame.MapWidth / 2.0 + 50);
    return frame;
}

qint64 picture2Left(qint64 screenWidth)
{
    return screenWidth - PanelWidth;
}

qint64 cellColumn(qint64 x)
{
    return floorDiv(x + 180, 10);
}

qint64 cellRow(qint64 y)
{
    // Row 1 starts at y = 0 and row 0 holds -9 to -1: the rows are not a
    // plain floor of y / 10, so the two sides are counted separately.
    return y >= 0 ? floorDiv(y, 10) + 1 : -floorDiv(-y, 10);
}

std::optional<Cell> cellOf(qint64 x, qint64 y)
{
    const Cell cell{cellColumn(x), cellRow(y)};
    if (cell.column < FirstColumn || cell.column > LastColumn || cell.row < FirstRow || cell.row > LastRow)
        return std::nullopt;
    return cell;
}

} // namespace Plotter
