#include "nav/SurveyLog.h"

#include "rtl/Numbers.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace
{

char Upper(char c)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// Minutes after the degrees: "5048.1234" with two degree digits is 50 deg
// 48.1234 min.
double DegreesAndMinutes(std::string_view text, std::size_t degreeDigits)
{
    const std::string_view degrees = text.substr(0, std::min(degreeDigits, text.size()));
    const std::string_view minutes
        = text.size() > degreeDigits ? text.substr(degreeDigits, 12) : std::string_view();
    return rtl::RealOr(degrees) + rtl::RealOr(minutes) / 60;
}

} // namespace

int TemplateFieldNumber(std::string_view t, char letter)
{
    const char wanted = Upper(letter);
    const std::size_t n = t.size();
    int field = 1;
    // i is 1-based, as the walk is described: t[i - 1] is the character at i.
    for (std::size_t i = 1;; ++i) {
        if (i >= 2 && i <= n && t[i - 2] == '@' && Upper(t[i - 1]) == wanted)
            break;
        if (i >= n)
            break;
        const char c = Upper(t[i - 1]);
        if (c == 'P' || c == '>') {
            field += 3;
            if (i < n && t[i] == ':') {
                ++field;
                i += 2; // the ':' and the digit after it
            }
        }
        if (i <= n && t[i - 1] == ',' && i >= 3 && t[i - 3] == '@')
            ++field;
    }
    return field;
}

namespace
{

// Field n of a line, where it lies in the line.
std::optional<std::string_view> CsvFieldView(std::string_view line, int n)
{
    if (n < 1)
        return std::nullopt;
    // The line is read with a comma before it: field n lies after the n-th
    // comma, up to the next comma or the end.
    std::size_t start = 0;
    for (int k = 1; k < n; ++k) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos)
            return std::nullopt;
        start = comma + 1;
    }
    const std::size_t end = line.find(',', start);
    return line.substr(start, end == std::string_view::npos ? line.npos : end - start);
}

} // namespace

std::optional<std::string> CsvField(std::string_view line, int n)
{
    const auto field = CsvFieldView(line, n);
    if (!field)
        return std::nullopt;
    return std::string(*field);
}

double LeadingNumber(std::string_view text)
{
    const std::size_t blank = text.find(' ');
    return rtl::RealOr(text.substr(0, blank == std::string_view::npos ? 79 : blank));
}

std::optional<SurveyPosition> ParseSurveyPosition(std::string_view line, int f)
{
    const auto lat = CsvFieldView(line, f), ns = CsvFieldView(line, f + 1), lon = CsvFieldView(line, f + 2),
               ew = CsvFieldView(line, f + 3);
    if (!lat || !ns || !lon || !ew)
        return std::nullopt;
    SurveyPosition p;
    p.lat = DegreesAndMinutes(*lat, 2);
    if (*ns == "S")
        p.lat = -p.lat;
    p.lon = DegreesAndMinutes(*lon, 3);
    if (*ew == "E")
        p.lon = -p.lon;
    return p;
}

uint32_t BlobColour(double value, double range)
{
    static constexpr uint32_t kTenths[] = { 0x000000, 0x800000, 0x800080, 0x008000, 0x808000, 0xFF0000,
        0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFFFFFF };
    for (int i = 0; i <= 100; ++i)
        if (i * range / 100 < value && value <= (i + 1) * range / 100)
            return kTenths[i / 10];
    // Outside the scale: the lowest colour below it, the highest above.
    return value > 0 ? kTenths[10] : kTenths[0];
}

const char* SurveyLogFaultText(SurveyLogFault fault)
{
    switch (fault) {
    case SurveyLogFault::NotALog:
        return "Log file format error! (Possibly not a KVNAV Text Log)";
    case SurveyLogFault::BadLine:
        return "Log file format error !";
    case SurveyLogFault::None:
        break;
    }
    return "";
}

int ClampedPixel(double value)
{
    constexpr double kLimit = 1e9; // far off any plot, well inside int
    if (std::isnan(value))
        return 0;
    return static_cast<int>(rtl::Round(std::clamp(value, -kLimit, kLimit)));
}

int TrendGain(int typed)
{
    return std::max(typed, 1);
}

int TrendGainStep(int gain)
{
    return gain < 100 ? 1 : 100;
}

std::string TrendFullScaleHint(int gain)
{
    return "Full Scale=" + rtl::StrReal(4500.0 / TrendGain(gain), 0, 2) + "|";
}

int TrendRow(double value, int gain, bool reversed)
{
    const double offset = double(gain) * value / 100;
    return kTrendPlotHeight / 2 + ClampedPixel(reversed ? offset : -offset);
}

std::string TrendValueText(double value, int gain)
{
    return rtl::StrReal(value, 0, gain >= 1000 ? 4 : 2);
}

int64_t TrendRecordAt(int64_t fixNumber, int x)
{
    return fixNumber * x / kTrendPlotWidth;
}

TrendSelection OrderTrendSelection(int64_t pressRecord, int pressX, int64_t releaseRecord, int releaseX)
{
    if (releaseRecord < pressRecord || (releaseRecord == pressRecord && releaseX < pressX))
        return { releaseRecord, pressRecord, releaseX, pressX };
    return { pressRecord, releaseRecord, pressX, releaseX };
}
