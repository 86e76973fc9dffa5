// The lines of the AIS target data window, character for character, and the
// range ring table.

#include "nav/AisTargetInfo.h"
#include "nav/NavState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{

// ETA word: month(4) day(5) hour(5) minute(6).
int32_t Eta(int month, int day, int hour, int minute)
{
    return (month << 16) | (day << 11) | (hour << 6) | minute;
}

class AisTargetInfoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        CurLat = 50.8;
        CurLon = 1.3;
        CosLat = std::cos(50.8 * M_PI / 180);
        DistanceFactor = 1.0;
        CurrentYear = 2026;
        FixTime = 46000 + (9 * 3600 + 47 * 60 + 38) / 86400.0;
        context.now = LocalDateTime { 2026, 12, 7, 10, 0, 0, 0 };

        AisTargetCount = 2;
        nav::AisTargetRecord& t = AisTargets[2];
        t.messageType = 1;
        t.mmsi = 235012345;
        t.callSign = "MABC7@@";
        t.name = "SOLENT TRADER  @@@@@";
        t.shipType = 70;
        t.toBow = 80;
        t.toStern = 20;
        t.toPort = 6;
        t.toStarboard = 10;
        t.draught = 57;
        t.navStatus = 0;
        t.speedOverGround = 123;
        t.courseOverGround = 2351;
        t.trueHeading = 511;
        t.latitude = 30480000; // 50 48.0000 N
        t.longitude = -780000; // 1 18.0000 W
        t.destination = "SOUTHAMPTON@@@@@@@@@";
        t.eta = Eta(12, 24, 18, 30);
        // Heard 61 minutes 5 seconds ago: the age wraps at the hour.
        t.lastHeard = context.now.DateTimeValue() - (61 * 60 + 5) / 86400.0;
        t.trailCount = 1;
        t.trail[1] = { 50.81, -1.3 }; // 0.6 nm north of the vessel
    }

    nav::AisInfoContext context;
};

TEST_F(AisTargetInfoTest, AllLinesOfAVesselInOrder)
{
    const std::vector<std::string> expected
        = { "Target 2 of 2", "Age 01:05", "MMSI - 235012345", "Call Sign - MABC7", "Name SOLENT TRADER",
              "Type of Ship - 70", "Length - 100 Mtrs.", "Beam - 16 Mtrs.", "Max Draft - 5.7 Mtrs.",
              "Under way using engine", "SOG 12.3", "COG 235.1", "TrueHeading - Not available",
              "Lat 50\xB0"
              "48.000 N",
              "Long  1\xB0"
              "18.000 W",
              "Destination SOUTHAMPTON", "ETA - 12/24 18:30", "Range 0.6 Nm", "Bearing 0.0 \xB0T",
              "Timed at: 09:47:38 UTC", "Date: 07/12/2026" };
    EXPECT_EQ(nav::AisTargetInfoLines(2, context), expected);
}

TEST_F(AisTargetInfoTest, PlaybackLocalTimeBaseStationAndHeading)
{
    AisTargets[2].messageType = 4;
    AisTargets[2].trueHeading = 90;
    context.fixTimeUtc = false;
    context.playbackName = "07-12-26";
    const std::vector<std::string> lines = nav::AisTargetInfoLines(2, context);
    EXPECT_EQ(lines[9], "Fixed AIS Base Station");
    EXPECT_EQ(lines[12], "TrueHeading 90");
    EXPECT_EQ(lines[19], "Timed at: 09:47:38 Local");
    EXPECT_EQ(lines[20], "Date: 07-12-26");
    AisTargets[2].navStatus = 13;
    EXPECT_EQ(nav::AisTargetInfoLines(2, context)[9], "NavStat Reserved");
    EXPECT_TRUE(nav::AisTargetInfoLines(3, context).empty());
}

// A speed, course or heading that AIS did not give used to read as a figure:
// 0.0 for a target known by its static data only, 102.3 knots and 360.0
// degrees for a report's own "not available".
TEST_F(AisTargetInfoTest, SpeedCourseAndHeadingNotGivenReadNotAvailable)
{
    const struct {
        uint16_t sog, cog, heading;
        const char *sogLine, *cogLine, *headingLine;
    } cases[] = {
        { 1023, 3600, 511, "SOG - Not available", "COG - Not available", "TrueHeading - Not available" },
        { 0, 0, 0, "SOG 0.0", "COG 0.0", "TrueHeading 0" },
        { 1022, 3599, 359, "SOG 102.2", "COG 359.9", "TrueHeading 359" },
        { 1023, 2705, 271, "SOG - Not available", "COG 270.5", "TrueHeading 271" },
        { 55, 4095, 360, "SOG 5.5", "COG - Not available", "TrueHeading - Not available" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.sog) + " " + std::to_string(c.cog) + " " + std::to_string(c.heading));
        AisTargets[2].speedOverGround = c.sog;
        AisTargets[2].courseOverGround = c.cog;
        AisTargets[2].trueHeading = c.heading;
        const std::vector<std::string> lines = nav::AisTargetInfoLines(2, context);
        EXPECT_EQ(lines[10], c.sogLine);
        EXPECT_EQ(lines[11], c.cogLine);
        EXPECT_EQ(lines[12], c.headingLine);
    }
}

