#include "nav/NmeaTemplate.h"
#include "nav/LocalClock.h"
#include "nav/NavState.h"
#include "support/ShortStringPrint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

void SetLastRecord(double lat, double lon)
{
    LogCount = 1;
    LogRecords[1] = LogRecord { rtl::Real6(lat), rtl::Real6(lon), rtl::Real6(600.0) };
}

// Saturday 7 March 2026, 09:05:03 local time.
LocalDateTime FixedNow()
{
    LocalDateTime t;
    t.year = 2026;
    t.month = 3;
    t.day = 7;
    t.hour = 9;
    t.minute = 5;
    t.second = 3;
    return t;
}

class NmeaTemplateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        SetLocalClock(FixedNow);
    }
    void TearDown() override
    {
        SetLocalClock({});
        ResetNavState();
    }
};

TEST(NmeaChecksumTest, MatchesARealReceiverSentence)
{
    // From a Garmin GPSmap 76S log: the checksum covers the text between '$' and '*'.
    const std::string body = "$GPGGA,125106,3854.5087,N,07726.4523,W,8,10,2.0,268.8,M,-33.9,M,,";
    EXPECT_EQ(NmeaChecksum(body, 2), "*7F");
    EXPECT_EQ(NmeaChecksum("$A", 3), "*00");
    EXPECT_EQ(NmeaChecksum("", 1), "*00");
    EXPECT_EQ(NmeaChecksum("\x0a", 1), "*0A"); // two upper-case digits, zero first
}

TEST(TrimNameFieldTest, CutsTakesAndDropsTrailingBlanksAndAts)
{
    EXPECT_EQ(TrimNameField("Outer Spit              19   ", 1, 6), "Outer");
    EXPECT_EQ(TrimNameField("AB@ @@  ", 1, 8), "AB");
    EXPECT_EQ(TrimNameField("Outer Spit", 7, 10), "Spit");
    EXPECT_EQ(TrimNameField("Short", 9, 3), "");
    // Only the first 33 characters count.
    EXPECT_EQ(TrimNameField(std::string(33, 'x') + "yz", 30, 10), "xxxx");
}

TEST(DegreeMinuteTextTest, PadsDegreesAndMinutesWithZeros)
{
    EXPECT_EQ(DegreeMinuteText(50.125, 1.0375, -1), "5007.50,N,00102.25,W");
    EXPECT_EQ(DegreeMinuteText(51.1187, 1.0, 4), "5107.1220,N,00100.0000,W");
    EXPECT_EQ(DegreeMinuteText(-5.5, -151.25, 0), "05030,S,151015,E");
}

TEST(DegreeMinuteTextTest, MinutesRoundingUpToSixtyCarryIntoTheDegrees)
{
    EXPECT_EQ(DegreeMinuteText(50 + 59.9996 / 60, 1 + 59.9996 / 60, 3), "5100.000,N,00200.000,W");
    EXPECT_EQ(DegreeMinuteText(-(9 + 59.996 / 60), 0.5, -1), "1000.00,S,00030.00,W");
}

