#include "nav/AisRecord.h"

#include "rtl/LittleEndian.h"

#include <algorithm>
#include <cstring>

namespace nav
{

namespace
{

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
    rtl::StoreLE<int32_t>(out + kMmsi, r.mmsi);
    out[kNavStatus] = r.navStatus;
    out[kRateOfTurn] = r.rateOfTurn;
    rtl::StoreLE<uint16_t>(out + kSog, r.speedOverGround);
    out[kAccuracy] = r.positionAccuracy;
    rtl::StoreLE<int32_t>(out + kLongitude, r.longitude);
    rtl::StoreLE<int32_t>(out + kLatitude, r.latitude);
    rtl::StoreLE<uint16_t>(out + kCog, r.courseOverGround);
    rtl::StoreLE<uint16_t>(out + kHeading, r.trueHeading);
    out[kTimeStamp] = r.timeStamp;
    out[kManoeuvre] = r.manoeuvre;
    out[kSpareFlag] = r.spareFlag;
    out[kRaim] = r.raimFlag;
    rtl::StoreLE<int32_t>(out + kRadio, r.radioStatus);
    const uint16_t utc[6] = { r.utcYear, r.utcMonth, r.utcDay, r.utcHour, r.utcMinute, r.utcSecond };
    for (int i = 0; i < 6; ++i)
        rtl::StoreLE<uint16_t>(out + kUtcYear + 2 * i, utc[i]);
    out[kEpfd] = r.epfdType;
    rtl::StoreLE<int32_t>(out + kEpfdWord, r.epfdWord);
    out[kAisVersion] = r.aisVersion;
    rtl::StoreLE<int32_t>(out + kImo, r.imoNumber);
    r.callSign.store(out + kCallSign);
    r.name.store(out + kName);
    rtl::StoreLE<uint16_t>(out + kShipType, r.shipType);
    rtl::StoreLE<uint16_t>(out + kToBow, r.toBow);
    rtl::StoreLE<uint16_t>(out + kToStern, r.toStern);
    rtl::StoreLE<uint16_t>(out + kToPort, r.toPort);
    rtl::StoreLE<uint16_t>(out + kToStarboard, r.toStarboard);
    rtl::StoreLE<int32_t>(out + kEta, r.eta);
    std::copy(r.reserved108.begin(), r.reserved108.end(), out + kReserved108);
    out[kDraught] = r.draught;
    r.destination.store(out + kDestination);
    out[kDte] = r.dteFlag;
    out[kReserved143] = r.reserved143;
    r.fragmentCount.store(out + kFragmentCount);
    r.fragmentNumber.store(out + kFragmentNumber);
    r.sequentialId.store(out + kSequentialId);
    std::copy(r.reserved162.begin(), r.reserved162.end(), out + kReserved162);
    rtl::StoreLE<double>(out + kLastHeard, r.lastHeard);
    for (std::size_t i = 1; i <= kAisTrailLength; ++i) {
        rtl::StoreLE<double>(out + kTrail + 16 * (i - 1), r.trail[i].lat);
        rtl::StoreLE<double>(out + kTrail + 16 * (i - 1) + 8, r.trail[i].lon);
    }
    rtl::StoreLE<uint16_t>(out + kTrailCount, r.trailCount);
}

AisTargetRecord LoadAisRecord(const uint8_t* in)
{
    AisTargetRecord r;
    r.messageType = in[kType];
    r.repeatIndicator = in[kRepeat];
    r.mmsi = rtl::LoadLE<int32_t>(in + kMmsi);
    r.navStatus = in[kNavStatus];
    r.rateOfTurn = in[kRateOfTurn];
    r.speedOverGround = rtl::LoadLE<uint16_t>(in + kSog);
    r.positionAccuracy = in[kAccuracy];
    r.longitude = rtl::LoadLE<int32_t>(in + kLongitude);
    r.latitude = rtl::LoadLE<int32_t>(in + kLatitude);
    r.courseOverGround = rtl::LoadLE<uint16_t>(in + kCog);
    r.trueHeading = rtl::LoadLE<uint16_t>(in + kHeading);
    r.timeStamp = in[kTimeStamp];
    r.manoeuvre = in[kManoeuvre];
    r.spareFlag = in[kSpareFlag];
    r.raimFlag = in[kRaim];
    r.radioStatus = rtl::LoadLE<int32_t>(in + kRadio);
    uint16_t* utc[6] = { &r.utcYear, &r.utcMonth, &r.utcDay, &r.utcHour, &r.utcMinute, &r.utcSecond };
    for (int i = 0; i < 6; ++i)
        *utc[i] = rtl::LoadLE<uint16_t>(in + kUtcYear + 2 * i);
    r.epfdType = in[kEpfd];
    r.epfdWord = rtl::LoadLE<int32_t>(in + kEpfdWord);
    r.aisVersion = in[kAisVersion];
    r.imoNumber = rtl::LoadLE<int32_t>(in + kImo);
    r.callSign = decltype(r.callSign)::load(in + kCallSign);
    r.name = decltype(r.name)::load(in + kName);
    r.shipType = rtl::LoadLE<uint16_t>(in + kShipType);
    r.toBow = rtl::LoadLE<uint16_t>(in + kToBow);
    r.toStern = rtl::LoadLE<uint16_t>(in + kToStern);
    r.toPort = rtl::LoadLE<uint16_t>(in + kToPort);
    r.toStarboard = rtl::LoadLE<uint16_t>(in + kToStarboard);
    r.eta = rtl::LoadLE<int32_t>(in + kEta);
    std::copy_n(in + kReserved108, r.reserved108.size(), r.reserved108.begin());
    r.draught = in[kDraught];
    r.destination = decltype(r.destination)::load(in + kDestination);
    r.dteFlag = in[kDte];
    r.reserved143 = in[kReserved143];
    r.fragmentCount = decltype(r.fragmentCount)::load(in + kFragmentCount);
    r.fragmentNumber = decltype(r.fragmentNumber)::load(in + kFragmentNumber);
    r.sequentialId = decltype(r.sequentialId)::load(in + kSequentialId);
    std::copy_n(in + kReserved162, r.reserved162.size(), r.reserved162.begin());
    r.lastHeard = rtl::LoadLE<double>(in + kLastHeard);
    for (std::size_t i = 1; i <= kAisTrailLength; ++i) {
        r.trail[i].lat = rtl::LoadLE<double>(in + kTrail + 16 * (i - 1));
        r.trail[i].lon = rtl::LoadLE<double>(in + kTrail + 16 * (i - 1) + 8);
    }
    r.trailCount = std::min<uint16_t>(rtl::LoadLE<uint16_t>(in + kTrailCount), kAisTrailLength);
    return r;
}

} // namespace nav
