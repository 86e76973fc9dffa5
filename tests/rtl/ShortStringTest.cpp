#include "rtl/ShortString.h"

#include <gtest/gtest.h>

using rtl::ShortString;

TEST(ShortStringTest, CutsAtCapacityAndStoresLengthBytePlusPadding)
{
    ShortString<4> s = "ABCDEFG";
    EXPECT_EQ(s.str(), "ABCD");
    s = std::string("xy");
    uint8_t bytes[ShortString<4>::storedSize];
    std::memset(bytes, 0xEE, sizeof bytes);
    s.store(bytes);
    const uint8_t expected[] = { 2, 'x', 'y', 0, 0 };
    EXPECT_EQ(0, std::memcmp(bytes, expected, sizeof expected));
    EXPECT_EQ(ShortString<4>::load(bytes), "xy");

    // A corrupt length byte reads no further than the capacity.
    const uint8_t corrupt[] = { 200, 'a', 'b', 'c', 'd' };
    EXPECT_EQ(ShortString<4>::load(corrupt).str(), "abcd");
}

TEST(ShortStringTest, ComparesWithLiteralsStringsAndViews)
{
    const ShortString<8> name = "WP1";
    EXPECT_TRUE(name == "WP1");
    EXPECT_TRUE(name == std::string("WP1"));
    EXPECT_TRUE(name == std::string_view("WP1"));
    EXPECT_TRUE("WP1" == name);
    EXPECT_FALSE(name != ShortString<8>("WP1"));
    EXPECT_TRUE(name != "WP2");
}
