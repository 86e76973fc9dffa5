#pragma once
// Decoding of the NMEA 0183 position sentences that give the own fix:
// "RMC" and "GGA" of any talker, and the proprietary "COM" sentence of
// chart-point capture logs. Plain functions over the sentence text; the main
// window applies the result to the navigation state and its GPS indicator.
//
// Positions are degrees, latitude north positive, longitude WEST positive
// (an "E" hemisphere negates the longitude).
//
// Checked against the recorded receiver logs in the shared NMEA test data
// (ten receivers, their expected values computed independently): checksums,
// time, status or quality, position, variation, satellites and HDOP.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nav
{

// GPS indicator font colours, BGR.
constexpr uint32_t kIndicatorRed = 0x0000FF;
constexpr uint32_t kIndicatorLime = 0x00FF00;
constexpr uint32_t kIndicatorSilver = 0xC0C0C0;

// An NMEA checksum is '*' and two hexadecimal digits (either case) ending the
// line: the XOR of every byte between the leading '$' or '!' and the first
// '*'. True when the line has no '*' at all (many receivers send none), ends
// in the monitor sentence's "*MON", or carries a matching checksum; a '*'
// followed by anything but exactly two hexadecimal digits is a damaged line.
//   "$GPGLL,4916.45,N,12311.12,W,225444,A*31"  true (0x31 matches)
//   "$GPGLL,4916.45,N,12311.12,W,225444,A*32"  false
//   "$GPGLL,4916.45,N,12311.12,W,225444,A*3"   false (damaged)
//   "$KVGGA,...,0000*MON"                      true (no checksum)
bool NmeaChecksumOk(std::string_view line);

// A line as it came off the wire is fit to use: its checksum is right (see
// NmeaChecksumOk) and, for a position sentence (RMC, GGA, COM), no position
// field that reads holds a place no receiver can be at: a latitude beyond
// 90°, a longitude beyond 180°, or minutes of 60 or more. Such a line was
// damaged on the way however its checksum came out.
//   "$GPGGA,120000,9500.0000,N,00100.000,W,1,08,1.0,,,,,,"  false
//   "$GPGGA,120000,5060.0000,N,00100.000,W,1,08,1.0,,,,,,"  false
//   "$GPGGA,120000,,,,,0,00,,,,,,,"                         true (no fix yet)
bool NmeaLineIntact(std::string_view line);

// Latitude field "ddmm.mmmm": degrees from characters 1-2 plus the minutes
// from character 3 on (at most 12 characters of them) / 60, negated for the
// hemisphere "S". Longitude field "dddmm.mmmm": degrees from characters 1-3
// plus minutes from character 4 on / 60, negated for "E". Both parts must be
// plain unsigned decimals (digits with at most one '.') and the minutes must
// not be empty; otherwise nullopt (an empty, cut or garbled field). Minutes
// of 60 or more, or more than 90° of latitude or 180° of longitude, are no
// position either: nullopt.
std::optional<double> ReadNmeaLatitude(std::string_view field, std::string_view hemisphere);
std::optional<double> ReadNmeaLongitude(std::string_view field, std::string_view hemisphere);

// What one sentence says about the fix and how the GPS indicator shows it.
// Fields marked "nullopt: unchanged" are not carried by every sentence kind.
struct NmeaDecodeResult {
    // A number field (HDOP, variation) holds text that is not a number: the
    // sentence is unusable and nothing of it should be applied.
    bool failed = false;
    bool fixValid = false;
    std::string timeText; // field 1: "hhmmss" possibly with decimals
    std::string fixQuality; // "0" none, "1" GPS, "2"/"3" differential, "5" AIS monitor; "" unknown
    std::string caption; // GPS indicator caption ("GPS", "DGPS" ..., "" unknown)
    std::optional<uint32_t> colour; // indicator font colour, BGR; nullopt: unchanged
    std::optional<std::string> hint; // indicator hint; nullopt: unchanged
    // GGA quality 5 while an AIS log plays: the log was recorded in AIS
    // monitor mode, which the main window switches on.
    bool monitorLog = false;
    std::optional<double> lat, lon; // nullopt: the field could not be read
    std::optional<std::string> satCount; // GGA and COM field 7; RMC ""
    std::optional<double> hdop; // GGA field 8, COM field 16; RMC 0
    // RMC: whole degrees, east positive. nullopt when the sentence gives
    // none (empty fields, as many receivers send) or none that can be
    // trusted (no E/W, beyond 180°): the variation set stays.
    std::optional<int16_t> magVariation;
    std::optional<bool> comTimeZero; // COM: time "000000" (chart-point capture)
    std::optional<std::array<std::string, 10>> comFields; // COM fields 8..16 at 1..9, field 17 at 0
};

// Decodes a sentence by characters 4 to 6 of its identifier ("$GPRMC",
// "$GPGGA", "$KVGGA", "$PSCOM" ...). Another kind gives an invalid fix with
// an empty caption and quality. `playback`: the sentence comes from AIS log
// playback (GGA quality 5 then shows the monitor log in red).
// A sentence that claims a fix but whose position cannot be read gives an
// invalid fix (quality "0", "GPS" in red), never a position of 0.
NmeaDecodeResult DecodeNmeaSentence(std::string_view sentence, bool playback);

// Writes a decode into the navigation state: GpsLat and GpsLon (when read),
// FixQuality, SatCount, Hdop, MagVariation, ComTimeZero and NmeaFields as the
// sentence carries them, and EpeMetres from the quality: HDOP × 10 m for a
// GPS fix, × 1.6 m for a differential one, otherwise 0.
void ApplyNmeaDecode(const NmeaDecodeResult& decode);

} // namespace nav
