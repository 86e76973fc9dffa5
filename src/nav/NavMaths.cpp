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

// Records spanned by the speed and course average: AverageN, or all but the
// last one while the log is shorter; at least one, so a setting of 0 or less
// still measures over the last two records.
int AveragedSpan(int n)
{
    const int k = n > AverageN ? AverageN : n - 1;
    return std::max(k, 1);
}

} // namespace

double FlatDistanceNm(double lat1, double lon1, double lat2, double lon2)
{
    const double dlat = lat1 - lat2;
    const double dlon = (lon1 - lon2) * CosLat;
    return 60.0 * std::sqrt(dlat * dlat + dlon * dlon);
}

double BearingAtanDeg(double aLat, double aLon, double bLat, double bLon)
{
    return std::atan((aLat - bLat) / (aLon - bLon + 1e-9) / CosLat) * kRadToDeg;
}

double BearingDeg(double aLat, double aLon, double bLat, double bLon)
{
    return BearingAtanDeg(aLat, aLon, bLat, bLon) + (aLon < bLon ? 270.0 : 90.0);
}

int WholeBearingDeg(double aLat, double aLon, double bLat, double bLon)
{
    return static_cast<int>(rtl::Round(BearingAtanDeg(aLat, aLon, bLat, bLon))) + (aLon < bLon ? 270 : 90);
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

void FindNearestTideStation()
{
    if (!ManualTideOff)
        return;
    TideDrift = 0;
    TideSet = 0;
    const int count = std::min<int>(TideStationCount, kMaxTideStations);
    if (count < 1)
        return;
    // Entry 1 of a station's streams is 6 hours before high water, 13 is 6 after.
    const int hourEntry = std::clamp<int>(TideHour, -6, 6) + 7;
    double best = 99999.0;
    for (int i = 1; i <= count; ++i) {
        const double distance = FlatDistanceNm(CurLat, CurLon, TideStations[i].lat, TideStations[i].lon);
        if (best > distance) {
            const TideFlow& flow = TideStreams[i][hourEntry];
            NearestTideStation = static_cast<int16_t>(i);
            TideSet = flow.set;
            TideDrift = flow.rate / 10.0;
            best = distance;
        }
    }
    NearestDistance = best;
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
        DRLon = last.lon - std::sin(courseRad) * seconds * degPerSecond / std::abs(cosPresentLat);
    }
    FixStatus = "DR";
}
