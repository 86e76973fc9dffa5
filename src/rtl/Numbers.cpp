#include "rtl/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace rtl
{

namespace
{

// More decimals than a double can carry add nothing but zeros.
constexpr int kMaxDecimals = 40;
constexpr double kInt64Top = 9223372036854775808.0; // 2^63

int64_t Clamped(double integral)
{
    if (integral >= kInt64Top)
        return std::numeric_limits<int64_t>::max();
    if (integral < -kInt64Top)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(integral);
}

std::string PadLeft(std::string text, int width)
{
    if (width > 0 && text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string NonFiniteText(double value)
{
    if (std::isnan(value))
        return "Nan";
    return value < 0 ? "-Inf" : "+Inf";
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Drops surrounding blanks and steps `i` past a leading sign; true for '-'.
bool TrimAndTakeSign(std::string_view& text, std::size_t& i)
{
    text = TrimBlanks(text);
    i = 0;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        i = 1;
        return text[0] == '-';
    }
    return false;
}

std::string BlanksToZeros(std::string text)
{
    for (char& c : text)
        if (c == ' ')
            c = '0';
    return text;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Rounds the plain decimal text of a non-negative number ("123.4567...") to
// `decimals` places, half away from zero.
std::string RoundDecimalText(const std::string& digits, int decimals)
{
    const std::size_t point = digits.find('.');
    std::string intPart = digits.substr(0, point);
    std::string fracPart = point == std::string::npos ? std::string() : digits.substr(point + 1);
    const std::size_t keep = static_cast<std::size_t>(decimals);
    bool roundUp = fracPart.size() > keep && fracPart[keep] >= '5';
    fracPart.resize(keep, '0');
    std::string all = intPart + fracPart;
    if (roundUp) {
        int i = static_cast<int>(all.size()) - 1;
        while (i >= 0 && all[static_cast<std::size_t>(i)] == '9')
            all[static_cast<std::size_t>(i--)] = '0';
        if (i < 0)
            all.insert(0, 1, '1');
        else
            ++all[static_cast<std::size_t>(i)];
    }
    std::string out = all.substr(0, all.size() - keep);
    if (keep > 0)
        out += "." + all.substr(all.size() - keep);
    return out;
}

} // namespace

int64_t Round(double x)
{
    if (std::isnan(x))
        return 0;
    const double lower = std::floor(x);
    const double diff = x - lower; // exact for every double
    double r = lower;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(lower, 2.0) != 0.0))
        r = lower + 1.0;
    return Clamped(r);
}

int64_t Trunc(double x)
{
    if (std::isnan(x))
        return 0;
    return Clamped(std::trunc(x));
}

double Frac(double x)
{
    return x - std::trunc(x);
}

std::string StrInt(int64_t value, int width)
{
    return PadLeft(std::to_string(value), width);
}

std::string StrReal(double value, int width, int decimals)
{
    if (!std::isfinite(value))
        return PadLeft(NonFiniteText(value), width);
    if (decimals < 0)
        return PadLeft(RealText(value), width);
    // The decimal expansion far enough past the last kept digit that an exact
    // half is told apart from a value just below or above it, then rounded
    // half away from zero.
    if (decimals > kMaxDecimals)
        decimals = kMaxDecimals;
    const int precision = decimals + 30;
    char buf[512]; // 309 integer digits, the point and at most 70 decimals
    const int len = std::snprintf(buf, sizeof buf, "%.*f", precision, std::fabs(value));
    std::string text = RoundDecimalText(std::string(buf, static_cast<std::size_t>(len)), decimals);
    if (value < 0)
        text.insert(0, 1, '-');
    return PadLeft(std::move(text), width);
}

std::string RealText(double value)
{
    if (!std::isfinite(value))
        return PadLeft(NonFiniteText(value), 23);
    char buf[40];
    // "%.14E" gives d.ddddddddddddddE+xx with two or three exponent digits.
    std::snprintf(buf, sizeof buf, "%.14E", std::fabs(value));
    std::string mantissa(buf);
    const std::size_t e = mantissa.find('E');
    const int exponent = std::atoi(mantissa.c_str() + e + 1);
    char expText[16];
    std::snprintf(expText, sizeof expText, "%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
    const bool negative = value < 0;
    return std::string(1, negative ? '-' : ' ') + mantissa.substr(0, e) + "E" + expText;
}

bool HoldsNonFiniteText(std::string_view text)
{
    return text.find("Nan") != std::string_view::npos || text.find("Inf") != std::string_view::npos;
}

std::string ZeroFilledReal(double value, int width, int decimals)
{
    return BlanksToZeros(StrReal(value, width, decimals));
}

std::string ZeroFilledInt(int64_t value, int width)
{
    return BlanksToZeros(StrInt(value, width));
}

bool ParseReal(std::string_view text, double& out)
{
    std::size_t i = 0;
    const bool negative = TrimAndTakeSign(text, i);
    const std::size_t numberStart = i;
    std::size_t intDigits = 0, fracDigits = 0;
    long leadingPlace = 0; // decimal place of the first non-zero digit, for range checks
    bool seenNonZero = false;
    while (i < text.size() && IsDigit(text[i])) {
        if (text[i] != '0' && !seenNonZero) {
            seenNonZero = true;
            leadingPlace = 0;
        }
        if (seenNonZero)
            ++leadingPlace;
        ++i;
        ++intDigits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            if (text[i] != '0' && !seenNonZero) {
                seenNonZero = true;
                leadingPlace = -static_cast<long>(fracDigits);
            }
            ++i;
            ++fracDigits;
        }
    }
    if (intDigits + fracDigits == 0)
        return false;
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            expNegative = text[i++] == '-';
        if (i >= text.size() || !IsDigit(text[i]))
            return false;
        while (i < text.size() && IsDigit(text[i])) {
            if (exponent < 100000)
                exponent = exponent * 10 + (text[i] - '0');
            ++i;
        }
        if (expNegative)
            exponent = -exponent;
    }
    if (i != text.size())
        return false;

    double value = 0.0;
    const char* first = text.data() + numberStart;
    const char* last = text.data() + text.size();
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small to hold reads as 0; too large does not parse.
        if (!seenNonZero || leadingPlace + exponent < 0)
            value = 0.0;
        else
            return false;
    } else if (result.ec != std::errc() || result.ptr != last) {
        return false;
    }
    out = negative ? -value : value;
    return true;
}

bool ParseInt(std::string_view text, int64_t& out)
{
    std::size_t i = 0;
    const bool negative = TrimAndTakeSign(text, i);
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    }
    if (i >= text.size())
        return false;
    uint64_t magnitude = 0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    const auto result = std::from_chars(first, last, magnitude, base);
    if (result.ec != std::errc() || result.ptr != last)
        return false;
    const uint64_t limit = negative ? uint64_t { 1 } << 63 : (uint64_t { 1 } << 63) - 1;
    if (base == 10 && magnitude > limit)
        return false;
    if (base == 16 && magnitude > limit) {
        // Hexadecimal texts give the bit pattern, as the runtime did ($FFFFFFFFFFFFFFFF = -1).
        if (negative)
            return false;
        out = static_cast<int64_t>(magnitude);
        return true;
    }
    out = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

double RealOr(std::string_view text, double fallback)
{
    double value = fallback;
    return ParseReal(text, value) ? value : fallback;
}

int64_t IntOr(std::string_view text, int64_t fallback)
{
    int64_t value = fallback;
    return ParseInt(text, value) ? value : fallback;
}

} // namespace rtl
