#include "nav/NavMaths.h"

#include "nav/NavState.h"
#include "rtl/Numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{

constexpr double kDegToRad = std::numbers::pi / 180.0;
constexpr double kRadToDeg = 180.0 / std::numbers::pi;
constexpr double kMinutesPerDay = 1440.0;
// One knot is 1/60 degree of latitude per hour.
constexpr double kKnotsPerDegLatPerSecond = 216000.0;

// Records in use, held to the table so a bad count never indexes past it.
int RecordsInUse()
{
    return std::clamp<int>(LogCount, 0, kMaxLogRecords);
}

// Tidal diamonds in use, held to the table.
int DiamondsInUse()
{
    return std::clamp<int>(TideStationCount, 0, kMaxTideStations);
}

// Records spanned by the speed and course average: AverageN, or all but the
// last one while the log is shorter; at least one, so a setting of 0 or less
// still measures over the last two records.
int AveragedSpan(int n)
{
    const int k = n > AverageN ? AverageN : n - 1;
    return std::max(k, 1);
}

// The scale of a degree of longitude between two positions: the cosine of
// their mean latitude.
double MeanLatitudeCos(double lat1, double lat2)
{
    return std::cos((lat1 + lat2) / 2.0 * kDegToRad);
}

// The longitude difference a - b that bearings divide by: kept off 0 by a
// hair, so that b due north or south of a gives 0 or 180.
double BearingLonGap(double aLon, double bLon)
{
    return LongitudeDifference(aLon, bLon) + 1e-9;
}

// What BearingAtanDeg's -90..90 takes to make a bearing from a to b: 270 when
// b lies west of a, else 90. The side is taken from the same difference the
// bearing divides by, so that a hair of longitude cannot turn it about.
int QuadrantDeg(double aLon, double bLon)
{
    return BearingLonGap(aLon, bLon) < 0.0 ? 270 : 90;
}

} // namespace

double LongitudeDifference(double a, double b)
{
    double d = std::fmod(a - b, 360.0);
    if (d > 180.0)
        d -= 360.0;
    else if (d <= -180.0)
        d += 360.0;
    return d;
}

double NormalLongitude(double lon)
{
    return LongitudeDifference(lon, 0.0);
}

double FlatDistanceNm(double lat1, double lon1, double lat2, double lon2)
{
    const double dlat = lat1 - lat2;
    const double dlon = LongitudeDifference(lon1, lon2) * MeanLatitudeCos(lat1, lat2);
    return 60.0 * std::sqrt(dlat * dlat + dlon * dlon);
}

double BearingAtanDeg(double aLat, double aLon, double bLat, double bLon)
{
    return std::atan((aLat - bLat) / BearingLonGap(aLon, bLon) / MeanLatitudeCos(aLat, bLat)) * kRadToDeg;
}

double BearingDeg(double aLat, double aLon, double bLat, double bLon)
{
    return BearingAtanDeg(aLat, aLon, bLat, bLon) + QuadrantDeg(aLon, bLon);
}

int WholeBearingDeg(double aLat, double aLon, double bLat, double bLon)
{
    return static_cast<int>(rtl::Round(BearingAtanDeg(aLat, aLon, bLat, bLon))) + QuadrantDeg(aLon, bLon);
}

double MagneticDegrees(double trueDegrees)
{
    double magnetic = std::fmod(trueDegrees - MagVariation, 360.0);
    if (magnetic < 0)
        magnetic += 360.0;
    // A hair below 0 comes back as a full turn once 360 is added.
    return magnetic >= 360.0 ? 0.0 : magnetic;
}

int WholeMagneticDegrees(double trueDegrees)
{
    const int64_t whole = rtl::Round(MagneticDegrees(trueDegrees));
    return static_cast<int>(whole % 360);
}

void ComputeLogSpeed()
{
    const int n = RecordsInUse();
    if (n < 2) {
        LogSpeed = ManualSpeed;
        return;
    }
    const LogRecord& last = LogRecords[n];
    const LogRecord& previous = LogRecords[n - 1];
    TripLeg = FlatDistanceNm(previous.lat, previous.lon, last.lat, last.lon) * DistanceFactor;

    const LogRecord& first = LogRecords[n - AveragedSpan(n)];
    const double distance = FlatDistanceNm(first.lat, first.lon, last.lat, last.lon);
    // Times are minutes of the day: a span across midnight comes out negative.
    LogTimeDiff = last.time - first.time;
    if (!(LogTimeDiff > 0))
        LogTimeDiff += kMinutesPerDay;
    MeasuredSpeed = LogTimeDiff > 0 ? 60.0 * distance / LogTimeDiff : 0.0;
    LogSpeed = MeasuredSpeed;
}

