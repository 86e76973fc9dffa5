#include "nav/RouteCommands.h"

#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "nav/NmeaTemplate.h"
#include "nav/RouteEdit.h"

#include <algorithm>

namespace
{

// The cross-track error is measured from the line through the active
// waypoint on the bearing it has from the present position now.
bool TakeLegAsCrossTrackReference()
{
    if (!ComputeWaypointLeg())
        return false;
    XteRefCourse = WaypointBearing;
    return true;
}

} // namespace

RouteNotice OpenRoute(const std::string& path, bool haveView)
{
    const RouteReadOutcome outcome = ReadRouteFile(path);
    if (outcome == RouteReadOutcome::Read || outcome == RouteReadOutcome::FormatError)
        RouteName = RouteBaseName(path);
    if (haveView && RouteCount > 0)
        TakeLegAsCrossTrackReference();
    return RouteReadNotice(outcome);
}

RouteNotice SaveRoute(const std::string& path)
{
    if (!WriteRouteFile(path))
        return { platform::MessageKind::Error, "Error writing route file!" };
    RouteName = RouteBaseName(path);
    return {};
}

void PurgeRoute()
{
    RouteCount = 0;
    ActiveWaypoint = 0;
    DRMode = false;
}

void SelectRouteWaypoint(int listIndex, bool haveView)
{
    const bool entry = listIndex >= 0 && listIndex < std::min<int>(RouteCount, kMaxRoutePoints);
    ActiveWaypoint = static_cast<int16_t>(entry ? listIndex + 1 : 0);
    if (haveView)
        TakeLegAsCrossTrackReference();
}

std::string RouteListHint(const std::string& selectedText)
{
    const std::string label = TrimNameField(selectedText, 1, 24);
    return label.size() < 13 ? "Selected Waypoint|" : label + "|";
}

int StepRouteWaypoint(bool haveView)
{
    if (RouteCount < 1) {
        ActiveWaypoint = 0;
        return -1;
    }
    if (ActiveWaypoint >= 1 && ActiveWaypoint < RouteCount)
        ++ActiveWaypoint;
    else
        ActiveWaypoint = 1;
    if (haveView)
        TakeLegAsCrossTrackReference();
    return ActiveWaypoint - 1;
}

bool ResetCrossTrackReference()
{
    return TakeLegAsCrossTrackReference();
}

std::string SetMeasureMode(bool down)
{
    MeasureMode = down;
    if (down) {
        MeasureStartLat = CurLat;
        MeasureStartLon = CurLon;
        MarkMeasureOrigin = true;
    }
    MeasureTotal = 0;
    return down ? "Measure off|" : "Measure on|";
}

bool MeasureTotaliserEnabled()
{
    return MeasureMode && !DRMode && !NmeaOpen;
}

std::string TotaliseMeasure()
{
    if (!MeasureMode)
        return {};
    // The readout sets WaypointDistance to the measured distance; taken
    // afresh, as a leg computed since the last readout (a waypoint picked
    // from the list) leaves its own distance there.
    FormatRouteDistance();
    MeasureTotal += WaypointDistance;
    MeasureStartLat = CurLat;
    MeasureStartLon = CurLon;
    MarkMeasureOrigin = true;
    return FormatRouteDistance();
}
