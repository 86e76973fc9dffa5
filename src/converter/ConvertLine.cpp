#include "converter/ConvertLine.h"

#include "nav/geodesy/Grid_Lat.h"
#include "rtl/Numbers.h"

#include <cmath>
#include <string_view>

namespace converter
{

namespace
{

// The largest latitude and longitude a position can have.
constexpr double kMaxLatitude = 90.0, kMaxLongitude = 180.0;
constexpr double kMinutesPerDegree = 60.0;

// The grid box: positions outside it are not in the OS GB grid's area.
constexpr double kGridSouth = 49.0, kGridNorth = 61.0; // degrees north
constexpr double kGridWest = -7.5, kGridEast = 2.0; // degrees east

// The text before the first `separator` and the text after it. Without a
// separator in the line, the first value is empty and the second is the
// whole line.
std::pair<std::string, std::string> SplitAt(const std::string& line, std::optional<char> separator)
{
    const std::size_t at = separator ? line.find(*separator) : std::string::npos;
    if (at == std::string::npos)
        return { std::string(), line };
    return { line.substr(0, at), line.substr(at + 1) };
}

// A number read whole from the text (blanks around it allowed) and finite.
std::optional<double> NumberOf(std::string_view text)
{
    double value = 0.0;
    if (!rtl::ParseReal(text, value) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The chart point of a position, longitude east positive.
ChartPoint PointOf(double lat, double lonEast, int lineStyleOffset)
{
    return ChartPoint { rtl::Real6(lineStyleOffset + lat), rtl::Real6(-lonEast) };
}

// Sets the point from a position read from the line; a value that was not
// read, or lies beyond the poles or the date line, makes no point.
void TakePosition(std::optional<double> lat, std::optional<double> lonEast, const TLineOptions& options,
    ChartPoint& point, TLineResult& result)
{
    if (!lat || !lonEast || std::fabs(*lat) > kMaxLatitude || std::fabs(*lonEast) > kMaxLongitude) {
        result.unreadable = true;
        return;
    }
    point = PointOf(*lat, *lonEast, options.lineStyleOffset);
}

TLineResult ConvertGrid(const std::string& line, const TLineOptions& options, ChartPoint& point)
{
    const auto [eastingText, northingText] = SplitAt(line, ' ');
    const std::optional<double> easting = NumberOf(eastingText), northing = NumberOf(northingText);
    if (!easting || !northing) {
        TLineResult result;
        result.display = line;
        result.unreadable = true;
        return result;
    }
    double lat = 0.0, lonEast = 0.0;
    bool notConverged = false;
    geodesy::OSGridToLatLong(*easting, *northing, lat, lonEast, notConverged);

    const std::string latText = rtl::StrReal(lat, 12, 8);
    const std::string lonText = rtl::StrReal(lonEast, 12, 8);
    TLineResult result;
    result.display = (latText + lonText).substr(1);
    // NaN fails every comparison, so it lands outside the box.
    if (lat > kGridSouth && lat < kGridNorth && lonEast > kGridWest && lonEast < kGridEast) {
        point = PointOf(lat, lonEast, options.lineStyleOffset);
    } else {
        result.rejected = latText + " " + lonText;
        point = PenUpPoint;
    }
    return result;
}

TLineResult ConvertDecimal(const std::string& line, const TLineOptions& options, ChartPoint& point)
{
    const auto [firstText, secondText] = SplitAt(line, options.separator);
    const std::optional<double> first = NumberOf(firstText), second = NumberOf(secondText);
    TLineResult result;
    result.display = line;
    if (options.reverse)
        TakePosition(second, first, options, point, result);
    else
        TakePosition(first, second, options, point, result);
    return result;
}

// One value written degrees "." minutes, the minutes with their own point:
// "51.22.7587" is 51°22.7587'. A minutes text without a point has one put
// before its third character (227587 reads as 22.7587).
struct TDegreesMinutes {
    std::string degrees;
    std::string minutes;

    explicit TDegreesMinutes(const std::string& text)
    {
        const std::size_t dot = text.find('.');
        if (dot == std::string::npos) {
            minutes = text;
        } else {
            degrees = text.substr(0, dot);
            minutes = text.substr(dot + 1);
        }
        if (minutes.find('.') == std::string::npos)
            minutes.insert(std::min<std::size_t>(2, minutes.size()), 1, '.');
    }

    // The minutes take the sign of the degrees: -1.50.4737 is -1.8412283°.
    // Nothing when either part is not a number or the minutes are not
    // below 60.
    std::optional<double> value() const
    {
        const std::optional<double> whole = NumberOf(degrees), part = NumberOf(minutes);
        if (!whole || !part || *part < 0.0 || *part >= kMinutesPerDegree)
            return std::nullopt;
        const std::size_t sign = degrees.find_first_not_of(' ');
        const bool negative = sign != std::string::npos && degrees[sign] == '-';
        return negative ? *whole - *part / kMinutesPerDegree : *whole + *part / kMinutesPerDegree;
    }

    std::string text() const { return degrees + "." + minutes; }
};

TLineResult ConvertDegreesMinutes(const std::string& line, const TLineOptions& options, ChartPoint& point)
{
    const auto [firstText, secondText] = SplitAt(line, options.separator);
    const TDegreesMinutes first(firstText), second(secondText);
    TLineResult result;
    result.display = first.text() + " " + second.text();
    if (options.reverse)
        TakePosition(second.value(), first.value(), options, point, result);
    else
        TakePosition(first.value(), second.value(), options, point, result);
    return result;
}

} // namespace

TLineResult ConvertLine(const std::string& line, const TLineOptions& options, ChartPoint& point)
{
    switch (options.format) {
    case TInputFormat::Grid:
        return ConvertGrid(line, options, point);
    case TInputFormat::DecimalDegrees:
        return ConvertDecimal(line, options, point);
    case TInputFormat::DegreesMinutes:
        return ConvertDegreesMinutes(line, options, point);
    case TInputFormat::DegreesMinutesSeconds:
        break;
    }
    return {};
}

std::optional<char> SeparatorOf(const std::string& choice)
{
    if (choice == "Space")
        return ' ';
    if (choice == "Tab")
        return '\t';
    if (choice.empty())
        return std::nullopt;
    return choice.front();
}

std::vector<std::string> SampleFormat(TInputFormat format, bool reverse)
{
    const std::string heading = "Sample Format Required";
    switch (format) {
    case TInputFormat::Grid:
        return { heading, "Easting    Northing", "553690.6 223163.5", "553691.3 223164.7" };
    case TInputFormat::DecimalDegrees:
        if (reverse)
            return { heading, "Longitude         Latitude", "0.22884737   51.88627587",
                "0.23001422   51.88568446" };
        return { heading, "Latitude         Longitude", "51.88627587  0.22884737",
            "51.88568446  0.23001422" };
    case TInputFormat::DegreesMinutes:
        if (reverse)
            return { heading, "Longitude         Latitude", "001.50.4737  51.22.7587",
                "001.49.9422  51.22.8446" };
        return { heading, "Latitude         Longitude", "51.22.7587  001.50.4737",
            "51.22.8446  001.49.9422" };
    case TInputFormat::DegreesMinutesSeconds:
        break;
    }
    return {};
}

} // namespace converter
