#include "mainwin/FixCycle.h"

#include "nav/LocalClock.h"
#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "rtl/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace
{

constexpr double kSecondsPerDay = 86400.0;

// Two digits of a sentence's time field at `at`, or -1 when they are not
// both there and digits.
int TwoDigitsAt(std::string_view text, std::size_t at)
{
    if (text.size() < at + 2)
        return -1;
    const char high = text[at];
    const char low = text[at + 1];
    if (high < '0' || high > '9' || low < '0' || low > '9')
        return -1;
    return (high - '0') * 10 + (low - '0');
}

std::string HhNnSs(int hour, int minute, int second)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d", hour % 100, minute % 100, second % 100);
    return text;
}

} // namespace

FixClock GetFixTime(bool useSentenceTime, std::string_view sentenceTime)
{
    FixClock t;
    const int hh = TwoDigitsAt(sentenceTime, 0);
    const int mm = TwoDigitsAt(sentenceTime, 2);
    const int ss = TwoDigitsAt(sentenceTime, 4);
    // A field that is short, not numeric or not a time of day cannot stamp
    // the fix: the PC's clock does.
    if (useSentenceTime && hh >= 0 && hh <= 23 && mm >= 0 && mm <= 59 && ss >= 0 && ss <= 59) {
        t.hour = ((hh + UtcHourOffset) % 24 + 24) % 24;
        t.minute = mm;
        t.second = ss;
        FixTimeText = sentenceTime;
        t.minutes = t.hour * 60.0 + t.minute + t.second / 60.0;
    } else {
        const LocalDateTime now = LocalNow();
        t.hour = now.hour;
        t.minute = now.minute;
        t.second = now.second;
        t.millisecond = now.millisecond;
        t.minutes = now.MinutesOfDay();
        FixTimeText = HhNnSs(t.hour, t.minute, t.second);
    }
    FixTime = (t.hour * 3600.0 + t.minute * 60.0 + t.second) / kSecondsPerDay;
    return t;
}

void ThinAutoTrack()
{
    LogCount = static_cast<int16_t>(std::clamp<int>(LogCount, 0, kMaxLogRecords));
    if (LogCount < kMaxLogRecords) {
        ++LogCount;
        return;
    }
    if (ThinStep > 0 && ThinIndex < kMaxLogRecords) {
        ++ThinCounter;
        if (ThinCounter >= ThinStep) {
            ++ThinIndex;
            ThinCounter = 0;
        }
    } else {
        ThinIndex = 2;
    }
    if (ThinStep == 0)
        ThinIndex = 1;
    // A removal point from a damaged state never reaches outside the store.
    ThinIndex = static_cast<int16_t>(std::clamp<int>(ThinIndex, 1, kMaxLogRecords));
    for (int i = ThinIndex; i < kMaxLogRecords; ++i)
        LogRecords[i] = LogRecords[i + 1];
}

bool CountTowardsRecentre(int16_t& fixesSinceRedraw, int drawEveryN)
{
    ++fixesSinceRedraw;
    if (fixesSinceRedraw <= drawEveryN)
        return false;
    fixesSinceRedraw = 1;
    return true;
}

void AddLegToTrip()
{
    const int n = std::clamp<int>(LogCount, 0, kMaxLogRecords);
    if (n < 2) {
        TripLeg = 0;
        return;
    }
    const LogRecord& previous = LogRecords[n - 1];
    const LogRecord& last = LogRecords[n];
    const double legNm = FlatDistanceNm(previous.lat, previous.lon, last.lat, last.lon);
    TripLeg = legNm * DistanceFactor;
    TripTotal += legNm;
}

XteGaugeReading ReadXteGauge(double xte, double deadband, uint32_t shownColour, bool onlyOnChange)
{
    XteGaugeReading reading;
    reading.position = static_cast<int>(-rtl::Round(std::abs(xte) >= 1 ? xte * 10 : xte * 100));
    if (xte > deadband) {
        reading.colour = kGaugeRed;
        reading.cue = "left.wav";
    } else if (xte < -deadband) {
        reading.colour = kGaugeLime;
        reading.cue = "right.wav";
    }
    reading.cueDue = !onlyOnChange || reading.colour != shownColour;
    return reading;
}

bool RestartRoute(RouteCompletion completion)
{
    // The end is reached by advancing past the last waypoint, or by arriving
    // at the route's last (reversed: first) waypoint; a leg ended at an
    // intermediate waypoint waits for the next one to be chosen.
    const int lastArrival = ReverseRoute ? 1 : RouteCount;
    const bool endReached
        = ActiveWaypoint == RouteCount + 1 || (ActiveWaypoint == 0 && ArrivedWaypoint == lastArrival);
    if (completion == RouteCompletion::Prompt || RouteCount < 2 || !endReached)
        return false;
    if (completion == RouteCompletion::Reverse) {
        ReverseRoute = !ReverseRoute;
        ActiveWaypoint = static_cast<int16_t>(ReverseRoute ? RouteCount - 1 : 2);
    } else {
        ActiveWaypoint = 1;
    }
    ArrivedWaypoint = 0;
    ComputeWaypointLeg();
    XteRefCourse = WaypointBearing;
    return true;
}

bool ApplyHeadingUp(int course, int deadband)
{
    constexpr double kRadToDeg = 180.0 / std::numbers::pi;
    const double wanted = 360.0 - course;
    double apart = std::fmod(ViewRotation * kRadToDeg - wanted, 360.0);
    if (apart > 180.0)
        apart -= 360.0;
    else if (apart < -180.0)
        apart += 360.0;
    // A small allowance so a rotation set from the same course is kept in
    // spite of the round trip through radians.
    if (std::abs(apart) <= deadband + 1e-9)
        return false;
    ViewRotation = wanted / kRadToDeg;
    ViewRotationCos = std::cos(ViewRotation);
    ViewRotationSin = std::sin(ViewRotation);
    return true;
}