TEST_F(AisTargetInfoTest, SouthernAndEasternPositions)
{
    AisTargets[2].latitude = -3150000; // 5 15.000 S
    AisTargets[2].longitude = 1234567; // 2 03.457 E
    const std::vector<std::string> lines = nav::AisTargetInfoLines(2, context);
    EXPECT_EQ(lines[13],
        "Lat  5\xB0"
        "15.000 S");
    EXPECT_EQ(lines[14],
        "Long  2\xB0"
        "3.457 E");
}

// Two minutes of longitude apart across the 180th meridian at 17 S: 1.9 nm,
// due west or due east, never most of the way round the world.
TEST_F(AisTargetInfoTest, RangeAndBearingAcrossTheAntimeridian)
{
    const struct {
        double vesselLonWest;
        double targetLonEast;
        const char* bearing;
    } cases[] = { { 179.0 + 59.0 / 60, 179.0 + 59.0 / 60, "Bearing 270.0 \xB0T" },
        { -179.0 - 59.0 / 60, -179.0 - 59.0 / 60, "Bearing 90.0 \xB0T" } };
    for (const auto& c : cases) {
        CurLat = -17.0;
        CurLon = c.vesselLonWest;
        AisTargets[2].trail[1] = { -17.0, c.targetLonEast };
        const std::vector<std::string> lines = nav::AisTargetInfoLines(2, context);
        EXPECT_EQ(lines[17], "Range 1.9 Nm") << c.bearing;
        EXPECT_EQ(lines[18], c.bearing);
    }
}

// The range used to be labelled " Km" for statute miles.
TEST_F(AisTargetInfoTest, RangeLabelFollowsTheDistanceUnit)
{
    DistanceFactor = 1.852;
    EXPECT_EQ(nav::AisTargetInfoLines(2, context)[17], "Range 1.1 Km");
    DistanceFactor = 1.15081;
    EXPECT_EQ(nav::AisTargetInfoLines(2, context)[17], "Range 0.7 Mls");
}

TEST(AisEtaText, NotAvailableAndPartialEtas)
{
    // An ETA of 0 used to show a midnight time.
    EXPECT_EQ(nav::AisEtaText(0, 2026), "ETA - ");
    EXPECT_EQ(nav::AisEtaText(Eta(12, 31, 23, 59), 2026), "ETA - 12/31 23:59");
    EXPECT_EQ(nav::AisEtaText(Eta(0, 0, 24, 60), 2026), "ETA - ");
    EXPECT_EQ(nav::AisEtaText(Eta(3, 5, 24, 60), 2026), "ETA - 03/05 ");
    EXPECT_EQ(nav::AisEtaText(Eta(0, 0, 7, 5), 2026), "ETA - 07:05");
    EXPECT_EQ(nav::AisEtaText(Eta(2, 30, 7, 5), 2026), "ETA - 07:05"); // no 30 February
    EXPECT_EQ(nav::AisEtaText(Eta(2, 29, 7, 5), 2028), "ETA - 02/29 07:05");
    EXPECT_EQ(nav::AisEtaText(Eta(2, 29, 7, 5), 2026), "ETA - 07:05");
    EXPECT_EQ(nav::AisEtaText(Eta(13, 1, 7, 5), 2026), "ETA - 07:05");
    EXPECT_EQ(nav::AisEtaText(Eta(5, 1, 7, 5), 0), "ETA - 07:05"); // year unknown
}

TEST(AisAgeText, MinutesAndSecondsWrapAfterAnHour)
{
    EXPECT_EQ(nav::AisAgeText(0), "00:00");
    EXPECT_EQ(nav::AisAgeText(59.0 / 86400), "00:59");
    EXPECT_EQ(nav::AisAgeText((59 * 60 + 59) / 86400.0), "59:59");
    EXPECT_EQ(nav::AisAgeText(3600.0 / 86400), "00:00");
    EXPECT_EQ(nav::AisAgeText(-1.0 / 86400), "00:00"); // the clock set back
}

TEST(RangeRings, TableHintsAndBothEnds)
{
    EXPECT_TRUE(nav::RangeRingsNm(0).empty());
    EXPECT_EQ(nav::RangeRingsNm(2), (std::vector<double> { 0.5, 1, 2, 3, 4 }));
    EXPECT_EQ(nav::RangeRingsNm(8), (std::vector<double> { 1, 2, 4, 6, 8 }));
    EXPECT_EQ(nav::RangeRingsNm(10), (std::vector<double> { 2, 4, 6, 8, 10, 12 }));
    EXPECT_EQ(nav::RangeRingsNm(16), (std::vector<double> { 4, 8, 12, 16, 20 }));
    EXPECT_STREQ(nav::RangeRingHint(0), "Rings off|");
    EXPECT_STREQ(nav::RangeRingHint(4), "Rings 0.5,1,2,3,4 Nm|");
    EXPECT_STREQ(nav::RangeRingHint(6), "Rings 1,2,4,6,8 Nm|");
    EXPECT_STREQ(nav::RangeRingHint(12), "Rings 2,4,6,8,10,12 Nm|");
    EXPECT_STREQ(nav::RangeRingHint(14), "Rings 4,8,12,16,20 Nm|");
    EXPECT_EQ(nav::RingCountUp(16), 16);
    EXPECT_EQ(nav::RingCountUp(14), 16);
    EXPECT_EQ(nav::RingCountDown(0), 0);
    EXPECT_EQ(nav::RingCountDown(2), 0);
}

} // namespace