std::optional<int> CourseMadeGood()
{
    // The span each fix took in its turn, newest first: the first that shows
    // a move gives the course (a zero move has none).
    for (int n = RecordsInUse(); n >= 2; --n) {
        const LogRecord& first = LogRecords[n - AveragedSpan(n)];
        const LogRecord& last = LogRecords[n];
        if (first.lat != last.lat || first.lon != last.lon)
            return WholeBearingDeg(first.lat, first.lon, last.lat, last.lon);
    }
    return std::nullopt;
}

int ComputeLogCourse()
{
    return CourseMadeGood().value_or(0);
}

void UpdateNavCourse()
{
    const std::optional<int> course = CourseMadeGood();
    NavCourseKnown = course.has_value();
    if (course)
        NavCourse = *course;
}

bool ComputeWaypointLeg()
{
    if (ActiveWaypoint < 1 || ActiveWaypoint > RouteCount || ActiveWaypoint > kMaxRoutePoints)
        return false;
    const TPosition& waypoint = RoutePoints[ActiveWaypoint];
    WaypointDistance = FlatDistanceNm(CurLat, CurLon, waypoint.lat, waypoint.lon);
    WaypointRangeNm = WaypointDistance;
    WaypointDistance *= DistanceFactor;
    WaypointBearing = BearingDeg(CurLat, CurLon, waypoint.lat, waypoint.lon);
    DestWaypointText = RouteNames[ActiveWaypoint].view().substr(0, 20);
    DestWaypointName = DestWaypointText;
    return true;
}

double TideStreamReachNm()
{
    const int count = DiamondsInUse();
    double widest = 0.0;
    for (int i = 1; i <= count; ++i) {
        double nearest = -1.0;
        for (int j = 1; j <= count; ++j) {
            if (j == i)
                continue;
            const double d = FlatDistanceNm(
                TideStations[i].lat, TideStations[i].lon, TideStations[j].lat, TideStations[j].lon);
            if (nearest < 0.0 || d < nearest)
                nearest = d;
        }
        widest = std::max(widest, nearest);
    }
    return std::max(widest, kMinTideReachNm);
}

NearestDiamond FindNearestDiamond(double lat, double lon)
{
    NearestDiamond nearest;
    const int count = DiamondsInUse();
    for (int i = 1; i <= count; ++i) {
        const double distance = FlatDistanceNm(lat, lon, TideStations[i].lat, TideStations[i].lon);
        if (nearest.distanceNm > distance) {
            nearest.station = i;
            nearest.distanceNm = distance;
        }
    }
    return nearest;
}

TideFlow StreamAt(const NearestDiamond& diamond, int hour, double reachNm)
{
    if (diamond.station < 1 || diamond.station > DiamondsInUse() || !(diamond.distanceNm <= reachNm))
        return {};
    // Entry 1 of a station's streams is 6 hours before high water, 13 is 6 after.
    return TideStreams[diamond.station][std::clamp(hour, -6, 6) + 7];
}

void FindNearestTideStation()
{
    if (!ManualTideOff)
        return;
    const NearestDiamond nearest = FindNearestDiamond(CurLat, CurLon);
    const TideFlow flow = StreamAt(nearest, TideHour, TideStreamReachNm());
    TideSet = flow.set;
    TideDrift = flow.rate / 10.0;
    if (nearest.station > 0) {
        NearestTideStation = static_cast<int16_t>(nearest.station);
        NearestDistance = nearest.distanceNm;
    }
}

void ComputeDeadReckoning()
{
    const double courseRad = (DRCourseSource == 0 ? WaypointBearing : NavCourse) * kDegToRad;
    const double degPerSecond = (DRSpeedSource == 0 ? ManualSpeed : NavSpeed) / kKnotsPerDegLatPerSecond;
    const double seconds = FixIntervalMs / 1000.0;
    const double cosPresentLat = std::cos(CurLat * kDegToRad);
    const int n = RecordsInUse();
    // At a pole a degree of longitude has no length; stay where we are.
    if (n < 1 || std::abs(cosPresentLat) < 1e-9) {
        DRLat = CurLat;
        DRLon = CurLon;
    } else {
        const LogRecord& last = LogRecords[n];
        DRLat = last.lat + std::cos(courseRad) * degPerSecond * seconds;
        DRLon = NormalLongitude(
            last.lon - std::sin(courseRad) * seconds * degPerSecond / std::abs(cosPresentLat));
    }
    FixStatus = "DR";
}
