#include "nav/LogTemplate.h"
#include "nav/NavState.h"
#include "nav/NmeaTemplate.h"
#include "support/ShortStringPrint.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

void SetLastRecord(double lat, double lon)
{
    LogCount = 2;
    LogRecords[1] = LogRecord { rtl::Real6(1.0), rtl::Real6(1.0), rtl::Real6(500.0) };
    LogRecords[2] = LogRecord { rtl::Real6(lat), rtl::Real6(lon), rtl::Real6(600.0) };
}

std::string Expand(const std::string& pattern, const std::string& waypointBox = "")
{
    return ExpandLogTemplate(pattern, waypointBox);
}

class LogTemplateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        // 50 deg 7.5 min N, 1 deg 2.25 min W
        SetLastRecord(50.125, 1.0375);
        CurLat = 50.125;
        CurLon = 1.0375;
    }
    void TearDown() override { ResetNavState(); }
};

TEST_F(LogTemplateTest, DefaultRecordTemplate)
{
    FixNumber = 12; // five digits
    LogDateText = "07-12-26";
    FixTimeText = "094737";
    FixQuality = "1";
    SatCount = "08";
    CogText = "235";
    SogText = "  5.8Kn";
    VmgText = "  4.1Kn";
    XTE = -0.256;
    EXPECT_EQ(Expand("@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y"),
        "00012,07-12-26,094737,5007.5000,N,00102.2500,W,1-08,235,  5.8Kn,  4.1Kn,-0.26,"
        "50.12500000:-1.03750000");
}

TEST_F(LogTemplateTest, PositionFormSuffixes)
{
    EXPECT_EQ(Expand("@p"), "5007.50,N,00102.25,W");
    EXPECT_EQ(Expand("@P:4"), Expand("@p:4"));
    EXPECT_EQ(Expand("@p:4"), "5007.5000,N,00102.2500,W");
    // A colon at the end: minutes without decimals, three wide.
    EXPECT_EQ(Expand("@p:"), "50008,N,001002,W");
    // Any other character after the colon counts as 0 and is consumed.
    EXPECT_EQ(Expand("@p:x;"), "50008,N,001002,W;");
    // Nine decimals give the whole text; nothing is cut off its end.
    EXPECT_EQ(Expand("@p:9"), "5007.500000000,N,00102.250000000,W");

    SetLastRecord(-5.5, -1.0);
    EXPECT_EQ(Expand("@p"), "0530.00,S,00100.00,E"); // single-digit degrees padded
}

TEST_F(LogTemplateTest, DecimalPositionIsOnTheChartDatumEastPositive)
{
    ChartOffsetLat = 0.001;
    ChartOffsetLon = -0.002;
    EXPECT_EQ(Expand("@y"), "50.12600000:-1.03950000");
    // The degrees-and-minutes form is the record as stored.
    EXPECT_EQ(Expand("@p"), "5007.50,N,00102.25,W");
}

TEST_F(LogTemplateTest, EmptyTrackUsesThePresentPosition)
{
    LogCount = 0;
    ChartOffsetLat = 0.5;
    CurLat = 51.0; // chart datum: 50.5 on the GPS datum
    CurLon = -0.25;
    EXPECT_EQ(Expand("@p"), "5030.00,N,00015.00,E");
    EXPECT_EQ(Expand("@y"), "51.00000000:0.25000000");
}

TEST_F(LogTemplateTest, TowedBodyAndRouteWaypoint)
{
    TowLayoutPoints[5].lat = 50.5;
    TowLayoutPoints[5].lon = -0.25;
    ChartOffsetLat = 0.0;
    EXPECT_EQ(Expand("@>"), "5030.00,N,00015.00,E");
    EXPECT_EQ(TowLat, 50.5);
    EXPECT_EQ(TowLon, -0.25);
    ChartOffsetLat = 0.5;
    ChartOffsetLon = 0.25;
    EXPECT_EQ(Expand("@>:1"), "5000.0,N,00000.0,W");

    RoutePoints[1] = { 50.0, 1.0 };
    RoutePoints[2] = { -33.5, -151.25 };
    RouteCount = 2;
    ActiveWaypoint = 2;
    EXPECT_EQ(Expand("$ECWPL,@~:3,"), "$ECWPL,3330.000,S,15115.000,E,");
    EXPECT_EQ(Expand("@#"), "2");
    ActiveWaypoint = 0;
    EXPECT_EQ(Expand("[@~]"), "[]");
}

TEST_F(LogTemplateTest, CodesThatDifferFromTheOutputLanguage)
{
    XTE = 0.125;
    XteText = "0.13,L";
    TripLeg = 1.5;
    TripTotal = 12.5;
    LogDateText = "07-12-26";
    FixTimeText = "094737";
    RangeText = " 2.50 Nm";
    VmgText = "  4.1Kn";
    EXPECT_EQ(Expand("@x"), "0.13"); // the number, not the sentence field
    EXPECT_EQ(Expand("@l"), "1.5000"); // not a line end
    EXPECT_EQ(Expand("@&"), "12.50");
    EXPECT_EQ(Expand("@d/@t:"), "07-12-26/094737:"); // no suffixes
    EXPECT_EQ(Expand("@r|@v"), " 2.50 Nm|  4.1Kn"); // whole texts, blanks and '|' kept
    EXPECT_EQ(Expand("@a@e@<@^."), "."); // output-only codes are dropped
    EXPECT_EQ(Expand("a@Zb@"), "ab"); // unknown codes and a trailing '@' vanish
    EXPECT_EQ(Expand("@@x"), "x"); // '@' is not a code either
    EXPECT_EQ(Expand(""), "");
}

// A boat on its track a hair to one side: 0.00 either way, never -0.00.
TEST_F(LogTemplateTest, CrossTrackErrorOnTheTrackIsNeverNegativeZero)
{
    const struct {
        double xte;
        const char* text;
    } rows[] = { { -0.001, "0.00" }, { -0.0049, "0.00" }, { -0.0, "0.00" }, { 0.001, "0.00" },
        { -0.005, "-0.01" }, { -0.256, "-0.26" }, { 0.0, "0.00" } };
    for (const auto& row : rows) {
        XTE = row.xte;
        EXPECT_EQ(Expand("@x"), row.text) << row.xte;
    }
}

TEST_F(LogTemplateTest, CourseWithVariationConsumesTheCaret)
{
    CogText = "235";
    CogMagText = "237";
    EXPECT_EQ(Expand("@c^,"), "237,");
    EXPECT_EQ(Expand("@c,"), "235,");
    EXPECT_EQ(Expand("@C:"), "235:");
}

TEST_F(LogTemplateTest, MeasureReadoutOnlyWhileMeasuring)
{
    EXPECT_EQ(Expand("<@m>"), "<>");
    MeasureMode = true;
    EXPECT_NE(Expand("<@m>"), "<>");
}

TEST_F(LogTemplateTest, SelectedWaypointBoxLosesTrailingBlanksAndAts)
{
    EXPECT_EQ(Expand("[@w]", "Nab Tower   @@  "), "[Nab Tower]");
    EXPECT_EQ(Expand("[@W]", std::string(40, 'x')), "[" + std::string(33, 'x') + "]");
}

} // namespace
