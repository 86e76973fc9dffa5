#pragma once
// The 6-byte real of the original runtime, as stored in chart, track-log and
// tide records in memory and on disk.
//
// Layout: byte 0 is the exponent biased by 129 (0 means the value 0.0);
// bytes 1..5 hold a 39-bit fraction, least significant byte first, with an
// implied leading 1; the top bit of byte 5 is the sign.
//   1.0   = 81 00 00 00 00 00
//   -1.0  = 81 00 00 00 00 80
//   200.0 = 88 00 00 00 00 48
// Largest magnitude about 1.7e38, smallest about 2.9e-39.

#include <array>
#include <cstdint>
#include <stdexcept>

namespace rtl
{

// Raised when a value cannot be stored: NaN, an infinity, or a magnitude
// above the largest 6-byte real.
class Real6Error : public std::range_error
{
public:
    using std::range_error::range_error;
};

class Real6
{
public:
    Real6() = default;
    // Rounds to the nearest 6-byte real. Magnitudes below the smallest store
    // as 0. Throws Real6Error for values it cannot hold.
    explicit Real6(double value)
        : bytes_(encode(value))
    {
    }

    static Real6 fromBytes(const uint8_t* six);
    void toBytes(uint8_t* six) const;
    const std::array<uint8_t, 6>& bytes() const { return bytes_; }

    double value() const { return decode(bytes_); }
    operator double() const { return value(); }

    static std::array<uint8_t, 6> encode(double value);
    static double decode(const std::array<uint8_t, 6>& bytes);

    friend bool operator==(const Real6&, const Real6&) = default;

private:
    std::array<uint8_t, 6> bytes_ {};
};

} // namespace rtl
