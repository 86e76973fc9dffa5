#include "nav/AisRecord.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace nav
{

namespace
{

// Little-endian field writers and readers over the 824-byte image.
void PutU16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void PutI32(uint8_t* p, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void PutF64(uint8_t* p, double value)
{
    const auto v = std::bit_cast<uint64_t>(value);
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint16_t GetU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
int32_t GetI32(const uint8_t* p)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | p[i];
    return static_cast<int32_t>(v);
}
double GetF64(const uint8_t* p)
{
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | p[i];
    return std::bit_cast<double>(v);
}

// Byte offsets of the fields in the stored record.
enum Offset : std::size_t {
    kType = 0,
    kRepeat = 1,
    kMmsi = 4,
    kNavStatus = 8,
    kRateOfTurn = 9,
    kSog = 10,
    kAccuracy = 12,
    kLongitude = 16,
    kLatitude = 20,
    kCog = 24,
    kHeading = 26,
    kTimeStamp = 28,
    kManoeuvre = 29,
    kSpareFlag = 30,
    kRaim = 31,
    kRadio = 32,
    kUtcYear = 36, // then month, day, hour, minute, second, 2 bytes each
    kEpfd = 48,
    kEpfdWord = 52,
    kAisVersion = 56,
    kImo = 60,
    kCallSign = 64,
    kName = 72,
    kShipType = 94,
    kToBow = 96,
    kToStern = 98,
    kToPort = 100,
    kToStarboard = 102,
    kEta = 104,
    kReserved108 = 108,
    kDraught = 120,
    kDestination = 121,
    kDte = 142,
    kReserved143 = 143,
    kFragmentCount = 144,
    kFragmentNumber = 150,
    kSequentialId = 156,
    kReserved162 = 162,
    kLastHeard = 168,
    kTrail = 176, // 40 x (latitude, longitude), 16 bytes each
    kTrailCount = 816,
};

static_assert(kTrail + kAisTrailLength * 16 == kTrailCount);
static_assert(kTrailCount + 2 + 6 == kAisRecordSize);

} // namespace

void StoreAisRecord(const AisTargetRecord& r, uint8_t* out)
{
    std::memset(out, 0, kAisRecordSize);
    out[kType] = r.messageType;
    out[kRepeat] = r.repeatIndicator;
    PutI32(out + kMmsi, r.mmsi);
    out[kNavStatus] = r.navStatus;
    out[kRateOfTurn] = r.rateOfTurn;
    PutU16(out + kSog, r.speedOverGround);
    out[kAccuracy] = r.positionAccuracy;
    PutI32(out + kLongitude, r.longitude);
    PutI32(out + kLatitude, r.latitude);
    PutU16(out + kCog, r.courseOverGround);
    PutU16(out + kHeading, r.trueHeading);
    out[kTimeStamp] = r.timeStamp;
    out[kManoeuvre] = r.manoeuvre;
    out[kSpareFlag] = r.spareFlag;
    out[kRaim] = r.raimFlag;
    PutI32(out + kRadio, r.radioStatus);
    const uint16_t utc[6] = { r.utcYear, r.utcMonth, r.utcDay, r.utcHour, r.utcMinute, r.utcSecond };
    for (int i = 0; i < 6; ++i)
        PutU16(out + kUtcYear + 2 * i, utc[i]);
    out[kEpfd] = r.epfdType;
    PutI32(out + kEpfdWord, r.epfdWord);
    out[kAisVersion] = r.aisVersion;
    PutI32(out + kImo, r.imoNumber);
    r.callSign.store(out + kCallSign);
    r.name.store(out + kName);
    PutU16(out + kShipType, r.shipType);
    PutU16(out + kToBow, r.toBow);
    PutU16(out + kToStern, r.toStern);
    PutU16(out + kToPort, r.toPort);
    PutU16(out + kToStarboard, r.toStarboard);
    PutI32(out + kEta, r.eta);
    std::copy(r.reserved108.begin(), r.reserved108.end(), out + kReserved108);
    out[kDraught] = r.draught;
    r.destination.store(out + kDestination);
    out[kDte] = r.dteFlag;
    out[kReserved143] = r.reserved143;
    r.fragmentCount.store(out + kFragmentCount);
    r.fragmentNumber.store(out + kFragmentNumber);
    r.sequentialId.store(out + kSequentialId);
    std::copy(r.reserved162.begin(), r.reserved162.end(), out + kReserved162);
    PutF64(out + kLastHeard, r.lastHeard);
    for (std::size_t i = 1; i <= kAisTrailLength; ++i) {
        PutF64(out + kTrail + 16 * (i - 1), r.trail[i].lat);
        PutF64(out + kTrail + 16 * (i - 1) + 8, r.trail[i].lon);
    }
    PutU16(out + kTrailCount, r.trailCount);
}

AisTargetRecord LoadAisRecord(const uint8_t* in)
{
    AisTargetRecord r;
    r.messageType = in[kType];
    r.repeatIndicator = in[kRepeat];
    r.mmsi = GetI32(in + kMmsi);
    r.navStatus = in[kNavStatus];
    r.rateOfTurn = in[kRateOfTurn];
    r.speedOverGround = GetU16(in + kSog);
    r.positionAccuracy = in[kAccuracy];
    r.longitude = GetI32(in + kLongitude);
    r.latitude = GetI32(in + kLatitude);
    r.courseOverGround = GetU16(in + kCog);
    r.trueHeading = GetU16(in + kHeading);
    r.timeStamp = in[kTimeStamp];
    r.manoeuvre = in[kManoeuvre];
    r.spareFlag = in[kSpareFlag];
    r.raimFlag = in[kRaim];
    r.radioStatus = GetI32(in + kRadio);
    uint16_t* utc[6] = { &r.utcYear, &r.utcMonth, &r.utcDay, &r.utcHour, &r.utcMinute, &r.utcSecond };
    for (int i = 0; i < 6; ++i)
        *utc[i] = GetU16(in + kUtcYear + 2 * i);
    r.epfdType = in[kEpfd];
    r.epfdWord = GetI32(in + kEpfdWord);
    r.aisVersion = in[kAisVersion];
    r.imoNumber = GetI32(in + kImo);
    r.callSign = decltype(r.callSign)::load(in + kCallSign);
    r.name = decltype(r.name)::load(in + kName);
    r.shipType = GetU16(in + kShipType);
    r.toBow = GetU16(in + kToBow);
    r.toStern = GetU16(in + kToStern);
    r.toPort = GetU16(in + kToPort);
    r.toStarboard = GetU16(in + kToStarboard);
    r.eta = GetI32(in + kEta);
    std::copy_n(in + kReserved108, r.reserved108.size(), r.reserved108.begin());
    r.draught = in[kDraught];
    r.destination = decltype(r.destination)::load(in + kDestination);
    r.dteFlag = in[kDte];
    r.reserved143 = in[kReserved143];
    r.fragmentCount = decltype(r.fragmentCount)::load(in + kFragmentCount);
    r.fragmentNumber = decltype(r.fragmentNumber)::load(in + kFragmentNumber);
    r.sequentialId = decltype(r.sequentialId)::load(in + kSequentialId);
    std::copy_n(in + kReserved162, r.reserved162.size(), r.reserved162.begin());
    r.lastHeard = GetF64(in + kLastHeard);
    for (std::size_t i = 1; i <= kAisTrailLength; ++i) {
        r.trail[i].lat = GetF64(in + kTrail + 16 * (i - 1));
        r.trail[i].lon = GetF64(in + kTrail + 16 * (i - 1) + 8);
    }
    r.trailCount = std::min<uint16_t>(GetU16(in + kTrailCount), kAisTrailLength);
    return r;
}

} // namespace nav