TEST_F(NmeaTemplateTest, CodesInsertTheirValues)
{
    ActiveWaypoint = 3;
    FixStatus = "$GPGGA";
    NmeaFields[0] = "f17";
    NmeaFields[9] = "f16";
    MagVariation = -4;
    BearingText = "045";
    CogText = "090";
    CogMagText = "086";
    FixNumber = 7;
    TtgText = " 1 Hr 30.0 Min";
    CtsText = "047";
    CursorPositionText = "50 07.5";
    FixQuality = "1";
    SatCount = "08";
    RangeText = "2.50 Nm ";
    SogText = "5.25";
    FixTimeText = "123456";
    VmgText = "5.00 Kn";
    XteText = "0.12,L,";
    TowLayoutTexts[1] = "t1";
    TowLayoutTexts[2] = "t2";
    TowLayoutTexts[3] = "l3";
    TowLayoutTexts[4] = "l4";
    TowLayoutTexts[5] = "r5";
    TowLayoutTexts[6] = "r6";

    const std::vector<std::pair<std::string, std::string>> cases = {
        { "@#", "3" },
        { "@$", "$GPGGA" },
        { "@0@9", "f17f16" },
        { "@A", "004,W" },
        { "@b", "045" },
        { "@C", "090" },
        { "@c^", "086" },
        { "@d", "070326" },
        { "@D:", "07,03,2026" },
        { "@D/", "07/03/26" },
        { "@F", "00007" },
        { "@G", "010Hr030.00Min" },
        { "@h", "047" },
        { "a@Lb", "a\r\nb" },
        { "@M", "" },
        { "@O|@u", "50007.5 50007.5" },
        { "@Q", "1-08" },
        { "@R", "2.50" },
        { "@S", "5.25" },
        { "@t", "123456" },
        { "@T:", "09:05:03" },
        { "@V", "5.00" },
        { "@X", "0.12,L,N" },
        { "@+@[@]", "T:t1:t2L:l3:l4R:r5:r6" },
        // Not codes: dropped with their '@'.
        { "a@Zb", "ab" },
        { "1@,2", "12" },
        { "end@", "end" },
        // Blanks go out as '0', '|' as a blank.
        { "a b|c", "a0b c" },
    };
    for (const auto& [pattern, expected] : cases)
        EXPECT_EQ(ExpandNmeaTemplate(pattern), expected) << pattern;

    MagVariation = 3;
    EXPECT_EQ(ExpandNmeaTemplate("@a"), "003,E");
}

TEST_F(NmeaTemplateTest, PresentPositionComesFromTheNewestRecordOnTheChartDatum)
{
    SetLastRecord(51.1187, 1.0345);
    CurLat = 10.0; // not used while the track holds a record
    CurLon = 10.0;
    EXPECT_EQ(ExpandNmeaTemplate("@P:4"), "5107.1220,N,00102.0700,W");
    EXPECT_EQ(ExpandNmeaTemplate("@p"), "5107.12,N,00102.07,W");
    // ':' with no digit after it: no decimals, three wide.
    EXPECT_EQ(ExpandNmeaTemplate("@P:x"), "51007,N,001002,W");
    EXPECT_EQ(ExpandNmeaTemplate("@Y"), "51.11870000,-1.03450000");

    ChartOffsetLat = 0.01; // chart = GPS latitude + offset, GPS longitude - offset
    ChartOffsetLon = 0.02;
    EXPECT_EQ(ExpandNmeaTemplate("@P:3"), "5107.722,N,00100.870,W");
    EXPECT_EQ(ExpandNmeaTemplate("@y"), "51.12870000,-1.01450000");
}

TEST_F(NmeaTemplateTest, PresentPositionWithAnEmptyTrackIsThePresentPosition)
{
    LogCount = 0;
    LogRecords[1] = LogRecord { rtl::Real6(60.0), rtl::Real6(5.0), rtl::Real6(0.0) };
    CurLat = 50.5;
    CurLon = -1.25;
    EXPECT_EQ(ExpandNmeaTemplate("@P"), "5030.00,N,00115.00,E");
    EXPECT_EQ(ExpandNmeaTemplate("@Y"), "50.50000000,1.25000000");
}

TEST_F(NmeaTemplateTest, HemisphereLettersFollowThePrintedValues)
{
    // South and east of Greenwich: S and E, whatever the present position says.
    SetLastRecord(-33.5, -151.25);
    CurLat = 10.0;
    CurLon = 10.0;
    EXPECT_EQ(ExpandNmeaTemplate("@P"), "3330.00,S,15115.00,E");

    // A datum shift that carries the position across the equator.
    SetLastRecord(0.005, 0.0);
    ChartOffsetLat = -0.01;
    EXPECT_EQ(ExpandNmeaTemplate("@P:1"), "0000.3,S,00000.0,W");

    // The towed body: layout point 5 brought back by the offsets.
    ChartOffsetLat = 0.0;
    TowLayoutPoints[5] = TowLayoutPoint { -0.5, -2.0, 30.0 };
    EXPECT_EQ(ExpandNmeaTemplate("@>"), "0030.00,S,00200.00,E");
    EXPECT_EQ(TowLat, -0.5);
    EXPECT_EQ(TowLon, -2.0);
    ChartOffsetLon = -3.0;
    EXPECT_EQ(ExpandNmeaTemplate("@>:2"), "0030.00,S,00500.00,E");
}

