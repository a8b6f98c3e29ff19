#pragma once

#include <QtGlobal>
#include <optional>

// Map geometry in twips. Every value is a wide integer: a screen wider than
// 2,184 pixels passes 32,767 twips and must still draw.
namespace Plotter {

inline constexpr qint64 TwipsPerMapUnit = 40;
inline constexpr qint64 PanelWidth = 2295;
inline constexpr qint64 PanelHeight = 15000;

// The drawing frame and the canvas position of the map origin (0, 0).
struct MapFrame
{
    qint64 MapWidth = 0;
    qint64 MapHeight = 0;
    qint64 MapCenterX = 0;
    qint64 MapCenterY = 0;
};

// From the window's outer size in twips.
MapFrame mapFrameFor(qint64 windowWidth, qint64 windowHeight);

// Left edge of the right member list, from the screen width in twips.
qint64 picture2Left(qint64 screenWidth);

// The 10 x 10 cells the map labels members in: columns 0 to 36 cover x from
// -180 to 189, rows -18 to 18 cover y from -189 to 179.
inline constexpr qint64 FirstColumn = 0;
inline constexpr qint64 LastColumn = 36;
inline constexpr qint64 FirstRow = -18;
inline constexpr qint64 LastRow = 18;

qint64 cellColumn(qint64 x);
qint64 cellRow(qint64 y);

struct Cell
{
    qint64 column = 0;
    qint64 row = 0;
};
// The cell of a map point, or nothing when it lies outside the cell table.
std::optional<Cell> cellOf(qint64 x, qint64 y);

} // namespace Plotter
