#include "nav/NavUpdate.h"

#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "nav/NmeaOutput.h"
#include "rtl/Numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <string>

namespace
{

constexpr double kDegToRad = std::numbers::pi / 180.0;
constexpr double kRadToDeg = 180.0 / std::numbers::pi;
// Cross-track error is reported to at most 9.99 nm either side (the field of
// the XTE and APB sentences holds x.xx).
constexpr double kXteLimit = 9.99;
// Along the leg, nm: a boat this little past the waypoint is abeam of it.
constexpr double kAbeamTolerance = 1e-6;
constexpr const char* kNoFigure = "********";
// The heading to steer of a fix for which none can be worked out.
constexpr double kNoHeading = std::numeric_limits<double>::quiet_NaN();

// The course of a leg from `origin` to `destination`; two waypoints at one
// place make no line, and the leg then runs from the present position.
double LegCourse(const TPosition& origin, const TPosition& destination)
{
    if (origin == destination)
        return WaypointBearing;
    return BearingDeg(origin.lat, origin.lon, destination.lat, destination.lon);
}

void SetUnitTexts()
{
    switch (DistanceUnitOf(DistanceFactor)) {
    case DistanceUnit::NauticalMiles:
        DistanceUnitText = "Nm ";
        SpeedUnitText = " Kn";
        break;
    case DistanceUnit::Kilometres:
        DistanceUnitText = "Km ";
        SpeedUnitText = " Kph";
        break;
    case DistanceUnit::StatuteMiles:
        DistanceUnitText = "Mls";
        SpeedUnitText = " Mph";
        break;
    }
    if (SpeedAlwaysKnots)
        SpeedUnitText = " Kn";
}

// Arrival inside the capture radius with automatic advance: step to the next
// waypoint (the previous one on a reversed route) and take its leg, which
// runs from the waypoint arrived at.
void AdvanceOnArrival()
{
    if (!(WaypointDistance < CaptureDistance && AutoWaypoint))
        return;
    WpApproachPending = true;
    ArrivedWaypoint = ActiveWaypoint;
    if (TakeLegFromWaypoint(ActiveWaypoint, ActiveWaypoint + (ReverseRoute ? -1 : 1)))
        WaypointDistance /= DistanceFactor;
}

// Without automatic advance an arrival ends the leg and deselects the waypoint.
void SetArrivalStatus()
{
    if (WaypointDistance >= CaptureDistance || AutoWaypoint) {
        LegStatusText = ",A";
        return;
    }
    LegStatusText = ",V";
    ArrivedWaypoint = ActiveWaypoint;
    ActiveWaypoint = 0;
    DestWaypointText = "Near " + DestWaypointText + " !";
}

// The heading that holds the track against the cross component of the
// stream, the time to go at the speed made good towards the waypoint, and
// that speed. A stream whose cross component the hull speed cannot match
// (including a hull speed of 0) has no solution: HoursToWaypoint -2, no
// heading to steer for this fix (Heading not a number), and CourseToSteer
// keeps its value for the panel.
double SteerAgainstStream()
{
    FindNearestTideStation();
    const double cross = std::cos((WaypointBearing + 90.0 - TideSet) * kDegToRad) * TideDrift;
    if (std::abs(cross) >= ManualSpeed) {
        HoursToWaypoint = -2;
        Heading = kNoHeading;
        return 0.0;
    }
    Heading = WaypointBearing
        - std::atan(cross / std::sqrt(std::abs(ManualSpeed * ManualSpeed - cross * cross))) * kRadToDeg;
    int course = static_cast<int>(rtl::Round(Heading));
    if (course < 0)
        course += 360;
    else if (course >= 360)
        course -= 360;
    CourseToSteer = static_cast<int16_t>(course);

    ComputeLogSpeed();
    // Without a course made good (the vessel has not moved) nothing is made
    // good towards the waypoint: no speed to it and no time to go.
    const std::optional<int> madeGood = CourseMadeGood();
    const double vmg = madeGood ? std::cos((*madeGood - CourseToSteer) * kDegToRad) * LogSpeed : 0.0;
    HoursToWaypoint = vmg > 0.01 ? WaypointDistance / vmg : -1;
    return vmg;
}

// The cross-track error is the distance of the boat from the line of the leg
// (through the waypoint on the reference course), positive when the boat
// lies to the right of it. Past the waypoint the figure stays the distance
// from that line on the boat's own side, and the status says it is no
// longer a guide to steer by.
void SetCrossTrackTexts()
{
    const double theta = (XteRefCourse - WaypointBearing) * kDegToRad;
    double e = WaypointDistance * std::sin(theta);
    e = std::clamp(e, -kXteLimit, kXteLimit);
    if (CourseToSteer >= 0 && RouteGuidanceOn) {
        XteScaleText = std::abs(e) < 1 ? "x 0.1 NM" : "x 1.0 NM";
        XTE = e;
    }
    if (!std::isfinite(e)) {
        XteText = kNoFigure;
        return;
    }
    std::string text = rtl::StrReal(std::abs(e), 4, 2);
    if (!text.empty() && text.front() == ' ')
        text.erase(0, 1);
    // L: steer left to regain the track. The side follows the sign at the
    // limit too, so an autopilot is never told to steer the wrong way.
    XteText = text + (e > 0 ? ",L," : ",R,");
    // Past the waypoint: its bearing more than 90° off the leg's course.
    // Abeam of it (exactly 90°, which rounding may put a hair either side)
    // the leg still holds.
    const bool past = WaypointDistance * std::cos(theta) < -kAbeamTolerance;
    if (std::abs(e) >= kXteLimit || past)
        LegStatusText = ",V";
}

// A figure made from a number that is not finite shows as unknown: every
// number text of the panel and the sentences is one of these, and a division
// by a configured or received value must never reach them as "Nan" or "Inf"
// (or as the 0 that rounding makes of it).
void MarkUnknownFigures()
{
    const auto unknownIfNotFinite = [](auto& text) {
        if (rtl::HoldsNonFiniteText(text.view()))
            text = kNoFigure;
    };
    unknownIfNotFinite(TtgText);
    unknownIfNotFinite(VmgText);
    unknownIfNotFinite(SogText);
    unknownIfNotFinite(RangeText);
    if (!std::isfinite(WaypointBearing))
        BearingText = kNoFigure;
    // A heading worked out as no number; with the stream stronger than the
    // boat the panel shows the set of the stream instead.
    if (CourseToSteer >= 0 && HoursToWaypoint != -2 && !std::isfinite(Heading))
        CtsText = kNoFigure;
}

} // namespace

