// The cursor's position readout in each display form, against the examples
// of the position display and the published OS grid and UTM reference points.

#include "nav/PositionReadout.h"

#include "nav/NavState.h"

#include <gtest/gtest.h>

namespace
{

class PositionReadoutTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetNavState(); }
    void TearDown() override { ResetNavState(); }

    static std::string LatLon(double lat, double lon, bool decimalMinutes)
    {
        GridDisplay = false;
        AltPositionFormat = decimalMinutes;
        return CursorPositionReadout(lat, lon);
    }
};

TEST_F(PositionReadoutTest, DegreesAndMinutesInBothForms)
{
    EXPECT_EQ(LatLon(50.5, 1.25, true),
        "50\xB0"
        "30.0000N 001\xB0"
        "15.0000W");
    EXPECT_EQ(LatLon(50.5125, 1.25, false),
        "50\xB0"
        "30'45.0N 001\xB0"
        "15'00.0W");
    // Seconds are truncated to tenths, not rounded.
    EXPECT_EQ(LatLon(50.0 + 1.0 / 60 + 5.99 / 3600, 0.0, false),
        "50\xB0"
        "01'05.9N 000\xB0"
        "00'00.0W");
}

TEST_F(PositionReadoutTest, SouthAndEastTakeTheirLettersAndLeadingZeros)
{
    EXPECT_EQ(LatLon(-5.25, -7.5, true),
        "05\xB0"
        "15.0000S 007\xB0"
        "30.0000E");
    EXPECT_EQ(LatLon(0.0, 0.0, true),
        "00\xB0"
        "00.0000N 000\xB0"
        "00.0000W");
}

TEST_F(PositionReadoutTest, EitherSideOf180Degrees)
{
    // West positive: 179.5 is 179 degrees W, -179.5 is 179 degrees E.
    EXPECT_EQ(LatLon(10, 179.5, true).substr(12),
        "179\xB0"
        "30.0000W");
    EXPECT_EQ(LatLon(10, -179.5, true).substr(12),
        "179\xB0"
        "30.0000E");
}

TEST_F(PositionReadoutTest, DecimalMinutesNeverShowSixty)
{
    EXPECT_EQ(LatLon(50.99999999, 1.0, true).substr(0, 11),
        "51\xB0"
        "00.0000N");
}

TEST_F(PositionReadoutTest, OsGridNumericOrTheLetteredReferenceAlone)
{
    GridDisplay = true;
    GridDatum = 0;
    // 52.6575703 N, 1.7179216 E; the readout takes longitudes west positive.
    AltPositionFormat = false;
    EXPECT_EQ(CursorPositionReadout(52.6575703, -1.7179216), "E651409.90 N313177.27");
    AltPositionFormat = true;
    EXPECT_EQ(CursorPositionReadout(52.6575703, -1.7179216), "TG 51410 13177");
    // Off the grid.
    EXPECT_EQ(CursorPositionReadout(10, 30), "**************");
}

TEST_F(PositionReadoutTest, UtmOnTheChosenEllipsoid)
{
    GridDisplay = true;
    GridDatum = 8;
    EXPECT_EQ(CursorPositionReadout(51.88627587, -0.22884737), "31U 0309295 5752019");
    EXPECT_EQ(CursorPositionReadout(-33.8688, -151.2093), "56H 0334369 6250948");
}

TEST_F(PositionReadoutTest, GridChoiceOffGivesLatitudeAndLongitude)
{
    GridDisplay = false;
    GridDatum = 8;
    AltPositionFormat = true;
    EXPECT_EQ(CursorPositionReadout(50.5, 1.25),
        "50\xB0"
        "30.0000N 001\xB0"
        "15.0000W");
}

} // namespace
