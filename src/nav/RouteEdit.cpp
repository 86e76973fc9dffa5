#include "nav/RouteEdit.h"

#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "nav/NavUpdate.h"
#include "platform/Ui.h"
#include "rtl/Numbers.h"

#include <algorithm>

namespace
{

constexpr const char* kDegreeSign = "\xB0"; // Latin-1
constexpr const char* kSelectFirst = "Select a waypoint first !";
constexpr const char* kRouteFull = "40 Waypoints in the route - Delete one first!";
constexpr const char* kRouteSymbol = "19   "; // symbol code 19, no number

bool ActiveIsRouteEntry()
{
    return ActiveWaypoint >= 1 && ActiveWaypoint <= RouteCount && ActiveWaypoint <= kMaxRoutePoints;
}

// Route entry `index` takes the nearest database waypoint when snapping,
// else the present position with `name` (empty: the generated name for
// `index`). True when the generated name was used.
bool FillNewEntry(int index, const std::string& name)
{
    const int nearest = SnapToWaypoint ? NearestDatabaseWaypoint() : 0;
    if (nearest > 0) {
        RoutePoints[index] = WaypointDbPoints[nearest];
        RouteNames[index] = WaypointDbNames[nearest];
        return false;
    }
    RoutePoints[index] = TPosition { CurLat, CurLon };
    if (!name.empty()) {
        RouteNames[index] = name; // cut to the field's 29 characters
        return false;
    }
    RouteNames[index] = GeneratedRouteName(index);
    return true;
}

} // namespace

WaypointNameField GeneratedRouteName(int position)
{
    const char letter = static_cast<char>(position <= 26 ? 64 + position : 70 + position);
    return std::string(1, letter) + std::string(23, ' ') + kRouteSymbol;
}

int NearestDatabaseWaypoint()
{
    const int count = std::min<int>(WaypointDbCount, kMaxWaypoints);
    int nearest = 0;
    double best = 100000.0;
    for (int i = 1; i <= count; ++i) {
        const TPosition& p = WaypointDbPoints[i];
        const double distance = FlatDistanceNm(CurLat, CurLon, p.lat, p.lon);
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

void AddRouteWaypoint(const std::string& name)
{
    if (RouteCount >= kMaxRoutePoints) {
        platform::MessageError(kRouteFull);
        return;
    }
    RouteCount = static_cast<int16_t>(std::max<int>(RouteCount, 0) + 1);
    FillNewEntry(RouteCount, name);
}

void EditRouteWaypoint(const std::string& name, bool move)
{
    if (!ActiveIsRouteEntry()) {
        platform::MessageWarning(kSelectFirst);
        return;
    }
    if (move)
        RoutePoints[ActiveWaypoint] = TPosition { CurLat, CurLon };
    if (name.empty()) {
        RouteNames[ActiveWaypoint] = GeneratedRouteName(ActiveWaypoint);
        return;
    }
    std::string label = name.substr(0, 24);
    label.resize(24, ' ');
    RouteNames[ActiveWaypoint] = label + kRouteSymbol;
}

void DeleteRouteWaypoint()
{
    if (!ActiveIsRouteEntry())
        return;
    for (int i = ActiveWaypoint; i < RouteCount; ++i) {
        RoutePoints[i] = RoutePoints[i + 1];
        RouteNames[i] = RouteNames[i + 1];
    }
    --RouteCount;
}

void InsertRouteWaypoint(const std::string& name)
{
    if (!ActiveIsRouteEntry()) {
        platform::MessageWarning(kSelectFirst);
        return;
    }
    if (RouteCount >= kMaxRoutePoints) {
        platform::MessageError(kRouteFull);
        return;
    }
    for (int i = RouteCount; i >= ActiveWaypoint; --i) {
        RoutePoints[i + 1] = RoutePoints[i];
        RouteNames[i + 1] = RouteNames[i];
    }
    ++RouteCount;
    if (FillNewEntry(ActiveWaypoint, name))
        ++ActiveWaypoint;
}

std::string FormatRouteDistance()
{
    if (!MeasureMode)
        return {};
    std::string unit;
    switch (DistanceUnitOf(DistanceFactor)) {
    case DistanceUnit::NauticalMiles:
        unit = "Nm  ";
        break;
    case DistanceUnit::Kilometres:
        unit = "Km  ";
        break;
    case DistanceUnit::StatuteMiles:
        unit = "Mls ";
        break;
    }
    WaypointDistance = FlatDistanceNm(MeasureStartLat, MeasureStartLon, CurLat, CurLon) * DistanceFactor;
    const int bearing = WholeBearingDeg(MeasureStartLat, MeasureStartLon, CurLat, CurLon);
    const int reverse = bearing < 180 ? bearing + 180 : bearing - 180;
    MeasureDistText = rtl::StrReal(WaypointDistance, 0, 4);
    MeasureBearingText = rtl::StrInt(bearing, 3);

    std::string text = MeasureDistText + " " + unit + "Bearing " + rtl::StrInt(reverse, 3) + kDegreeSign
        + "T To " + MeasureBearingText + kDegreeSign + "T From";
    if (MeasureTotal > 0)
        text += ". Total Distance " + rtl::StrReal(MeasureTotal, 0, 2) + unit;
    return text;
}
