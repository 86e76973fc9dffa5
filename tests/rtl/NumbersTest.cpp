#include "rtl/Numbers.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace rtl;

TEST(NumbersTest, RoundTakesHalvesToEven)
{
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(-3.5), -4);
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(-0.5), 0);
    EXPECT_EQ(Round(2.4999999), 2);
    EXPECT_EQ(Round(2.5000001), 3);
    EXPECT_EQ(Round(-2.6), -3);
    // The largest double below 0.5: adding 0.5 and flooring would give 1.
    EXPECT_EQ(Round(0.49999999999999994), 0);
    EXPECT_EQ(Round(4503599627370497.0), 4503599627370497);
}

TEST(NumbersTest, TruncGoesTowardZeroAndBothClamp)
{
    EXPECT_EQ(Trunc(2.9), 2);
    EXPECT_EQ(Trunc(-2.9), -2);
    EXPECT_EQ(Trunc(-0.1), 0);
    EXPECT_DOUBLE_EQ(Frac(-2.75), -0.75);
    EXPECT_EQ(Round(1e300), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(Round(-1e300), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(Trunc(std::numeric_limits<double>::infinity()), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(Round(std::nan("")), 0);
    EXPECT_EQ(Trunc(std::nan("")), 0);
}

TEST(NumbersTest, RealTextHasTheFixed23CharacterForm)
{
    EXPECT_EQ(RealText(1.0), " 1.00000000000000E+0000");
    EXPECT_EQ(RealText(0.03125), " 3.12500000000000E-0002");
    EXPECT_EQ(RealText(-16.780192674), "-1.67801926740000E+0001");
    EXPECT_EQ(RealText(0.0), " 0.00000000000000E+0000");
    EXPECT_EQ(RealText(-0.0), " 0.00000000000000E+0000");
    EXPECT_EQ(RealText(1e300), " 1.00000000000000E+0300");
    EXPECT_EQ(RealText(-2.5e-300), "-2.50000000000000E-0300");
    // Rounding the 15th digit carries into the exponent.
    EXPECT_EQ(RealText(9.9999999999999999), " 1.00000000000000E+0001");
    EXPECT_EQ(RealText(9.99999999999999), " 9.99999999999999E+0000");
    for (double v : { 1.0, -16.780192674, 1e300, 123456789.0, -1e-20 })
        EXPECT_EQ(RealText(v).size(), 23u) << v;
}

TEST(NumbersTest, RealTextReadsBackExactly)
{
    for (double v : { 1.0, 0.03125, -16.780192674, 0.0, 51.4833333333333, -0.000123456789012345,
             6.02214076e23, 1e-300, 179.99999999999 }) {
        double back = -12345;
        ASSERT_TRUE(ParseReal(RealText(v), back)) << RealText(v);
        EXPECT_EQ(back, v) << RealText(v);
    }
}

TEST(NumbersTest, ParseRealIsTolerantButRefusesGarbage)
{
    struct Case {
        const char* text;
        double value;
    };
    for (const Case& c : { Case { " 12.5 ", 12.5 }, Case { "+3", 3 }, Case { "-.5", -0.5 }, Case { "5.", 5 },
             Case { "1e3", 1000 }, Case { "1E-0003", 0.001 }, Case { "\t-1.5e+2\r", -150 }, Case { "007", 7 },
             Case { "1e-400", 0 }, Case { "0.0e99999", 0 } }) {
        double v = -1;
        EXPECT_TRUE(ParseReal(c.text, v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    for (const char* bad : { "", "   ", "abc", "1.2.3", "1e", "1e+", "1,5", "12abc", "nan", "inf", "-inf",
             "0x10", "--1", "+", ".", "1 2", "1e400", "-1e400" }) {
        double v = 42;
        EXPECT_FALSE(ParseReal(bad, v)) << bad;
        EXPECT_EQ(v, 42) << "left untouched on failure: " << bad;
    }
    EXPECT_EQ(RealOr("x", 7.5), 7.5);
    EXPECT_EQ(RealOr(" 2.25"), 2.25);
}

TEST(NumbersTest, ParseIntTakesDecimalAndDollarHex)
{
    const struct {
        const char* text;
        int64_t value;
    } cases[] = { { " 42 ", 42 }, { "-7", -7 }, { "+7", 7 }, { "$FF", 255 }, { "$00ff8040", 0xFF8040 },
        { "-$10", -16 }, { "9223372036854775807", std::numeric_limits<int64_t>::max() },
        { "-9223372036854775808", std::numeric_limits<int64_t>::min() } };
    int64_t v = 0;
    for (const auto& c : cases) {
        EXPECT_TRUE(ParseInt(c.text, v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    v = 99;
    for (const char* bad :
        { "", " ", "5.0", "1e3", "$", "$G", "12 3", "9223372036854775808", "--1", "0x10", "abc" })
        EXPECT_FALSE(ParseInt(bad, v)) << bad;
    EXPECT_EQ(v, 99);
    EXPECT_EQ(IntOr("junk", -1), -1);
    EXPECT_EQ(IntOr("19200"), 19200);
}

TEST(NumbersTest, StrIntAndStrRealPadToWidth)
{
    EXPECT_EQ(StrInt(5, 3), "  5");
    EXPECT_EQ(StrInt(-5, 3), " -5");
    EXPECT_EQ(StrInt(12345, 3), "12345");
    EXPECT_EQ(StrInt(0), "0");

    EXPECT_EQ(StrReal(3.14159, 8, 3), "   3.142");
    EXPECT_EQ(StrReal(-3.14159, 0, 2), "-3.14");
    EXPECT_EQ(StrReal(0.0, 5, 1), "  0.0");
    EXPECT_EQ(StrReal(12.0, 0, 0), "12");
    EXPECT_EQ(StrReal(1e20, 0, 1), "100000000000000000000.0");
    EXPECT_EQ(StrReal(9.9996, 0, 3), "10.000");
}

TEST(NumbersTest, StrRealRoundsExactHalvesAwayFromZero)
{
    // Exact binary halves round away from zero, as the runtime did.
    EXPECT_EQ(StrReal(2.5, 0, 0), "3");
    EXPECT_EQ(StrReal(-2.5, 0, 0), "-3");
    EXPECT_EQ(StrReal(0.125, 0, 2), "0.13");
    EXPECT_EQ(StrReal(1.0625, 0, 3), "1.063");
    // 2.675 is stored as 2.67499999999999982..., so it rounds down.
    EXPECT_EQ(StrReal(2.675, 0, 2), "2.67");
    EXPECT_EQ(StrReal(1.005, 0, 2), "1.00");
    // A negative value that rounds to nothing keeps its sign.
    EXPECT_EQ(StrReal(-0.001, 6, 2), " -0.00");
}

TEST(NumbersTest, ZeroFilledTextsReplaceEveryBlank)
{
    EXPECT_EQ(ZeroFilledReal(-5.0, 6, 1), "00-5.0");
    EXPECT_EQ(ZeroFilledReal(3.5, 6, 2), "003.50");
    EXPECT_EQ(ZeroFilledReal(123.456, 3, 1), "123.5");
    EXPECT_EQ(ZeroFilledInt(7, 3), "007");
    EXPECT_EQ(ZeroFilledInt(-7, 4), "00-7");
    EXPECT_EQ(ZeroFilledInt(1234, 2), "1234");
    EXPECT_EQ(ZeroFilledInt(0, 0), "0");
}
