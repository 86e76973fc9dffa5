#include "nav/AISDecode.h"

#include <algorithm>

namespace nav
{

uint8_t SixBitValue(uint8_t c)
{
    // The armour skips the eight characters 'X'..'_' between 'W' (39) and
    // '`' (40). A byte that is no armour character still gives some value
    // 0..63: a garbled payload decodes to wrong fields, never out of range.
    if (c < 'Y' || c > 215)
        return static_cast<uint8_t>((c + 80) % 64);
    return static_cast<uint8_t>((c + 72) % 64);
}

char SixBitToAscii(uint8_t v)
{
    v &= 63;
    return static_cast<char>(v < 32 ? v + 64 : v);
}

bool DearmourPayload(std::string_view payload, AisSixBitBuffer& bits)
{
    if (payload.size() > bits.size()) {
        bits.fill(0);
        return false;
    }
    uint8_t* value = bits.begin();
    for (char c : payload)
        *value++ = SixBitValue(static_cast<uint8_t>(c));
    std::fill(value, bits.end(), 0);
    return true;
}

uint64_t GetAisBits(const AisSixBitBuffer& bits, int first, int last)
{
    if (first > last)
        return 0;
    int64_t from = first;
    const int64_t to = last;
    if (to - from + 1 > 64)
        from = to - 63;
    // Bits before bit 1 are leading zeros of the result.
    from = std::max<int64_t>(from, 1);
    const int64_t bufferBits = static_cast<int64_t>(bits.size()) * 6;
    uint64_t value = 0;
    while (from <= to) {
        const int64_t index = (from - 1) / 6;
        const int inValue = static_cast<int>((from - 1) % 6); // 0 = most significant bit
        const int avail = 6 - inValue;
        const int take = static_cast<int>(std::min<int64_t>(avail, to - from + 1));
        const unsigned six = from <= bufferBits ? bits[static_cast<std::size_t>(index) + 1] & 63u : 0u;
        const unsigned chunk = (six >> (avail - take)) & ((1u << take) - 1u);
        value = (value << take) | chunk;
        from += take;
    }
    return value;
}

std::string GetAisText(const AisSixBitBuffer& bits, int first, int last)
{
    std::string text;
    if (last < first)
        return text;
    text.reserve(static_cast<std::size_t>((static_cast<int64_t>(last) - first + 1) / 6));
    for (int64_t b = first; b + 5 <= last; b += 6)
        text.push_back(SixBitToAscii(static_cast<uint8_t>(GetAisBits(bits, int(b), int(b + 5)))));
    return text;
}

namespace
{

// A two's-complement field of `width` bits.
int32_t SignedBits(const AisSixBitBuffer& bits, int first, int width)
{
    const auto raw = static_cast<int64_t>(GetAisBits(bits, first, first + width - 1));
    const int64_t signBit = int64_t(1) << (width - 1);
    return static_cast<int32_t>(raw & signBit ? raw - (signBit << 1) : raw);
}

template <typename T> T Bits(const AisSixBitBuffer& bits, int first, int last)
{
    return static_cast<T>(GetAisBits(bits, first, last));
}

// Types 1, 2, 3: position report.
void DecodePositionReport(const AisSixBitBuffer& b, AisTargetRecord& r)
{
    r.navStatus = Bits<uint8_t>(b, 39, 42);
    r.rateOfTurn = Bits<uint8_t>(b, 43, 50);
    r.speedOverGround = Bits<uint16_t>(b, 51, 60);
    r.positionAccuracy = Bits<uint8_t>(b, 61, 61);
    r.longitude = SignedBits(b, 62, 28);
    r.latitude = SignedBits(b, 90, 27);
    r.courseOverGround = Bits<uint16_t>(b, 117, 128);
    r.trueHeading = Bits<uint16_t>(b, 129, 137);
    r.timeStamp = Bits<uint8_t>(b, 138, 143);
    r.manoeuvre = Bits<uint8_t>(b, 144, 147);
    r.spareFlag = Bits<uint8_t>(b, 148, 148);
    r.raimFlag = Bits<uint8_t>(b, 149, 149);
    r.radioStatus = Bits<int32_t>(b, 150, 168);
}

// Types 4 and 11: base station report and UTC/date response.
void DecodeBaseStationReport(const AisSixBitBuffer& b, AisTargetRecord& r)
{
    r.utcYear = Bits<uint16_t>(b, 39, 52);
    r.utcMonth = Bits<uint16_t>(b, 53, 56);
    r.utcDay = Bits<uint16_t>(b, 57, 61);
    r.utcHour = Bits<uint16_t>(b, 62, 66);
    r.utcMinute = Bits<uint16_t>(b, 67, 72);
    r.utcSecond = Bits<uint16_t>(b, 73, 78);
    r.positionAccuracy = Bits<uint8_t>(b, 79, 79);
    r.longitude = SignedBits(b, 80, 28);
    r.latitude = SignedBits(b, 108, 27);
    r.epfdType = Bits<uint8_t>(b, 135, 138);
    r.epfdWord = 0;
    r.raimFlag = Bits<uint8_t>(b, 149, 149);
    r.radioStatus = Bits<int32_t>(b, 150, 168);
}

// Type 5: static and voyage related data (two sentences on the air).
void DecodeStaticData(const AisSixBitBuffer& b, AisTargetRecord& r)
{
    r.aisVersion = Bits<uint8_t>(b, 39, 40);
    r.imoNumber = Bits<int32_t>(b, 41, 70);
    r.callSign = GetAisText(b, 71, 112);
    r.name = GetAisText(b, 113, 232);
    r.shipType = Bits<uint16_t>(b, 233, 240);
    r.toBow = Bits<uint16_t>(b, 241, 249);
    r.toStern = Bits<uint16_t>(b, 250, 258);
    r.toPort = Bits<uint16_t>(b, 259, 264);
    r.toStarboard = Bits<uint16_t>(b, 265, 270);
    r.epfdType = Bits<uint8_t>(b, 271, 274);
    r.eta = Bits<int32_t>(b, 275, 294);
    r.draught = Bits<uint8_t>(b, 295, 302);
    r.destination = GetAisText(b, 303, 422);
    r.dteFlag = Bits<uint8_t>(b, 423, 423);
}

} // namespace

bool DecodeAisMessage(const AisSixBitBuffer& bits, AisTargetRecord& rec)
{
    const uint8_t type = bits[1] & 63;
    const bool positionReport = type >= 1 && type <= 3;
    const bool baseStation = type == 4 || type == 11;
    if (!positionReport && !baseStation && type != 5)
        return false;
    rec.messageType = type;
    rec.repeatIndicator = Bits<uint8_t>(bits, 7, 8);
    rec.mmsi = Bits<int32_t>(bits, 9, 38);
    if (positionReport)
        DecodePositionReport(bits, rec);
    else if (baseStation)
        DecodeBaseStationReport(bits, rec);
    else
        DecodeStaticData(bits, rec);
    return true;
}

} // namespace nav
