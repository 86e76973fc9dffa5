#include "nav/AverageTide.h"

#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "rtl/Numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{

constexpr int kMaxSamples = 41;
constexpr double kRadPerDeg = std::numbers::pi / 180.0;

} // namespace

AverageTideResult AverageTideAlongLeg(const AverageTideSources& sources)
{
    AverageTideResult result;
    if (RouteCount < 1 || TideStationCount < 1)
        return result;
    result.outcome = AverageTideOutcome::UnderOneHour;
    // HoursToWaypoint is -1 without progress and -2 with the tide stronger
    // than the boat: no hour of the leg can be sampled then.
    const int hours = static_cast<int>(rtl::Trunc(HoursToWaypoint));
    const bool onLeg = ActiveWaypoint >= 1 && ActiveWaypoint <= RouteCount;
    const int samples = onLeg ? std::clamp(hours, 0, kMaxSamples) : 0;
    if (samples == 0)
        return result;

    const TPosition& waypoint = RoutePoints[ActiveWaypoint];
    double lat = CurLat;
    double lon = CurLon;
    int hour = TideHour;
    double north = 0.0;
    double west = 0.0;
    const double reach = TideStreamReachNm();
    for (int i = 1; i <= samples; ++i) {
        if (i > 1) {
            const double course
                = sources.courseToWaypoint ? BearingDeg(lat, lon, waypoint.lat, waypoint.lon) : NavCourse;
            const double speed = sources.hullSpeed ? ManualSpeed : NavSpeed;
            const double previousLat = lat;
            lat += std::cos(course * kRadPerDeg) * speed / 60.0;
            lon = NormalLongitude(lon
                - std::sin(course * kRadPerDeg) * speed / 60.0
                    / std::fabs(std::cos(previousLat * kRadPerDeg)));
        }
        // A sample away from every diamond has no stream, as without an atlas.
        const TideFlow flow = StreamAt(FindNearestDiamond(lat, lon), hour, reach);
        north += flow.rate * std::cos(flow.set * kRadPerDeg);
        west += -flow.rate * std::sin(flow.set * kRadPerDeg);
        hour = hour >= 6 ? -6 : hour + 1;
    }

    int set = 90;
    if (west != 0.0) {
        const int a = static_cast<int>(rtl::Round(std::atan(north / west) / kRadPerDeg));
        set = west > 0.0 ? a + 270 : a + 90;
    } else if (north > 0.0) {
        set = 0;
    } else if (north < 0.0) {
        set = 180;
    }
    result.outcome = AverageTideOutcome::Averaged;
    result.samples = samples;
    result.set = set % 360; // a set just west of north rounds to 360
    result.rate = static_cast<int>(rtl::Round(std::hypot(north / samples, west / samples)));
    return result;
}