TEST_F(NmeaTemplateTest, ActiveWaypointPosition)
{
    RouteCount = 2;
    RoutePoints[2] = { 50.5, 1.25 };
    ActiveWaypoint = 2;
    EXPECT_EQ(ExpandNmeaTemplate("$ECWPL,@~:3,"), "$ECWPL,5030.000,N,00115.000,W,");
    ActiveWaypoint = 0;
    EXPECT_EQ(ExpandNmeaTemplate("<@~>"), "<>");
    ActiveWaypoint = 3; // beyond the route
    EXPECT_EQ(ExpandNmeaTemplate("<@~:3>"), "<>");
}

TEST_F(NmeaTemplateTest, WaypointNamesTakeTheirShortFormForGood)
{
    DestWaypointName = "St. Mary's Pt";
    OriginWaypointName = "a b";
    EXPECT_EQ(ExpandNmeaTemplate("@W,@<"), "ST__MA,A_B");
    EXPECT_EQ(DestWaypointName, "St__Ma");
    EXPECT_EQ(OriginWaypointName, "a_b");
    EXPECT_EQ(ExpandNmeaTemplate("@w"), "ST__MA");
}

TEST(SentenceSafeTextTest, ReservedControlAndNonAsciiBytesBecomeUnderscores)
{
    EXPECT_EQ(SentenceSafeText("A*,T,9"), "A__T_9");
    EXPECT_EQ(SentenceSafeText(std::string("$!*,\\^~\r\n\t\x7F\x80\xB0\0", 14)), std::string(14, '_'));
    // Ordinary names and the expander's own characters pass as they are.
    EXPECT_EQ(SentenceSafeText(" Az09.'_-|@:#()/"), " Az09.'_-|@:#()/");
}

TEST_F(NmeaTemplateTest, CourseFieldsStayWithin000To359)
{
    WaypointBearing = 2.0;
    MagVariation = 4; // east
    EXPECT_EQ(ExpandNmeaTemplate("@^"), "358");
    WaypointBearing = 359.6;
    MagVariation = 0;
    EXPECT_EQ(ExpandNmeaTemplate("@^"), "000");
    WaypointBearing = 358.0;
    MagVariation = -5; // west
    EXPECT_EQ(ExpandNmeaTemplate("@^"), "003");

    BearingText = "360";
    CogText = "360";
    CtsText = "  5"; // a tidal set with its blanks: kept
    EXPECT_EQ(ExpandNmeaTemplate("@B,@C,@H"), "000,000,005");
}

TEST_F(NmeaTemplateTest, ChecksumCountsCharactersAsTheyAreSent)
{
    // The blank before 0.12 goes out as '0' and is counted as '0'.
    XteText = " 0.12,L,";
    EXPECT_EQ(ExpandNmeaTemplate("$ECXTE,A,A,@x,A@e"), "$ECXTE,A,A,00.12,L,N,A*21");
    XteText = "0.12,L,";
    EXPECT_EQ(ExpandNmeaTemplate("$ECXTE,A,A,@x,A@e"), "$ECXTE,A,A,0.12,L,N,A*11");
    // '|' goes out as a blank.
    FixTimeText = "123456";
    EXPECT_EQ(ExpandNmeaTemplate("$PKVU,@t,A|B,0.12,L,N@E"), "$PKVU,123456,A B,0.12,L,N*0F");
    // Without '$' the checksum covers everything; after two, from the last.
    EXPECT_EQ(ExpandNmeaTemplate("ECXTE,A,A,0.12,L,N,A@e"), "ECXTE,A,A,0.12,L,N,A*11");
    EXPECT_EQ(ExpandNmeaTemplate("$X@l$ECXTE,A,A,0.12,L,N,A@e"), "$X\r\n$ECXTE,A,A,0.12,L,N,A*11");
}

} // namespace
