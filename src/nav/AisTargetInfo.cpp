#include "nav/AisTargetInfo.h"

#include "nav/AisSelection.h"
#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "nav/NavUpdate.h"
#include "nav/NmeaTemplate.h"
#include "rtl/Numbers.h"

#include <cmath>
#include <cstdio>

namespace nav
{

namespace
{

constexpr uint8_t kBaseStationReport = 4;
constexpr double kMillisecondsPerDay = 86400000.0;
const char* const kNotAvailable = "- Not available";
const char* const kLatNotAvailable = "Lat - Position not available";
const char* const kLongNotAvailable = "Long - Position not available";

// Names, call signs and destinations come '@'-padded to their capacity.
template <std::size_t N> std::string Trimmed(const rtl::ShortString<N>& text)
{
    return TrimNameField(text.view(), 1, int(N));
}

std::string OneDecimal(double value)
{
    return rtl::StrReal(value, 0, 1);
}

std::string TwoDigits(int value)
{
    return rtl::ZeroFilledInt(value, 2);
}

const char* NavStatusText(const AisTargetRecord& t)
{
    static const char* const texts[]
        = { "Under way using engine", "At Anchor", "Not under command", "Restricted Manoeuvrability",
              "Constrained by her draught", "Moored", "Aground", "Engaged in fishing", "Under way sailing" };
    if (t.navStatus == 0 && t.messageType == kBaseStationReport)
        return "Fixed AIS Base Station";
    return t.navStatus <= 8 ? texts[t.navStatus] : "NavStat Reserved";
}

// "dd°mm.mmm H" from a position in 1/10000 minute: degrees two wide, minutes
// five wide with three decimals.
std::string PositionText(int32_t value, char positive, char negative)
{
    const double minutes = std::fabs(value / 10000.0);
    const int degrees = int(minutes / 60);
    char text[48];
    std::snprintf(text, sizeof text, "%2d\xB0%5.3f %c", degrees, minutes - 60.0 * degrees,
        value >= 0 ? positive : negative);
    return text;
}

bool IsDate(int year, int month, int day)
{
    static const int days[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (year <= 0 || month < 1 || month > 12 || day < 1)
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= days[month - 1] + (month == 2 && leap ? 1 : 0);
}

// Time of day "hh:nn:ss" of a date-time value.
std::string TimeOfDayText(double dateTime)
{
    const double fraction = dateTime - std::floor(dateTime);
    const int64_t seconds = int64_t(std::llround(fraction * kMillisecondsPerDay) / 1000) % 86400;
    return TwoDigits(int(seconds / 3600)) + ":" + TwoDigits(int(seconds / 60 % 60)) + ":"
        + TwoDigits(int(seconds % 60));
}

} // namespace

std::string AisAgeText(double age)
{
    const int64_t ms = age > 0 ? std::llround(age * kMillisecondsPerDay) : 0;
    const int64_t seconds = ms / 1000;
    return TwoDigits(int(seconds / 60 % 60)) + ":" + TwoDigits(int(seconds % 60));
}

std::string AisEtaText(int32_t eta, int year)
{
    std::string text = "ETA - ";
    if (eta == 0)
        return text;
    const int month = (eta >> 16) & 0xF;
    const int day = (eta >> 11) & 0x1F;
    const int hour = (eta >> 6) & 0x1F;
    const int minute = eta & 0x3F;
    if (IsDate(year, month, day))
        text += TwoDigits(month) + "/" + TwoDigits(day) + " ";
    if (hour < 24 && minute < 60)
        text += TwoDigits(hour) + ":" + TwoDigits(minute);
    return text;
}

const char* AisRangeUnit(double distanceFactor)
{
    switch (DistanceUnitOf(distanceFactor)) {
    case DistanceUnit::Kilometres:
        return " Km";
    case DistanceUnit::StatuteMiles:
        return " Mls";
    case DistanceUnit::NauticalMiles:
        break;
    }
    return " Nm";
}

std::vector<std::string> AisTargetInfoLines(int i, const AisInfoContext& context)
{
    if (i < 1 || i > AisTargetCount || i > kMaxAisTargets)
        return {};
    const AisTargetRecord& t = AisTargets[i];
    std::vector<std::string> lines;
    lines.push_back("Target " + std::to_string(i) + " of " + std::to_string(AisTargetCount));
    lines.push_back("Age " + AisAgeText(context.now.DateTimeValue() - t.lastHeard));
    lines.push_back("MMSI - " + std::to_string(t.mmsi));
    lines.push_back("Call Sign - " + Trimmed(t.callSign));
    lines.push_back("Name " + Trimmed(t.name));
    lines.push_back("Type of Ship - " + std::to_string(t.shipType));
    lines.push_back("Length - " + std::to_string(t.toBow + t.toStern) + " Mtrs.");
    lines.push_back("Beam - " + std::to_string(t.toPort + t.toStarboard) + " Mtrs.");
    lines.push_back("Max Draft - " + OneDecimal(t.draught / 10.0) + " Mtrs.");
    lines.push_back(NavStatusText(t));
    lines.push_back("SOG " + (AisSpeedAvailable(t) ? OneDecimal(t.speedOverGround / 10.0) : kNotAvailable));
    lines.push_back("COG " + (AisCourseAvailable(t) ? OneDecimal(t.courseOverGround / 10.0) : kNotAvailable));
    lines.push_back("TrueHeading "
        + (AisHeadingAvailable(t) ? std::to_string(t.trueHeading) : std::string(kNotAvailable)));
    // A position that is not available or not valid (latitude 91, longitude
    // 181, exactly 0 N 0 E, or from a positioning system that is
    // inoperative) is said so, and has no range or bearing.
    const bool positioned = AisHasPosition(t);
    lines.push_back(positioned ? "Lat " + PositionText(t.latitude, 'N', 'S') : kLatNotAvailable);
    lines.push_back(positioned ? "Long " + PositionText(t.longitude, 'E', 'W') : kLongNotAvailable);
    lines.push_back("Destination " + Trimmed(t.destination));
    lines.push_back(AisEtaText(t.eta, CurrentYear));

    if (positioned) {
        // From the vessel to the newest trail entry (a target known only by
        // its static data has none: its record position stands in).
        double lat = t.latitude / 600000.0, lonEast = t.longitude / 600000.0;
        if (t.trailCount >= 1 && t.trailCount <= kAisTrailLength) {
            lat = t.trail[t.trailCount].lat;
            lonEast = t.trail[t.trailCount].lon;
        }
        const double range = FlatDistanceNm(CurLat, CurLon, lat, -lonEast) * DistanceFactor;
        const double bearing = BearingDeg(CurLat, CurLon, lat, -lonEast);
        lines.push_back("Range " + OneDecimal(range) + AisRangeUnit(DistanceFactor));
        lines.push_back("Bearing " + OneDecimal(bearing) + " \xB0T");
    } else {
        lines.push_back("Range - Not available");
        lines.push_back("Bearing - Not available");
    }
    lines.push_back("Timed at: " + TimeOfDayText(FixTime) + (context.fixTimeUtc ? " UTC" : " Local"));
    if (!context.playbackName.empty())
        lines.push_back("Date: " + context.playbackName);
    else
        lines.push_back("Date: " + TwoDigits(context.now.day) + "/" + TwoDigits(context.now.month) + "/"
            + std::to_string(context.now.year));
    return lines;
}

std::vector<double> RangeRingsNm(int ringCount)
{
    if (ringCount <= 0)
        return {};
    if (ringCount <= 4)
        return { 0.5, 1, 2, 3, 4 };
    if (ringCount <= 8)
        return { 1, 2, 4, 6, 8 };
    if (ringCount <= 12)
        return { 2, 4, 6, 8, 10, 12 };
    return { 4, 8, 12, 16, 20 };
}

const char* RangeRingHint(int ringCount)
{
    if (ringCount <= 0)
        return "Rings off|";
    if (ringCount <= 4)
        return "Rings 0.5,1,2,3,4 Nm|";
    if (ringCount <= 8)
        return "Rings 1,2,4,6,8 Nm|";
    if (ringCount <= 12)
        return "Rings 2,4,6,8,10,12 Nm|";
    return "Rings 4,8,12,16,20 Nm|";
}

int RingCountUp(int ringCount)
{
    return ringCount < 15 ? ringCount + 2 : ringCount;
}

int RingCountDown(int ringCount)
{
    return ringCount > 1 ? ringCount - 2 : ringCount;
}

} // namespace nav
