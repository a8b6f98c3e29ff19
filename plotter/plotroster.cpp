#include "plotter/plotroster.h"

#include "common/clock.h"
#include "common/dates.h"
#include "plotter/drawing.h"
#include "plotter/rosterinput.h"

namespace Plotter {

std::optional<MemberTable> PlotRoster(const QString &path, const MapFrame &frame, qint64 screenHeight,
                                      const Clock &clock, PlotSurfaces surfaces)
{
    std::optional<MemberTable> members = readRosterFile(path);
    if (!members)
        return std::nullopt;
    Drawing(surfaces.surface, frame, *members);
    // The date takes the one short form every report of the tool uses.
    drawDateLine(surfaces.surface, Dates::shortDate(clock.now().date()), screenHeight);
    drawMemberLists(surfaces.picture1, surfaces.picture2, *members);
    return members;
}

} // namespace Plotter
