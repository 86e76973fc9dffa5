#include "nav/LatLonText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace
{

struct Texts {
    std::string lat, lon;
};

Texts Format(double lat, double lon)
{
    Texts t;
    FormatLatLonDM(lat, lon, t.lat, t.lon);
    return t;
}

TEST(LatLonTextTest, FormatsDegreesAndMinutesWithHemispheres)
{
    struct Case {
        double lat, lon;
        const char *latText, *lonText;
    };
    const Case cases[] = {
        { 50.5, 1.25,
            "50\xB0"
            "30.00000N",
            "001\xB0"
            "15.00000W" },
        { -0.5, -0.5,
            "00\xB0"
            "30.00000S",
            "000\xB0"
            "30.00000E" },
        { 0.0, 0.0,
            "00\xB0"
            "00.00000N",
            "000\xB0"
            "00.00000W" },
        { 5.1, 179.999,
            "05\xB0"
            "06.00000N",
            "179\xB0"
            "59.94000W" },
        { -33.856, -151.215,
            "33\xB0"
            "51.36000S",
            "151\xB0"
            "12.90000E" },
    };
    for (const Case& c : cases) {
        const Texts t = Format(c.lat, c.lon);
        EXPECT_EQ(t.lat, c.latText) << c.lat;
        EXPECT_EQ(t.lon, c.lonText) << c.lon;
        EXPECT_EQ(t.lat.size(), 12u);
        EXPECT_EQ(t.lon.size(), 13u);
    }
}

TEST(LatLonTextTest, LatitudeIsHeldToTheChartRangeButLongitudeIsNot)
{
    EXPECT_EQ(Format(90, 0).lat,
        "84\xB0"
        "00.00000N");
    EXPECT_EQ(Format(84, 0).lat,
        "84\xB0"
        "00.00000N");
    EXPECT_EQ(Format(-85, 0).lat,
        "80\xB0"
        "00.00000S");
    EXPECT_EQ(Format(std::nan(""), 0).lat,
        "80\xB0"
        "00.00000S");
    EXPECT_EQ(Format(0, 200.5).lon,
        "200\xB0"
        "30.00000W");
    EXPECT_EQ(Format(0, std::numeric_limits<double>::infinity()).lon,
        "000\xB0"
        "00.00000W");
}

TEST(LatLonTextTest, MinutesRoundingUpToSixtyCarryIntoTheDegrees)
{
    const double justBelow = 59.999996 / 60.0;
    const Texts t = Format(50 + justBelow, -(1 + justBelow));
    EXPECT_EQ(t.lat,
        "51\xB0"
        "00.00000N");
    EXPECT_EQ(t.lon,
        "002\xB0"
        "00.00000E");
    // Just below the rounding point the minutes stay.
    EXPECT_EQ(Format(50 + 59.999994 / 60.0, 0).lat,
        "50\xB0"
        "59.99999N");
}

TEST(LatLonTextTest, ParsesAtFixedPlacesWithHemisphereLettersInEitherCase)
{
    double lat = 0, lon = 0;
    EXPECT_TRUE(ParseLatLonDM("50\xB0"
                              "30.00000n",
        "001\xB0"
        "15.00000w",
        lat, lon));
    EXPECT_DOUBLE_EQ(lat, 50.5);
    EXPECT_DOUBLE_EQ(lon, 1.25);
    EXPECT_TRUE(ParseLatLonDM("00\xB0"
                              "30.00000s",
        "000\xB0"
        "30.00000e",
        lat, lon));
    EXPECT_DOUBLE_EQ(lat, -0.5);
    EXPECT_DOUBLE_EQ(lon, -0.5);
    // Anything but S is north, anything but E is west.
    EXPECT_TRUE(ParseLatLonDM("10\xB0"
                              "00.00000X",
        "010\xB0"
        "00.00000?",
        lat, lon));
    EXPECT_DOUBLE_EQ(lat, 10);
    EXPECT_DOUBLE_EQ(lon, 10);
    // The degree sign's place is not read: any character will do.
    EXPECT_TRUE(ParseLatLonDM("10:06.00000N", "010:06.00000W", lat, lon));
    EXPECT_DOUBLE_EQ(lat, 10.1);
}

TEST(LatLonTextTest, ParsedLatitudeIsHeldToTheChartRange)
{
    double lat = 0, lon = 0;
    ParseLatLonDM("89\xB0"
                  "00.00000N",
        "000\xB0"
        "00.00000W",
        lat, lon);
    EXPECT_EQ(lat, 84);
    ParseLatLonDM("85\xB0"
                  "00.00000S",
        "000\xB0"
        "00.00000W",
        lat, lon);
    EXPECT_EQ(lat, -80);
}

TEST(LatLonTextTest, UnreadableFieldsCountAsZeroAndAreReported)
{
    double lat = 1, lon = 1;
    EXPECT_FALSE(ParseLatLonDM("5x\xB0"
                               "30.00000N",
        "001\xB0"
        "15.00000W",
        lat, lon));
    EXPECT_DOUBLE_EQ(lat, 0.5);
    EXPECT_DOUBLE_EQ(lon, 1.25);
    EXPECT_FALSE(ParseLatLonDM("", "", lat, lon));
    EXPECT_EQ(lat, 0);
    EXPECT_EQ(lon, 0);
    // A cut text reads what is there.
    EXPECT_FALSE(ParseLatLonDM("50\xB0"
                               "07.",
        "001", lat, lon));
    EXPECT_DOUBLE_EQ(lat, 50 + 7.0 / 60);
    EXPECT_DOUBLE_EQ(lon, 1);
}

TEST(LatLonTextTest, FormattedPositionsParseBackWithinTheLastMinuteDigit)
{
    for (double lat = -80; lat <= 84; lat += 3.7131) {
        for (double lon = -180; lon <= 180; lon += 7.3917) {
            const Texts t = Format(lat, lon);
            double backLat = 0, backLon = 0;
            ASSERT_TRUE(ParseLatLonDM(t.lat, t.lon, backLat, backLon)) << t.lat << " " << t.lon;
            EXPECT_NEAR(backLat, lat, 0.5e-5 / 60 + 1e-12) << t.lat;
            EXPECT_NEAR(backLon, lon, 0.5e-5 / 60 + 1e-12) << t.lon;
        }
    }
}

} // namespace
