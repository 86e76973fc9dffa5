#include "nav/RouteCommands.h"

#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "nav/NavUpdate.h"
#include "nav/NmeaTemplate.h"
#include "nav/RouteEdit.h"

#include <algorithm>

namespace
{

// The cross-track error is measured from the line through the active
// waypoint on the bearing it has from the present position now. Such a leg
// starts from the boat, not from a waypoint: it has no origin waypoint to
// name (BOD then gives the bearing from the present position).
bool TakeLegAsCrossTrackReference()
{
    if (!ComputeWaypointLeg())
        return false;
    XteRefCourse = WaypointBearing;
    OriginWaypointName.clear();
    return true;
}

// A fix has stamped its time since the program started: until then the
// present position is only the one the configuration gave.
bool HavePresentFix()
{
    return !FixTimeText.empty();
}

// A newly chosen leg (the user's choice, not an arrival): its cross-track
// reference is taken from the present position when a view is open, and
// again at the next fix when no fix has been taken yet.
void BeginLeg(bool haveView)
{
    ArrivedWaypoint = 0;
    FirstLegPending = !HavePresentFix();
    OriginWaypointName.clear();
    if (haveView)
        TakeLegAsCrossTrackReference();
}

bool InRoute(int waypoint)
{
    return waypoint >= 1 && waypoint <= std::min<int>(RouteCount, kMaxRoutePoints);
}

} // namespace

RouteNotice OpenRoute(const std::string& path, bool haveView)
{
    const RouteReadOutcome outcome = ReadRouteFile(path);
    if (outcome == RouteReadOutcome::Read || outcome == RouteReadOutcome::FormatError)
        RouteName = RouteBaseName(path);
    ArrivedWaypoint = 0;
    FirstLegPending = false;
    if (RouteCount > 0) {
        // A reversed route is sailed from its last waypoint.
        if (ReverseRoute)
            ActiveWaypoint = static_cast<int16_t>(std::min<int>(RouteCount, kMaxRoutePoints));
        BeginLeg(haveView);
    }
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
    ArrivedWaypoint = 0;
    FirstLegPending = false;
    DRMode = false;
}

void SelectRouteWaypoint(int listIndex, bool haveView)
{
    ActiveWaypoint = static_cast<int16_t>(InRoute(listIndex + 1) ? listIndex + 1 : 0);
    BeginLeg(haveView);
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
        ArrivedWaypoint = 0;
        return -1;
    }
    // Along the route as it is sailed; after an arrival that ended the leg,
    // on from the waypoint arrived at. Past the end, or with nothing to step
    // from, the route starts again.
    const int step = ReverseRoute ? -1 : 1;
    const bool afterArrival = !InRoute(ActiveWaypoint) && InRoute(ArrivedWaypoint);
    const int from = afterArrival ? ArrivedWaypoint : ActiveWaypoint;
    int next = from + step;
    if (!InRoute(from) || !InRoute(next))
        next = ReverseRoute ? std::min<int>(RouteCount, kMaxRoutePoints) : 1;
    if (afterArrival && next == from + step) {
        // The leg automatic advance would have taken: from the waypoint
        // arrived at, which is its origin.
        ArrivedWaypoint = 0;
        FirstLegPending = false;
        TakeLegFromWaypoint(from, next);
    } else {
        ActiveWaypoint = static_cast<int16_t>(next);
        BeginLeg(haveView);
    }
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
