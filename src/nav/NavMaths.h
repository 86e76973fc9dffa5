#pragma once
// Navigation figures from the track log, the route and the tidal atlas:
// speed and course made good, the leg to the active waypoint, the nearest
// tidal diamond and the dead-reckoned position. Plain procedures over the
// navigation state (nav/NavState.h); no I/O.
//
// Distances are flat-earth: 60 × sqrt(dlat² + (dlon × CosLat)²) nautical
// miles with both differences in degrees, where CosLat is the cosine of the
// chart's home latitude, or of the present latitude while no chart gives one
// (nav/ChartConfig.h). Positions are degrees, longitude west positive.

#include <optional>

// Flat-earth distance between two positions, nautical miles.
double FlatDistanceNm(double lat1, double lon1, double lat2, double lon2);

// The bearing from a to b, degrees true, before its quadrant is added:
// atan((a.lat - b.lat) / (a.lon - b.lon + 1e-9) / CosLat), in -90..90.
double BearingAtanDeg(double aLat, double aLon, double bLat, double bLon);
// The bearing from a to b, degrees true in 0..360: BearingAtanDeg plus 270
// when b lies further west than a, else plus 90. 360 is not folded to 0.
double BearingDeg(double aLat, double aLon, double bLat, double bLon);
// The same with the atan part rounded (half to even) to whole degrees first.
int WholeBearingDeg(double aLat, double aLon, double bLat, double bLon);

// From the last AverageN records of the track log: TripLeg (between the last
// two records, display units), LogTimeDiff (minutes), MeasuredSpeed and
// LogSpeed (knots). Below two records LogSpeed is the hull speed ManualSpeed
// and nothing else changes.
void ComputeLogSpeed();

// A true course, bearing or heading as magnetic: true - MagVariation (the
// variation east positive, so 3 degrees west adds 3), folded into 0 <= m < 360.
double MagneticDegrees(double trueDegrees);
// The same in whole degrees (rounded half to even, then folded: 359.6 reads
// 0), 0..359.
int WholeMagneticDegrees(double trueDegrees);

// Course made good over the same records, whole degrees 0..360. A zero move
// has no course: when the vessel has not moved over those records, the course
// the track log last gave (over the records averaged at the last fix that
// showed a move); nullopt when it shows no move at all (fewer than two
// records, or all at one place).
std::optional<int> CourseMadeGood();
// The same with 0 for none: the heading the vessel is drawn with.
int ComputeLogCourse();
// At a fix: NavCourse := CourseMadeGood() when there is one, else it keeps
// its value; NavCourseKnown := whether there is one.
void UpdateNavCourse();

// Distance and bearing from the present position to route entry
// ActiveWaypoint: WaypointDistance (display units), WaypointRangeNm,
// WaypointBearing, DestWaypointText and DestWaypointName. Returns false and
// changes nothing when ActiveWaypoint names no route entry.
bool ComputeWaypointLeg();

// With the stream taken from the atlas (ManualTideOff): the diamond nearest
// the present position (NearestTideStation, NearestDistance) and its set and
// rate for TideHour (TideSet, TideDrift). Without an atlas the stream is 0.
void FindNearestTideStation();

// The position FixIntervalMs on from the last track record, at the chosen
// course and speed: DRLat, DRLon, and FixStatus "DR".
void ComputeDeadReckoning();
