#include "nav/LatLonText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace
{

// Test texts are written with "°"; the program holds the Latin-1 byte 0xB0.
std::string L(std::string utf8)
{
    for (std::size_t at; (at = utf8.find("\xC2\xB0")) != std::string::npos;)
        utf8.replace(at, 2, "\xB0");
    return utf8;
}

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
        std::string latText, lonText;
    };
    const Case cases[] = {
        { 50.5, 1.25, L("50°30.00000N"), L("001°15.00000W") },
        { -0.5, -0.5, L("00°30.00000S"), L("000°30.00000E") },
        { 0.0, 0.0, L("00°00.00000N"), L("000°00.00000W") },
        { 5.1, 179.999, L("05°06.00000N"), L("179°59.94000W") },
        { -33.856, -151.215, L("33°51.36000S"), L("151°12.90000E") },
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
    EXPECT_EQ(Format(90, 0).lat, L("84°00.00000N"));
    EXPECT_EQ(Format(84, 0).lat, L("84°00.00000N"));
    EXPECT_EQ(Format(-85, 0).lat, L("80°00.00000S"));
    EXPECT_EQ(Format(std::nan(""), 0).lat, L("80°00.00000S"));
    EXPECT_EQ(Format(0, 200.5).lon, L("200°30.00000W"));
    EXPECT_EQ(Format(0, std::numeric_limits<double>::infinity()).lon, L("000°00.00000W"));
}

TEST(LatLonTextTest, MinutesRoundingUpToSixtyCarryIntoTheDegrees)
{
    const double justBelow = 59.999996 / 60.0;
    const Texts t = Format(50 + justBelow, -(1 + justBelow));
    EXPECT_EQ(t.lat, L("51°00.00000N"));
    EXPECT_EQ(t.lon, L("002°00.00000E"));
    // Just below the rounding point the minutes stay.
    EXPECT_EQ(Format(50 + 59.999994 / 60.0, 0).lat, L("50°59.99999N"));
}

TEST(LatLonTextTest, ParsesAtFixedPlacesWithHemisphereLettersInEitherCase)
{
    double lat = 0, lon = 0;
    EXPECT_TRUE(ParseLatLonDM(L("50°30.00000n"), L("001°15.00000w"), lat, lon));
    EXPECT_DOUBLE_EQ(lat, 50.5);
    EXPECT_DOUBLE_EQ(lon, 1.25);
    EXPECT_TRUE(ParseLatLonDM(L("00°30.00000s"), L("000°30.00000e"), lat, lon));
    EXPECT_DOUBLE_EQ(lat, -0.5);
    EXPECT_DOUBLE_EQ(lon, -0.5);
    // Anything but S is north, anything but E is west.
    EXPECT_TRUE(ParseLatLonDM(L("10°00.00000X"), L("010°00.00000?"), lat, lon));
    EXPECT_DOUBLE_EQ(lat, 10);
    EXPECT_DOUBLE_EQ(lon, 10);
    // Latitudes are held to the chart range.
    ParseLatLonDM(L("89°00.00000N"), L("000°00.00000W"), lat, lon);
    EXPECT_EQ(lat, 84);
    // The degree sign's place is not read: any character will do.
    EXPECT_TRUE(ParseLatLonDM("10:06.00000N", "010:06.00000W", lat, lon));
    EXPECT_DOUBLE_EQ(lat, 10.1);
}

TEST(LatLonTextTest, UnreadableFieldsCountAsZeroAndAreReported)
{
    double lat = 1, lon = 1;
    EXPECT_FALSE(ParseLatLonDM(L("5x°30.00000N"), L("001°15.00000W"), lat, lon));
    EXPECT_DOUBLE_EQ(lat, 0.5);
    EXPECT_DOUBLE_EQ(lon, 1.25);
    EXPECT_FALSE(ParseLatLonDM("", "", lat, lon));
    EXPECT_EQ(lat, 0);
    EXPECT_EQ(lon, 0);
    // A cut text reads what is there.
    EXPECT_FALSE(ParseLatLonDM(L("50°07."), "001", lat, lon));
    EXPECT_DOUBLE_EQ(lat, 50 + 7.0 / 60);
    EXPECT_DOUBLE_EQ(lon, 1);
}

} // namespace

namespace
{

TEST(LatLonTextTest, CompletesTypedTextsUpToTheirHemisphereLetter)
{
    EXPECT_EQ(CompleteLatitudeText(L("50°07.5N")), L("50°07.50000N"));
    EXPECT_EQ(CompleteLatitudeText(L("50°07.1S")), L("50°07.10000S"));
    EXPECT_EQ(CompleteLongitudeText(L("001°15.2W")), L("001°15.20000W"));
    EXPECT_EQ(CompleteLongitudeText(L("000°30.1E")), L("000°30.10000E"));
    // Complete texts stay as they are.
    EXPECT_EQ(CompleteLatitudeText(L("50°07.50000N")), L("50°07.50000N"));
    EXPECT_EQ(CompleteLongitudeText(L("001°15.20000W")), L("001°15.20000W"));
    // Empty texts become zero degrees, in the form the position fields read
    // back (the longitude has three degree digits).
    EXPECT_EQ(CompleteLatitudeText(""), L("00°00.00000N"));
    EXPECT_EQ(CompleteLongitudeText(""), L("000°00.00000W"));
    double lat = 1, lon = 1;
    EXPECT_TRUE(ParseLatLonDM(CompleteLatitudeText(""), CompleteLongitudeText(""), lat, lon));
    EXPECT_EQ(lat, 0.0);
    EXPECT_EQ(lon, 0.0);
    // A completed text reads as the position typed.
    EXPECT_TRUE(
        ParseLatLonDM(CompleteLatitudeText(L("50°07.5N")), CompleteLongitudeText(L("001°15.2W")), lat, lon));
    EXPECT_DOUBLE_EQ(lat, 50.0 + 7.5 / 60.0);
    EXPECT_DOUBLE_EQ(lon, 1.0 + 15.2 / 60.0);
}

} // namespace
