#pragma once
// The navigation update run on every fix: the leg to the active waypoint,
// automatic advance along the route, the course to steer against the tidal
// stream, time to go, cross-track error, and every text of the navigation
// panel and the output sentences, ending with the output sentences
// themselves.

// The distance unit chosen by DistanceFactor (1.0 nm, 1.852 km, 1.15081
// statute miles). Factors in between fall to the nearest of the three
// ranges: below 1.1 nautical miles, above 1.2 kilometres, and 1.0 to 1.8
// exclusive statute miles, checked in that order with the last match winning.
enum class DistanceUnit { NauticalMiles, Kilometres, StatuteMiles };
DistanceUnit DistanceUnitOf(double factor);

// The leg from route waypoint `from` (in the route) to waypoint `to`, as an
// arrival at `from` takes it: ActiveWaypoint := `to`, OriginWaypointName :=
// the name of `from`, and, when `to` is in the route, the leg to it
// (ComputeWaypointLeg, WaypointDistance in display units) with XteRefCourse
// the course from `from` to `to` (the bearing from the present position
// when the two lie at one place). False, with no leg, when `to` is not in
// the route.
bool TakeLegFromWaypoint(int from, int to);

// Sets, in this order: DistanceUnitText and SpeedUnitText; the leg
// (BearingText, WaypointDistance in nm, WaypointRangeNm, WaypointBearing,
// DestWaypointText, DestWaypointName), and XteRefCourse := its bearing when
// FirstLegPending (cleared); on arrival inside CaptureDistance
// (ArrivedWaypoint := the waypoint arrived at) the advance to the next
// waypoint (ActiveWaypoint, OriginWaypointName, XteRefCourse,
// WpApproachPending) or the end of the leg (LegStatusText ",V",
// ActiveWaypoint 0); the tidal stream; Heading, CourseToSteer and
// HoursToWaypoint (Heading is not a number when no heading to steer can be
// worked out for this fix: no leg, or a cross-stream the hull speed cannot
// match); CtsText, TtgText, CogText, CogMagText, VmgText, SogText,
// RangeText, XteText, XteScaleText and XTE; then NmeaOutput.
//
// The leg after an advance runs from the waypoint arrived at: XteRefCourse
// is the course from it to the next. The cross-track error is the distance
// from the line of the leg (through the waypoint on XteRefCourse),
// WaypointDistance × sin(XteRefCourse − WaypointBearing), held to 9.99 nm,
// written with the side to steer (L when the boat lies right of the line).
// The leg's status turns ",V" at that limit and once the boat is past the
// waypoint (its bearing more than 90° off the leg's course) without arriving.
//
// CogText and CogMagText are the course made good (nav/NavMaths.h,
// CourseMadeGood): at rest the last one worked out, empty while the vessel
// has not moved.
void UpdateNavigationData();
