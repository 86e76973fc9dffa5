#include "rtl/Real6.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using rtl::Real6;
using rtl::Real6Error;
using Bytes = std::array<uint8_t, 6>;

namespace
{

const double kLargest = std::ldexp(double((uint64_t { 1 } << 40) - 1), 126 - 39); // 1.7e38
const double kSmallest = std::ldexp(1.0, -128); // 2.9e-39

} // namespace

TEST(Real6Test, KnownValuesEncodeToTheRuntimeBytes)
{
    EXPECT_EQ(Real6::encode(0.0), (Bytes { 0, 0, 0, 0, 0, 0 }));
    EXPECT_EQ(Real6::encode(-0.0), (Bytes { 0, 0, 0, 0, 0, 0 }));
    EXPECT_EQ(Real6::encode(1.0), (Bytes { 0x81, 0, 0, 0, 0, 0 }));
    EXPECT_EQ(Real6::encode(-1.0), (Bytes { 0x81, 0, 0, 0, 0, 0x80 }));
    EXPECT_EQ(Real6::encode(0.5), (Bytes { 0x80, 0, 0, 0, 0, 0 }));
    EXPECT_EQ(Real6::encode(200.0), (Bytes { 0x88, 0, 0, 0, 0, 0x48 }));
    EXPECT_EQ(Real6::encode(-200.0), (Bytes { 0x88, 0, 0, 0, 0, 0xC8 }));
    // 123.456 = 1.929 * 2^6: fraction 0x76E978D4FD.F3 rounds up to 0x76E978D4FE
    EXPECT_EQ(Real6::encode(123.456), (Bytes { 0x87, 0xFE, 0xD4, 0x78, 0xE9, 0x76 }));
}

TEST(Real6Test, RangeLimitsAreHeldAndBeyondAreRefusedOrZero)
{
    EXPECT_EQ(Real6::encode(kLargest), (Bytes { 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F }));
    EXPECT_EQ(Real6(kLargest).value(), kLargest);
    EXPECT_EQ(Real6(-kLargest).value(), -kLargest);
    EXPECT_EQ(Real6::encode(kSmallest), (Bytes { 0x01, 0, 0, 0, 0, 0 }));
    EXPECT_EQ(Real6(kSmallest).value(), kSmallest);

    EXPECT_THROW(Real6(kLargest * 2), Real6Error);
    EXPECT_THROW(Real6(1e39), Real6Error);
    EXPECT_THROW(Real6(-1e300), Real6Error);
    // Just above the largest by more than half a unit rounds past the range.
    EXPECT_THROW(Real6(std::ldexp(2.0, 126)), Real6Error);
    EXPECT_THROW(Real6(std::numeric_limits<double>::quiet_NaN()), Real6Error);
    EXPECT_THROW(Real6(std::numeric_limits<double>::infinity()), Real6Error);
    EXPECT_THROW(Real6(-std::numeric_limits<double>::infinity()), Real6Error);

    EXPECT_EQ(Real6(kSmallest / 4).value(), 0.0);
    EXPECT_EQ(Real6(-1e-45).bytes(), (Bytes {}));
    EXPECT_EQ(Real6(std::numeric_limits<double>::denorm_min()).value(), 0.0);
    // Just under the smallest but within half a unit: rounds up into range.
    EXPECT_EQ(Real6(std::nextafter(kSmallest, 0.0)).value(), kSmallest);
}

TEST(Real6Test, RoundsToNearestWithCarryIntoTheExponent)
{
    const double unit = std::ldexp(1.0, -39); // one step of the fraction at 1.0
    EXPECT_EQ(Real6(1.0 + unit * 0.49).value(), 1.0);
    EXPECT_EQ(Real6(1.0 + unit * 0.51).value(), 1.0 + unit);
    // Ties go to the even fraction.
    EXPECT_EQ(Real6(1.0 + unit * 0.5).value(), 1.0);
    EXPECT_EQ(Real6(1.0 + unit * 1.5).value(), 1.0 + 2 * unit);
    // 1.111...1 (more than 39 ones) rounds up to 2.0: exponent goes up by one.
    const double justBelowTwo = 2.0 - unit / 4;
    EXPECT_EQ(Real6::encode(justBelowTwo), (Bytes { 0x82, 0, 0, 0, 0, 0 }));
    EXPECT_EQ(Real6::encode(-justBelowTwo), (Bytes { 0x82, 0, 0, 0, 0, 0x80 }));
}

TEST(Real6Test, DecodeIsExactAndRoundTripsHold)
{
    for (double v :
        { 0.0, 1.0, -1.0, 0.5, 200.0, 123.456, -16.780192674, 51.123456789, 0.03125, 1e-30, 3e37 }) {
        const Real6 r(v);
        EXPECT_NEAR(r.value(), v, std::fabs(v) * std::ldexp(1.0, -40)) << v;
        // Encoding a decoded value gives the same bytes back.
        EXPECT_EQ(Real6(r.value()).bytes(), r.bytes()) << v;
        uint8_t six[6];
        r.toBytes(six);
        EXPECT_EQ(Real6::fromBytes(six), r);
    }
    // An exponent byte of 0 is zero whatever the other bytes hold.
    EXPECT_EQ(Real6::decode(Bytes { 0, 0x12, 0x34, 0x56, 0x78, 0x9A }), 0.0);
    EXPECT_EQ(Real6::decode(Bytes { 0x88, 0, 0, 0, 0, 0x48 }), 200.0);
}