bool TakeLegFromWaypoint(int from, int to)
{
    const TPosition origin = RoutePoints[from];
    OriginWaypointName = RouteNames[from].view().substr(0, 20);
    ActiveWaypoint = static_cast<int16_t>(to);
    if (!ComputeWaypointLeg())
        return false;
    XteRefCourse = LegCourse(origin, RoutePoints[to]);
    return true;
}

DistanceUnit DistanceUnitOf(double factor)
{
    DistanceUnit unit = DistanceUnit::NauticalMiles;
    if (factor < 1.1)
        unit = DistanceUnit::NauticalMiles;
    if (factor > 1.2)
        unit = DistanceUnit::Kilometres;
    if (factor > 1.0 && factor < 1.8)
        unit = DistanceUnit::StatuteMiles;
    return unit;
}

void UpdateNavigationData()
{
    SetUnitTexts();

    double vmg = 0.0;
    if (ActiveWaypoint < 1 || ActiveWaypoint > RouteCount) {
        CourseToSteer = -1;
        Heading = kNoHeading;
        HoursToWaypoint = 0;
        ComputeLogSpeed();
        vmg = LogSpeed;
        OriginWaypointName.clear();
    } else {
        ComputeWaypointLeg();
        // A leg chosen before any fix runs from where the boat is now.
        if (FirstLegPending) {
            XteRefCourse = WaypointBearing;
            FirstLegPending = false;
        }
        WaypointDistance /= DistanceFactor; // nautical miles from here on
        AdvanceOnArrival();
        // After the advance, so that the bearing and the waypoint's name in
        // the sentences and on the panel are of the same waypoint.
        BearingText = rtl::ZeroFilledInt(rtl::Round(WaypointBearing), 3);
        SetArrivalStatus();
        vmg = SteerAgainstStream();
    }

    CtsText = rtl::ZeroFilledInt(CourseToSteer, 3);
    if (CourseToSteer < 0) {
        CtsText.clear();
        DestWaypointText = RouteGuidanceOn ? "Select Next Waypoint !" : "";
        DestWaypointName.clear();
    }

    TtgText = rtl::StrInt(rtl::Trunc(HoursToWaypoint), 2) + " Hr "
        + rtl::StrReal(rtl::Frac(HoursToWaypoint) * 60.0, 1, 1) + " Min";

    // A zero move has no course: the last one worked out stays, and until
    // the vessel has moved the course fields are empty.
    CogText.clear();
    CogMagText.clear();
    if (const std::optional<int> course = CourseMadeGood()) {
        CogText = rtl::ZeroFilledInt(*course, 3);
        CogMagText = rtl::ZeroFilledInt(WholeMagneticDegrees(*course), 3);
    }

    const double speedFactor = SpeedAlwaysKnots ? 1.0 : DistanceFactor;
    if (HoursToWaypoint != -1) {
        VmgText = rtl::StrReal(vmg * speedFactor, 3, 2) + SpeedUnitText;
    } else {
        TtgText = kNoFigure;
        VmgText = kNoFigure;
    }
    SogText = rtl::StrReal(MeasuredSpeed * speedFactor, 3, 2);
    if (HoursToWaypoint == -2) {
        TtgText = kNoFigure;
        VmgText = "Speed<Tide! ";
        CtsText = rtl::StrInt(TideSet, 3);
    }

    const double range = WaypointDistance * DistanceFactor;
    RangeText = (range > 1 ? rtl::StrReal(range, 4, 2) : rtl::StrReal(range, 5, 4)) + " " + DistanceUnitText;

    SetCrossTrackTexts();
    MarkUnknownFigures();
    BuildNmeaOutput();
}
