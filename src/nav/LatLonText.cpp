#include "nav/LatLonText.h"

#include "rtl/Numbers.h"

#include <cmath>

namespace
{

constexpr double kMaxLatitude = 84.0;
constexpr double kMinLatitude = -80.0;
constexpr char kDegreeSign = '\xB0';

double ClampLatitude(double latitude)
{
    if (latitude > kMaxLatitude)
        return kMaxLatitude;
    if (!(latitude >= kMinLatitude)) // also NaN
        return kMinLatitude;
    return latitude;
}

char UpperAt(const std::string& text, std::size_t position)
{
    if (position - 1 >= text.size())
        return '\0';
    const char c = text[position - 1];
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The full text is `degreeDigits` + 10 characters: degrees, the degree sign,
// MM.MMMMM and the hemisphere letter.
std::string Completed(std::string text, std::size_t degreeDigits, char defaultHemisphere)
{
    if (text.empty())
        return std::string(degreeDigits, '0') + kDegreeSign + "00.00000" + defaultHemisphere;
    if (text.size() >= 13)
        return text;
    const char hemisphere = text.back();
    text.pop_back();
    text.append(12, '0');
    text.resize(degreeDigits + 9);
    return text + hemisphere;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// `degreeDigits` digits, the degree sign, "MM.MMMMM" and one of the two
// hemisphere letters; the value no more than `limit` degrees either way.
LatLonReading ReadWhole(const std::string& text, std::size_t degreeDigits, const char* hemispheres, int limit)
{
    const std::string form = std::string(degreeDigits, '9') + kDegreeSign + "99.99999";
    if (text.size() != form.size() + 1)
        return LatLonReading::Unreadable;
    for (std::size_t i = 0; i < form.size(); ++i)
        if (form[i] == '9' ? !IsDigit(text[i]) : text[i] != form[i])
            return LatLonReading::Unreadable;
    const char hemisphere = UpperAt(text, text.size());
    if (hemisphere != hemispheres[0] && hemisphere != hemispheres[1])
        return LatLonReading::Unreadable;
    // Whole numbers only: degrees, and minutes in hundred-thousandths.
    auto number = [&text](std::size_t first, std::size_t count) {
        int64_t value = 0;
        for (std::size_t i = first; i < first + count; ++i)
            if (text[i] != '.')
                value = value * 10 + (text[i] - '0');
        return value;
    };
    const int64_t degrees = number(0, degreeDigits);
    const int64_t minutes = number(degreeDigits + 1, 8);
    constexpr int64_t kMinute = 100000;
    if (minutes >= 60 * kMinute)
        return LatLonReading::Unreadable;
    if (degrees > limit || (degrees == limit && minutes > 0))
        return LatLonReading::OutOfRange;
    return LatLonReading::Whole;
}

} // namespace

LatLonReading ReadLatitudeWhole(const std::string& text)
{
    return ReadWhole(text, 2, "NS", 90);
}

LatLonReading ReadLongitudeWhole(const std::string& text)
{
    return ReadWhole(text, 3, "WE", 180);
}

std::string CompleteLatitudeText(const std::string& text)
{
    return Completed(text, 2, 'N');
}

std::string CompleteLongitudeText(const std::string& text)
{
    return Completed(text, 3, 'W');
}

double NumberInColumns(const std::string& text, std::size_t first, std::size_t count, bool& ok)
{
    const std::string field = first - 1 < text.size() ? text.substr(first - 1, count) : std::string();
    double value = 0.0;
    if (!rtl::ParseReal(field, value) || !std::isfinite(value)) {
        ok = false;
        return 0.0;
    }
    return value;
}

DegreesMinutesText SplitDegreesMinutes(double value, int width, int decimals)
{
    const double magnitude = std::fabs(value);
    int64_t degrees = rtl::Trunc(magnitude);
    std::string minutes = rtl::ZeroFilledReal(rtl::Frac(magnitude) * 60.0, width, decimals);
    if (rtl::RealOr(minutes) >= 60.0) {
        ++degrees;
        minutes = rtl::ZeroFilledReal(0.0, width, decimals);
    }
    return { degrees, minutes };
}

void FormatLatLonDM(double latitude, double longitude, std::string& latitudeText, std::string& longitudeText)
{
    latitude = ClampLatitude(latitude);
    if (!std::isfinite(longitude))
        longitude = 0.0;
    const DegreesMinutesText lat = SplitDegreesMinutes(latitude, 8, 5);
    const DegreesMinutesText lon = SplitDegreesMinutes(longitude, 8, 5);
    latitudeText
        = rtl::ZeroFilledInt(lat.degrees, 2) + kDegreeSign + lat.minutes + (latitude >= 0 ? "N" : "S");
    longitudeText
        = rtl::ZeroFilledInt(lon.degrees, 3) + kDegreeSign + lon.minutes + (longitude >= 0 ? "W" : "E");
}

bool ParseLatLonDM(
    const std::string& latitudeText, const std::string& longitudeText, double& latitude, double& longitude)
{
    bool ok = true;
    latitude = NumberInColumns(latitudeText, 1, 2, ok) + NumberInColumns(latitudeText, 4, 8, ok) / 60.0;
    if (UpperAt(latitudeText, 12) == 'S')
        latitude = -latitude;
    latitude = ClampLatitude(latitude);
    longitude = NumberInColumns(longitudeText, 1, 3, ok) + NumberInColumns(longitudeText, 5, 8, ok) / 60.0;
    if (UpperAt(longitudeText, 13) == 'E')
        longitude = -longitude;
    return ok;
}
