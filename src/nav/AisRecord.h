#pragma once
// One AIS target: the decoder's output, one slot of the 60-target table (with
// its trail) and one record of the AIS database file "KVAIS.ADB" all share
// this record. On disk it is 824 bytes, written and read field by field by
// StoreAisRecord / LoadAisRecord (little-endian integers, length-byte texts,
// zero padding), never by copying the struct.
//
// Positions stay in AIS units: signed 1/10000 minute, longitude EAST
// positive (degrees = value / 600000). A default-constructed record is all
// zero, the empty record used to clear a slot or the decode record.

#include "rtl/Array1.h"
#include "rtl/ShortString.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace nav
{

constexpr std::size_t kAisRecordSize = 824;
constexpr std::size_t kAisTrailLength = 40;

// One trail position, degrees, longitude east positive as AIS sends it.
struct AisTrailPoint {
    double lat = 0.0;
    double lon = 0.0;
};

struct AisTargetRecord {
    // All message types the decoder knows (1-5, 11).
    uint8_t messageType = 0; // offset 0
    uint8_t repeatIndicator = 0;
    int32_t mmsi = 0; // offset 4

    // Position report, types 1-3.
    uint8_t navStatus = 0; // offset 8
    uint8_t rateOfTurn = 0; // signed 8-bit ROT code kept as its byte (-128 = 0x80 = not available)
    uint16_t speedOverGround = 0; // 0.1 knot, 1023 = not available
    uint8_t positionAccuracy = 0; // 1 = high (types 1-3, 4, 11)
    int32_t longitude = 0; // offset 16, 1/10000 minute, east positive (types 1-3, 4, 11)
    int32_t latitude = 0; // offset 20, 1/10000 minute, north positive (types 1-3, 4, 11)
    uint16_t courseOverGround = 0; // 0.1 degree, 3600 = not available
    uint16_t trueHeading = 0; // degrees, 511 = not available
    uint8_t timeStamp = 0; // UTC second of the report
    uint8_t manoeuvre = 0; // manoeuvre indicator and the two spare bits after it, one 4-bit value
    uint8_t spareFlag = 0; // the last spare bit before the RAIM flag
    uint8_t raimFlag = 0; // types 1-3, 4, 11
    int32_t radioStatus = 0; // offset 32, types 1-3, 4, 11

    // Base station report / UTC response, types 4 and 11.
    uint16_t utcYear = 0; // offset 36
    uint16_t utcMonth = 0;
    uint16_t utcDay = 0;
    uint16_t utcHour = 0;
    uint16_t utcMinute = 0;
    uint16_t utcSecond = 0;
    uint8_t epfdType = 0; // offset 48, position fixing device (types 4, 11, 5)
    int32_t epfdWord = 0; // offset 52, set to 0 by types 4 and 11

    // Static and voyage data, type 5.
    uint8_t aisVersion = 0; // offset 56
    int32_t imoNumber = 0; // offset 60
    rtl::ShortString<7> callSign; // offset 64, '@' padding kept as received
    rtl::ShortString<20> name; // offset 72
    uint16_t shipType = 0; // offset 94, ship and cargo type
    uint16_t toBow = 0; // metres from the reference point
    uint16_t toStern = 0;
    uint16_t toPort = 0;
    uint16_t toStarboard = 0;
    int32_t eta = 0; // offset 104, 20-bit code: month(4) day(5) hour(5) minute(6)
    std::array<uint8_t, 12> reserved108 {}; // offset 108, never set by the decoder
    uint8_t draught = 0; // offset 120, 0.1 m
    rtl::ShortString<20> destination; // offset 121
    uint8_t dteFlag = 0; // offset 142
    uint8_t reserved143 = 0;

    // Fragment bookkeeping of the sentence assembly (never set by the decoder).
    rtl::ShortString<5> fragmentCount; // offset 144
    rtl::ShortString<5> fragmentNumber; // offset 150
    rtl::ShortString<5> sequentialId; // offset 156
    std::array<uint8_t, 6> reserved162 {};

    // Target table bookkeeping.
    double lastHeard = 0.0; // offset 168, date-time: days since 30 Dec 1899, fraction = time of day
    rtl::Array1<AisTrailPoint, kAisTrailLength> trail; // offset 176, entry 1 is the oldest
    uint16_t trailCount = 0; // offset 816
};

// What AIS sends for a figure it does not have: speed 1023 (tenths of a
// knot), course 3600 (tenths of a degree), heading 511. Those and anything
// beyond the figure's range (a course from 360.1, a heading from 360) are no
// figure: such a speed, course or heading is neither shown as a number nor
// drawn or computed from. A target first heard without a position report
// holds these values until a report brings its own.
constexpr uint16_t kAisSpeedNotAvailable = 1023;
constexpr uint16_t kAisCourseNotAvailable = 3600;
constexpr uint16_t kAisHeadingNotAvailable = 511;

inline bool AisSpeedAvailable(const AisTargetRecord& rec)
{
    return rec.speedOverGround < kAisSpeedNotAvailable;
}
inline bool AisCourseAvailable(const AisTargetRecord& rec)
{
    return rec.courseOverGround < kAisCourseNotAvailable;
}
inline bool AisHeadingAvailable(const AisTargetRecord& rec)
{
    return rec.trueHeading < 360;
}

// Writes the 824-byte image of `rec` to out824 (every byte is written).
void StoreAisRecord(const AisTargetRecord& rec, uint8_t* out824);
// Reads an 824-byte image. A length byte above a text's capacity is cut to it,
// and a trail count above 40 to 40, so a damaged file cannot make callers
// index past the trail.
AisTargetRecord LoadAisRecord(const uint8_t* in824);

} // namespace nav
