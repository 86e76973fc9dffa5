#pragma once
// Navigation figures from the track log, the route and the tidal atlas:
// speed and course made good, the leg to the active waypoint, the nearest
// tidal diamond and the dead-reckoned position. Plain procedures over the
// navigation state (nav/NavState.h); no I/O.
//
// Distances are flat-earth: 60 × sqrt(dlat² + (dlon × cos(mean lat))²)
// nautical miles with both differences in degrees, the longitude difference
// taken the short way round (LongitudeDifference) and scaled by the cosine of
// the mean latitude of the two positions, whatever chart is loaded (its home
// latitude scales its projection alone). Positions are degrees, longitude
// west positive.

#include "nav/NavTypes.h"

#include <optional>

// a - b, degrees, brought into -180 < d <= 180: the short way round, so that
// positions either side of the 180th meridian are a little apart, not nearly
// a whole turn.
double LongitudeDifference(double a, double b);
// A longitude brought into -180 < lon <= 180 (a position carried across the
// 180th meridian).
double NormalLongitude(double lon);

// Flat-earth distance between two positions, nautical miles.
double FlatDistanceNm(double lat1, double lon1, double lat2, double lon2);

// The bearing from a to b, degrees true, before its quadrant is added:
// atan(dlat / (dlon + 1e-9) / cos(mean lat)), in -90..90, with
// dlat = a.lat - b.lat and dlon = LongitudeDifference(a.lon, b.lon).
double BearingAtanDeg(double aLat, double aLon, double bLat, double bLon);
// The bearing from a to b, degrees true in 0..360: BearingAtanDeg plus 270
// when b lies west of a (the short way round), else plus 90. 360 is not
// folded to 0.
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

// A stream of the tidal atlas is taken to run this far from its diamond,
// nautical miles: the widest spacing between a diamond and its nearest
// neighbour (a boat among the diamonds is always as near as that to one),
// and never less than kMinTideReachNm. Beyond it the atlas has nothing to
// say, as for a boat without one.
constexpr double kMinTideReachNm = 5.0;
double TideStreamReachNm();

// The diamond of the atlas nearest (lat, lon), 1..TideStationCount (0 with
// no atlas), and its distance; of equally near diamonds the first.
struct NearestDiamond {
    int station = 0;
    double distanceNm = 99999.0;
};
NearestDiamond FindNearestDiamond(double lat, double lon);

// The stream of `diamond` at `hour` from high water (held to -6..+6) as a
// boat there feels it: none when no diamond is within `reachNm`.
TideFlow StreamAt(const NearestDiamond& diamond, int hour, double reachNm);

// With the stream taken from the atlas (ManualTideOff): the diamond nearest
// the present position (NearestTideStation, NearestDistance) and, when it
// lies within TideStreamReachNm, its set and rate for TideHour (TideSet,
// TideDrift). Without an atlas, or away from its diamonds, the stream is 0.
void FindNearestTideStation();

// The position FixIntervalMs on from the last track record, at the chosen
// course and speed: DRLat, DRLon, and FixStatus "DR".
void ComputeDeadReckoning();
