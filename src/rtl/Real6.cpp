#include "rtl/Real6.h"

#include <cmath>
#include <cstring>
#include <string>

namespace rtl
{

namespace
{

constexpr int kBias = 129;
constexpr int kFractionBits = 39;
// A double's significand has 53 bits (with the leading 1); the 6-byte real
// keeps 40 of them, so 13 are rounded away.
constexpr int kDroppedBits = 53 - (kFractionBits + 1);

} // namespace

std::array<uint8_t, 6> Real6::encode(double value)
{
    std::array<uint8_t, 6> out {};
    if (std::isnan(value))
        throw Real6Error("cannot store NaN as a 6-byte real");
    if (std::isinf(value))
        throw Real6Error("cannot store an infinite value as a 6-byte real");
    if (value == 0.0)
        return out;

    const bool negative = std::signbit(value);
    int exp2 = 0;
    // |value| = m * 2^exp2 with m in [0.5, 1); as a 1.f form the exponent is exp2 - 1.
    const double m = std::frexp(std::fabs(value), &exp2);
    uint64_t significand = static_cast<uint64_t>(std::ldexp(m, 53)); // exact, top bit 52 set

    // Round to nearest, ties to even, on the dropped bits.
    const uint64_t half = uint64_t { 1 } << (kDroppedBits - 1);
    const uint64_t dropped = significand & ((uint64_t { 1 } << kDroppedBits) - 1);
    significand >>= kDroppedBits;
    if (dropped > half || (dropped == half && (significand & 1)))
        ++significand;
    int exponent = exp2 - 1 + kBias;
    if (significand == (uint64_t { 1 } << (kFractionBits + 1))) {
        // 1.111...1 rounded up to 2.0: carry into the exponent.
        significand >>= 1;
        ++exponent;
    }

    if (exponent > 255)
        throw Real6Error("value " + std::to_string(value) + " is too large for a 6-byte real");
    if (exponent < 1)
        return out; // below the smallest 6-byte real: stored as 0

    const uint64_t fraction = significand & ((uint64_t { 1 } << kFractionBits) - 1);
    out[0] = static_cast<uint8_t>(exponent);
    for (int i = 0; i < 5; ++i)
        out[1 + i] = static_cast<uint8_t>(fraction >> (8 * i));
    if (negative)
        out[5] |= 0x80;
    return out;
}

double Real6::decode(const std::array<uint8_t, 6>& bytes)
{
    if (bytes[0] == 0)
        return 0.0;
    uint64_t fraction = 0;
    for (int i = 4; i >= 0; --i)
        fraction = (fraction << 8) | bytes[1 + i];
    fraction &= (uint64_t { 1 } << kFractionBits) - 1;
    const uint64_t significand = fraction | (uint64_t { 1 } << kFractionBits);
    // 40 significant bits and an exponent within -128..126 fit a double exactly.
    const double magnitude = std::ldexp(static_cast<double>(significand), bytes[0] - kBias - kFractionBits);
    return (bytes[5] & 0x80) ? -magnitude : magnitude;
}

Real6 Real6::fromBytes(const uint8_t* six)
{
    Real6 r;
    std::memcpy(r.bytes_.data(), six, 6);
    return r;
}

void Real6::toBytes(uint8_t* six) const
{
    std::memcpy(six, bytes_.data(), 6);
}

} // namespace rtl
