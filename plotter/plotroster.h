#pragma once

#include "plotter/mapgeometry.h"
#include "plotter/plottedmembers.h"

#include <QString>
#include <optional>

class Canvas;
class Clock;

namespace Plotter {

struct PlotSurfaces
{
    Canvas &surface;
    Canvas &picture1;
    Canvas &picture2;
};

// Reads the roster at path, draws the map, the date line and the two
// member lists. Without a roster file nothing is read or drawn and nothing
// is returned.
std::optional<MemberTable> PlotRoster(const QString &path, const MapFrame &frame, qint64 screenHeight,
                                      const Clock &clock, PlotSurfaces surfaces);

} // namespace Plotter
