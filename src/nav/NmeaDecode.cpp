#include "nav/NmeaDecode.h"

#include "nav/NavState.h"
#include "nav/NmeaField.h"
#include "nav/NmeaTemplate.h"
#include "rtl/Numbers.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace nav
{

namespace
{

bool IsHexDigit(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits with at most one '.', at least one digit: no sign, blank or exponent.
std::optional<double> PlainDecimal(std::string_view text)
{
    int points = 0, digits = 0;
    for (char c : text) {
        if (c == '.')
            ++points;
        else if (IsDigit(c))
            ++digits;
        else
            return std::nullopt;
    }
    double value = 0;
    if (points > 1 || digits == 0 || !rtl::ParseReal(text, value))
        return std::nullopt;
    return value;
}

// Whether a position field reads, and whether any place on earth has it.
struct AngleRead {
    std::optional<double> degrees; // unsigned; nullopt: empty, cut or garbled
    bool possible = true; // false: minutes of 60 or more, or beyond `limit` degrees
};

AngleRead DegreesAndMinutes(
    std::string_view field, std::size_t degreeDigits, std::size_t maxMinuteChars, double limit)
{
    if (field.size() <= degreeDigits)
        return {};
    const std::optional<double> degrees = PlainDecimal(field.substr(0, degreeDigits));
    const std::optional<double> minutes = PlainDecimal(field.substr(degreeDigits, maxMinuteChars));
    if (!degrees || !minutes)
        return {};
    const double value = *degrees + *minutes / 60.0;
    return { value, *minutes < 60.0 && value <= limit };
}

AngleRead LatitudeField(std::string_view field)
{
    return DegreesAndMinutes(field, 2, 12, 90.0);
}

AngleRead LongitudeField(std::string_view field)
{
    return DegreesAndMinutes(field, 3, std::string_view::npos, 180.0);
}

std::optional<double> Signed(const AngleRead& read, bool negative)
{
    if (!read.degrees || !read.possible)
        return std::nullopt;
    return negative ? -*read.degrees : *read.degrees;
}

// The sentence kind, characters 4 to 6 of its identifier ("$GPRMC" -> "RMC").
std::string_view SentenceKind(std::string_view sentence)
{
    return sentence.substr(std::min<std::size_t>(3, sentence.size()), 3);
}

// The field that holds the latitude of a position sentence (the longitude two
// on), or 0 for a sentence that carries no position.
int LatitudeFieldOf(std::string_view kind)
{
    if (kind == "RMC")
        return 3;
    if (kind == "GGA" || kind == "COM")
        return 2;
    return 0;
}

// An optional number field: empty reads as 0; nullopt for text that is not a
// number.
std::optional<double> NumberOrZero(std::string_view field)
{
    double value = 0;
    if (field.empty())
        return 0.0;
    if (!rtl::ParseReal(field, value))
        return std::nullopt;
    return value;
}

struct Indicator {
    const char* caption;
    uint32_t colour;
    const char* hint; // nullptr: unchanged
    const char* quality;
    bool valid;
};

const Indicator kNoFix { "GPS", kIndicatorRed, "No GPS Position|", "0", false };
const Indicator kGpsFix { "GPS", kIndicatorLime, "GPS Position|", "1", true };
const Indicator kDgpsFix { "DGPS", kIndicatorLime, "Differential GPS Position|", "2", true };

void Show(NmeaDecodeResult& r, const Indicator& kind)
{
    r.caption = kind.caption;
    r.colour = kind.colour;
    if (kind.hint)
        r.hint = kind.hint;
    r.fixQuality = kind.quality;
    r.fixValid = kind.valid;
}

void ReadPosition(NmeaDecodeResult& r, std::string_view s, int latField)
{
    r.lat = ReadNmeaLatitude(GetNmeaField(s, latField), GetNmeaField(s, latField + 1));
    r.lon = ReadNmeaLongitude(GetNmeaField(s, latField + 2), GetNmeaField(s, latField + 3));
}

// $GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A
//   1 time, 2 status A/V, 3-4 latitude, 5-6 longitude, 7 speed, 8 course,
//   9 date, 10-11 magnetic variation (degrees, E/W)
void DecodeRmc(NmeaDecodeResult& r, std::string_view s)
{
    const std::string status = GetNmeaField(s, 2);
    if (status == "V")
        Show(r, kNoFix);
    else if (status == "A")
        Show(r, kGpsFix);
    ReadPosition(r, s, 3);
    r.timeText = GetNmeaField(s, 1);
    r.satCount = "";
    r.hdop = 0.0;
    const std::string variationField = GetNmeaField(s, 10);
    if (variationField.empty())
        return; // many receivers give none: the variation set stays
    double variation = 0;
    if (!rtl::ParseReal(variationField, variation)) {
        r.failed = true;
        return;
    }
    // Without its hemisphere, or beyond a half turn, the figure says nothing
    // sure about the variation: the variation set stays.
    const std::string hemisphere = GetNmeaField(s, 11);
    const bool west = hemisphere.starts_with('W');
    if ((!west && !hemisphere.starts_with('E')) || !(std::abs(variation) <= 180.0))
        return;
    r.magVariation = static_cast<int16_t>(rtl::Round(west ? -variation : variation));
}

// $GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47
//   1 time, 2-3 latitude, 4-5 longitude, 6 quality, 7 satellites, 8 HDOP,
//   9-14 altitude, geoid and differential data (not read)
void DecodeGga(NmeaDecodeResult& r, std::string_view s, bool playback)
{
    const std::string quality = GetNmeaField(s, 6);
    if (quality == "0") {
        r.caption = "GPS";
        r.colour = kIndicatorRed;
        r.fixQuality = "0";
    } else if (quality == "1") {
        Show(r, kGpsFix);
    } else if (quality == "2") {
        Show(r, kDgpsFix);
    } else if (quality == "5") {
        // The program's own monitor sentence: a fixed shore station.
        r.caption = "MON";
        r.fixQuality = "5";
        r.fixValid = true;
        if (playback) {
            r.colour = kIndicatorRed;
            r.hint = "Playback of an AIS monitor mode log file|";
            r.monitorLog = true;
        } else {
            r.colour = kIndicatorLime;
            r.hint = "Live AIS Monitor mode|";
        }
    }
    ReadPosition(r, s, 2);
    r.timeText = GetNmeaField(s, 1);
    r.satCount = GetNmeaField(s, 7);
    r.hdop = NumberOrZero(GetNmeaField(s, 8));
    if (!r.hdop)
        r.failed = true;
}

// Proprietary position sentence of chart-point capture logs:
//   1 time ("000000": a point to capture), 2-3 latitude, 4-5 longitude,
//   6 quality 0..4, 7 satellites, 8-17 data fields (16 is the HDOP)
void DecodeCom(NmeaDecodeResult& r, std::string_view s)
{
    const std::string quality = GetNmeaField(s, 6);
    if (quality == "0")
        Show(r, kNoFix);
    else if (quality == "1")
        Show(r, kGpsFix);
    else if (quality == "2")
        Show(r, kDgpsFix);
    else if (quality == "3")
        Show(r, { "DGPSX", kIndicatorLime, "Trimble Differential GPS Position|", "3", true });
    else if (quality == "4")
        Show(r, { "DGPSF", kIndicatorLime, "Trimble Differential GPS Position|", "2", true });

    const std::string time = GetNmeaField(s, 1);
    r.comTimeZero = time == "000000";
    if (*r.comTimeZero)
        r.fixValid = true; // a captured point counts whatever the quality
    ReadPosition(r, s, 2);
    r.timeText = time;
    r.satCount = GetNmeaField(s, 7);
    std::array<std::string, 10> fields;
    for (int i = 1; i <= 9; ++i)
        fields[static_cast<std::size_t>(i)] = GetNmeaField(s, 7 + i);
    fields[0] = GetNmeaField(s, 17);
    r.comFields = fields;
    r.hdop = NumberOrZero(fields[9]);
    if (!r.hdop)
        r.failed = true;
}

} // namespace

bool NmeaChecksumOk(std::string_view line)
{
    const std::size_t star = line.find('*');
    if (star == std::string_view::npos)
        return true;
    const std::string_view tail = line.substr(star + 1);
    // The program's own monitor sentence (also in AIS logs) marks its end
    // with "*MON" and carries no checksum.
    if (tail == "MON")
        return true;
    // Anything else after the '*' than two hexadecimal digits is a checksum
    // damaged on the wire.
    if (tail.size() != 2 || !IsHexDigit(tail[0]) || !IsHexDigit(tail[1]))
        return false;
    const std::string stated { '*', static_cast<char>(std::toupper(static_cast<unsigned char>(tail[0]))),
        static_cast<char>(std::toupper(static_cast<unsigned char>(tail[1]))) };
    const int first = line[0] == '$' || line[0] == '!' ? 2 : 1; // 1-based, after the '$' or '!'
    return NmeaChecksum(line.substr(0, star), first) == stated;
}

std::optional<double> ReadNmeaLatitude(std::string_view field, std::string_view hemisphere)
{
    return Signed(LatitudeField(field), hemisphere == "S");
}

std::optional<double> ReadNmeaLongitude(std::string_view field, std::string_view hemisphere)
{
    return Signed(LongitudeField(field), hemisphere == "E");
}

bool NmeaLineIntact(std::string_view line)
{
    if (!NmeaChecksumOk(line))
        return false;
    const int latField = LatitudeFieldOf(SentenceKind(line));
    return latField == 0
        || (LatitudeField(GetNmeaField(line, latField)).possible
            && LongitudeField(GetNmeaField(line, latField + 2)).possible);
}

NmeaDecodeResult DecodeNmeaSentence(std::string_view sentence, bool playback)
{
    NmeaDecodeResult r;
    const std::string_view kind = SentenceKind(sentence);
    if (kind == "RMC")
        DecodeRmc(r, sentence);
    else if (kind == "GGA")
        DecodeGga(r, sentence, playback);
    else if (kind == "COM")
        DecodeCom(r, sentence);
    if (r.fixValid && (!r.lat || !r.lon)) {
        // A fix without a readable position must not move the vessel.
        Show(r, kNoFix);
        r.monitorLog = false;
    }
    if (r.failed) {
        r.fixValid = false;
        r.monitorLog = false;
    }
    return r;
}

void ApplyNmeaDecode(const NmeaDecodeResult& d)
{
    if (d.lat)
        GpsLat = *d.lat;
    if (d.lon)
        GpsLon = *d.lon;
    FixQuality = d.fixQuality;
    if (d.satCount)
        SatCount = *d.satCount;
    if (d.hdop)
        Hdop = *d.hdop;
    if (d.magVariation)
        MagVariation = *d.magVariation;
    if (d.comTimeZero)
        ComTimeZero = *d.comTimeZero;
    if (d.comFields)
        for (std::size_t i = 0; i < d.comFields->size(); ++i)
            NmeaFields[i] = (*d.comFields)[i];
    EpeMetres = 0;
    if (FixQuality == "2")
        EpeMetres = Hdop * 1.6;
    else if (FixQuality == "1")
        EpeMetres = Hdop * 10;
}

} // namespace nav
