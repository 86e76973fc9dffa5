#pragma once
// Decoder of AIS message payloads (ITU-R M.1371), as carried in the sixth
// field of "!AIVDM" sentences (NMEA 0183 / IEC 61162-1), e.g.
//   !AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A
// The payload characters are de-armoured into six-bit values; bits are then
// numbered from 1, bit 1 being the most significant bit of the first value.
// Message types 1, 2, 3 (position report), 4, 11 (base station report, UTC
// response) and 5 (static and voyage data) fill an AisTargetRecord; every
// other type leaves it untouched.
//
// The state is passed in (the six-bit buffer and the record), so the decoder
// keeps nothing between calls. Checked against 1103 recorded messages of the
// six types and 400 of other types (tests/data/ais).

#include "nav/AisRecord.h"
#include "rtl/Array1.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace nav
{

// Six-bit values of one assembled payload, value 1 from the first payload
// character: three fragments of a message never carry more than 500.
constexpr std::size_t kAisSixBitCapacity = 500;
using AisSixBitBuffer = rtl::Array1<uint8_t, kAisSixBitCapacity>;

// Armour character to six-bit value: '0'..'W' give 0..39, '`'..'w' give
// 40..63. Any other byte maps into 0..63 by the same arithmetic.
uint8_t SixBitValue(uint8_t c);
// Six-bit value to the AIS text character set: 0..31 -> '@'..'_',
// 32..63 -> ' '..'?'.
char SixBitToAscii(uint8_t v);

// Writes one six-bit value per payload character into `bits` and zeroes the
// rest of the buffer, so bits beyond the payload read 0, never the bits of an
// earlier message. A payload longer than the buffer is rejected: the buffer
// is zeroed (type 0, which decodes to nothing) and the result is false.
bool DearmourPayload(std::string_view payload, AisSixBitBuffer& bits);

// Bits first..last (1-based, inclusive) as an unsigned number, most
// significant first. Spans wider than 64 bits keep their last 64; bits
// outside the buffer read 0; first > last gives 0.
uint64_t GetAisBits(const AisSixBitBuffer& bits, int first, int last);
// One character per six bits from `first` to `last` (SixBitToAscii), padding
// '@' and trailing blanks included.
std::string GetAisText(const AisSixBitBuffer& bits, int first, int last);

// Decodes the message in `bits` into `rec`. Only the fields of the message's
// type are written; the caller clears the record first when it wants the
// others zero. Returns false, leaving `rec` untouched, for other types.
bool DecodeAisMessage(const AisSixBitBuffer& bits, AisTargetRecord& rec);

// The low 8 bits of an integer.
inline uint8_t LowByte(int64_t value)
{
    return static_cast<uint8_t>(value & 0xFF);
}

} // namespace nav
