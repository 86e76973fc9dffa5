#include "nav/NmeaOutput.h"
#include "nav/LocalClock.h"
#include "nav/NavState.h"
#include "nav/NavUpdate.h"
#include "support/SentenceCheck.h"
#include "support/ShortStringPrint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>

namespace
{

// Steering for waypoint 2 "Bar Buoy" from "Outer Spit": 0.12 nm left of the
// track, bearing 045 (049 magnetic with 4° west variation), heading to steer
// 47.46 true.
class NmeaOutputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        NmeaOpen = true;
        NmeaOutputOn = true;
        OutXTE = OutAPB = OutHSC = OutBOD = OutUser = false;
        RouteCount = 3;
        ActiveWaypoint = 2;
        LegStatusText = ",A";
        XteText = "0.12,L,";
        BearingText = "045";
        CtsText = "047";
        WaypointBearing = 45.3;
        MagVariation = -4;
        XteRefCourse = 45.0; // the leg from Outer Spit
        Heading = 47.46;
        DestWaypointName = "Bar Buoy";
        OriginWaypointName = "Outer Spit";
        FixTimeText = "123456";
    }

    // Due north of the boat, 3 nm away, heading straight for it at 6 kn.
    static void HeadNorthForTheCardinal()
    {
        CosLat = 1.0;
        ManualSpeed = 6.0;
        LogCount = 2;
        LogRecords[1] = LogRecord { rtl::Real6(49.9), rtl::Real6(1.0), rtl::Real6(600.0) };
        LogRecords[2] = LogRecord { rtl::Real6(50.0), rtl::Real6(1.0), rtl::Real6(660.0) };
        CurLat = 50.0;
        CurLon = 1.0;
        RoutePoints[1] = { 50.05, 1.0 };
        RouteNames[1] = "North Cardinal          19   ";
        RouteCount = 1;
        ActiveWaypoint = 1;
    }
    void TearDown() override { ResetNavState(); }
};

TEST_F(NmeaOutputTest, NamesAndReceivedTextsCannotChangeTheSentenceStructure)
{
    // A name from a waypoint file with field separators and a star would
    // shift the fields behind a valid checksum; one with a carriage return
    // and '$' would end the sentence and start a forged one.
    DestWaypointName = "A*,T,9";
    OutAPB = true;
    BuildNmeaOutput();
    EXPECT_EQ(NmeaOutput, "$ECAPB,A,A,0.12,L,N,,,,,A__T_9,045,T,047,T,A*56\r\n");

    OutAPB = false;
    OutBOD = true;
    DestWaypointName = "\xC5lesund";
    OriginWaypointName = "\r$X,1";
    BuildNmeaOutput();
    EXPECT_EQ(NmeaOutput, "$ECBOD,045,T,049,M,_LESUN,__X_1*72\r\n");

    OutBOD = false;
    OutUser = true;
    NmeaFields[1] = "1*2$\xB0";
    TowLayoutTexts[1] = "x,y";
    TowLayoutTexts[2] = "\n";
    UserSentenceTemplate = "$PKVU,@1,@+@e";
    BuildNmeaOutput();
    EXPECT_EQ(NmeaOutput, "$PKVU,1_2__,T:x_y:_*11\r\n");
}

TEST_F(NmeaOutputTest, EnabledSentencesFollowEachOtherInTheirOrderCharacterForCharacter)
{
    // BOD has six fields, as the sentence has: no empty one before the checksum.
    OutXTE = OutAPB = OutHSC = OutBOD = OutUser = true;
    UserSentenceTemplate = "$PKVU,@t,A|B,@x@e";
    BuildNmeaOutput();
    EXPECT_EQ(NmeaOutput,
        "$ECXTE,A,A,0.12,L,N,A*11\r\n"
        "$ECAPB,A,A,0.12,L,N,,,,,BAR_BU,045,T,047,T,A*3C\r\n"
        "$ECHSC,47.5,T,51.5,M*40\r\n"
        "$ECBOD,045,T,049,M,BAR_BU,OUTER*1A\r\n"
        "$PKVU,123456,A B,0.12,L,N*0F\r\n");
    // The destination name keeps its short form for later sentences.
    EXPECT_EQ(DestWaypointName, "Bar_Bu");

    // A user template without "@e" goes out without a checksum; a stray '@'
    // at the end does not take the line end with it.
    OutXTE = OutAPB = OutHSC = OutBOD = false;
    UserSentenceTemplate = "TEXT 1";
    BuildNmeaOutput();
    EXPECT_EQ(NmeaOutput, "TEXT01\r\n");
    UserSentenceTemplate = "TEXT@";
    BuildNmeaOutput();
    EXPECT_EQ(NmeaOutput, "TEXT\r\n");
}

TEST_F(NmeaOutputTest, DeadReckonedFiguresCarryTheEstimatedModeIndicator)
{
    // The last field of XTE and APB: A for a fix of any source, E for a
    // dead-reckoned position; HSC and BOD have no mode field.
    OutXTE = OutAPB = OutHSC = OutBOD = true;
    struct Row {
        const char* fixStatus;
        std::string sent;
    };
    const Row rows[] = {
        { "$GPGGA",
            "$ECXTE,A,A,0.12,L,N,A*11\r\n"
            "$ECAPB,A,A,0.12,L,N,,,,,BAR_BU,045,T,047,T,A*3C\r\n" },
        { "MAN",
            "$ECXTE,A,A,0.12,L,N,A*11\r\n"
            "$ECAPB,A,A,0.12,L,N,,,,,BAR_BU,045,T,047,T,A*3C\r\n" },
        { "DR",
            "$ECXTE,A,A,0.12,L,N,E*15\r\n"
            "$ECAPB,A,A,0.12,L,N,,,,,BAR_BU,045,T,047,T,E*38\r\n" },
    };
    const std::string rest = "$ECHSC,47.5,T,51.5,M*40\r\n"
                             "$ECBOD,045,T,049,M,BAR_BU,OUTER*1A\r\n";
    for (const Row& row : rows) {
        FixStatus = row.fixStatus;
        BuildNmeaOutput();
        EXPECT_EQ(NmeaOutput, row.sent + rest) << row.fixStatus;
    }
    // Without a heading to steer the estimated APB keeps its mode field.
    Heading = std::numeric_limits<double>::quiet_NaN();
    BuildNmeaOutput();
    EXPECT_EQ(NmeaOutput,
        "$ECXTE,A,A,0.12,L,N,E*15\r\n"
        "$ECAPB,A,A,0.12,L,N,,,,,BAR_BU,045,T,,,E*5F\r\n"
        "$ECBOD,045,T,049,M,BAR_BU,OUTER*1A\r\n");
}

TEST_F(NmeaOutputTest, HeadingsStayWithinAFullTurn)
{
    OutHSC = true;
    Heading = -2.0;
    BuildNmeaOutput();
    EXPECT_EQ(NmeaOutput, "$ECHSC,358.0,T,02.0,M*7B\r\n");
    // 359.97 rounds to a full turn: 0.0, written 00.0 like any heading under 10.
    Heading = 359.97;
    BuildNmeaOutput();
    EXPECT_EQ(NmeaOutput, "$ECHSC,00.0,T,04.0,M*43\r\n");
}

TEST_F(NmeaOutputTest, NothingWithoutAnActiveLegOrWithOutputOff)
{
    OutXTE = OutAPB = OutHSC = OutBOD = true;
    auto built = [] {
        NmeaOutput = "stale";
        BuildNmeaOutput();
        return NmeaOutput;
    };
    ActiveWaypoint = 0;
    EXPECT_EQ(built(), "");
    ActiveWaypoint = 4;
    EXPECT_EQ(built(), "");
    ActiveWaypoint = 2;
    NmeaOutputOn = false;
    EXPECT_EQ(built(), "");
    NmeaOutputOn = true;
    NmeaOpen = false;
    EXPECT_EQ(built(), "");
    NmeaOpen = true;
    RouteCount = 0;
    EXPECT_EQ(built(), "");
}

TEST_F(NmeaOutputTest, TheNavigationUpdateBuildsTheSentencesForItsLeg)
{
    HeadNorthForTheCardinal();
    XteRefCourse = 0.0;
    MagVariation = 0;
    RouteGuidanceOn = true;
    OutXTE = OutBOD = true;
    OriginWaypointName = "";
    UpdateNavigationData();
    EXPECT_EQ(NmeaOutput,
        "$ECXTE,A,A,0.00,R,N,A*0C\r\n"
        "$ECBOD,000,T,000,M,NORTH,*19\r\n");
}

// In NMEA 0183 BOD is the bearing from the origin waypoint to the
// destination: on a leg from WPA to WPB it stays the leg's 045 wherever the
// boat is off it. The first leg, from where the boat was, has no origin to
// name: its bearing is the one from the present position.
TEST_F(NmeaOutputTest, BodCarriesTheLegsBearingFromItsOrigin)
{
    ResetNavState();
    NmeaOpen = NmeaOutputOn = RouteGuidanceOn = true;
    OutXTE = OutAPB = false;
    OutBOD = true;
    ManualSpeed = 6.0;
    MagVariation = 13; // east
    RoutePoints[1] = { 0.0, 1.0 }; // on the equator: degrees of latitude and longitude alike
    RouteNames[1] = "WPA                     19   ";
    RoutePoints[2] = { 0.05, 0.95 }; // 045 from WPA, 4.2 nm
    RouteNames[2] = "WPB                     19   ";
    RouteCount = 2;
    ActiveWaypoint = 1;
    struct Step {
        const char* what;
        double lat, lon; // the boat, longitude west positive
        const char* sent;
    };
    const Step steps[] = {
        { "first leg, due south of WPA", -0.03, 1.0, "$ECBOD,000,T,347,M,WPA,*10\r\n" },
        { "arriving at WPA", -0.001, 1.001, "$ECBOD,045,T,032,M,WPB,WPA*55\r\n" },
        { "right of the leg, WPB bearing 037", 0.01, 0.98, "$ECBOD,045,T,032,M,WPB,WPA*55\r\n" },
        { "left of the leg, WPB bearing 053", 0.02, 0.99, "$ECBOD,045,T,032,M,WPB,WPA*55\r\n" },
    };
    for (const Step& step : steps) {
        CurLat = step.lat;
        CurLon = step.lon;
        UpdateNavigationData();
        EXPECT_EQ(NmeaOutput, step.sent) << step.what;
    }
    EXPECT_EQ(ActiveWaypoint, 2);
}

// A division by a configured or received value that gives no number: the
// figures it feeds show as unknown on the panel, and a sentence that would
// carry one is left out; the others still go.
TEST_F(NmeaOutputTest, FiguresThatAreNoNumbersAreNeverSent)
{
    constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    struct Row {
        const char* what;
        std::function<void()> poison;
        const char* sent; // the kinds of sentence still sent
    };
    const Row rows[] = {
        { "no poison", [] {}, "XTE APB HSC BOD USER " },
        // Range and cross-track error are divided by the unit.
        { "distance unit 0", [] { DistanceFactor = 0.0; }, "HSC BOD " },
        { "distance unit NaN", [] { DistanceFactor = kNan; }, "HSC BOD " },
        // The heading to steer is worked from the hull speed: without one,
        // APB goes with its heading field empty, and HSC and a user
        // sentence that inserts the heading are left out.
        { "hull speed NaN", [] { ManualSpeed = kNan; }, "XTE APB BOD " },
        { "hull speed infinite", [] { ManualSpeed = kInf; }, "XTE APB HSC BOD USER " },
        { "hull speed 0", [] { ManualSpeed = 0.0; }, "XTE APB BOD " },
        { "stream stronger than the boat",
            [] {
                ManualTideOff = false;
                TideSet = 90;
                TideDrift = 8.0;
            },
            "XTE APB BOD " },
    };
    for (const Row& row : rows) {
        ResetNavState();
        NmeaOpen = NmeaOutputOn = RouteGuidanceOn = true;
        OutXTE = OutAPB = OutHSC = OutBOD = OutUser = true;
        // Two sentences, as one would be longer than a sentence may be.
        UserSentenceTemplate = "$PKVU,@r,@g,@v,@s,@x,@h,@b,@^@e@l$PKVU,@p,@y@e";
        HeadNorthForTheCardinal();
        row.poison();
        UpdateNavigationData();

        EXPECT_EQ(kvtest::SentenceFault(NmeaOutput), "") << row.what;
        std::string kinds;
        for (std::size_t at = 0; (at = NmeaOutput.find('$', at)) != std::string::npos; ++at)
            if (NmeaOutput.compare(at, 5, "$PKVU") != 0)
                kinds += NmeaOutput.substr(at + 3, 3) + " ";
            else if (kinds.find("USER") == std::string::npos)
                kinds += "USER ";
        EXPECT_EQ(kinds, row.sent) << row.what << "\n" << NmeaOutput;
        if (!std::isfinite(Heading)) {
            EXPECT_NE(NmeaOutput.find(",NORTH,000,T,,,A*"), std::string::npos) << row.what << "\n"
                                                                               << NmeaOutput;
        }
        for (const auto* text :
            { &RangeText, &TtgText, &VmgText, &SogText, &XteText, &BearingText, &CtsText })
            EXPECT_TRUE(text->view().find("Nan") == std::string_view::npos
                && text->view().find("Inf") == std::string_view::npos)
                << row.what << ": " << text->view();
    }
}

// Magnetic figures are the true ones less the variation (east positive),
// 0 to 359: BOD, HSC and the template's magnetic course and bearing, for a
// boat on a track straight for the waypoint.
TEST_F(NmeaOutputTest, MagneticFiguresAreTrueLessTheVariationWithinAFullTurn)
{
    struct Row {
        const char* what;
        int16_t variation; // east positive
        double bearing; // true, of the waypoint and of the track
        const char* sent;
    };
    const Row rows[] = {
        { "3 W", -3, 19.4,
            "$ECHSC,19.4,T,22.4,M*4F\r\n$ECBOD,019,T,022,M,NORTH,*11\r\n$PKVU,022,022*18\r\n" },
        { "5 E", 5, 19.4, "$ECHSC,19.4,T,14.4,M*4A\r\n$ECBOD,019,T,014,M,NORTH,*14\r\n$PKVU,014,014*18\r\n" },
        { "none", 0, 19.4,
            "$ECHSC,19.4,T,19.4,M*47\r\n$ECBOD,019,T,019,M,NORTH,*19\r\n$PKVU,019,019*18\r\n" },
        { "west across north", -3, 358.4,
            "$ECHSC,358.4,T,01.4,M*78\r\n$ECBOD,358,T,001,M,NORTH,*16\r\n$PKVU,001,001*18\r\n" },
        { "east across north", 5, 2.4,
            "$ECHSC,02.4,T,357.4,M*74\r\n$ECBOD,002,T,357,M,NORTH,*1A\r\n$PKVU,357,357*18\r\n" },
        { "rounding up to a full turn", 0, 359.6,
            "$ECHSC,359.6,T,359.6,M*47\r\n$ECBOD,000,T,000,M,NORTH,*19\r\n$PKVU,000,000*18\r\n" },
    };
    for (const Row& row : rows) {
        ResetNavState();
        NmeaOpen = NmeaOutputOn = RouteGuidanceOn = true;
        OutXTE = OutAPB = false;
        OutHSC = OutBOD = OutUser = true;
        UserSentenceTemplate = "$PKVU,@c^,@^@e";
        HeadNorthForTheCardinal();
        const double north = std::cos(row.bearing * std::numbers::pi / 180);
        const double east = std::sin(row.bearing * std::numbers::pi / 180);
        // A degree of longitude is the cosine of the mean latitude of a degree of latitude.
        const auto lonScale = [](double lat) { return std::cos((lat + 50.0) / 2 * std::numbers::pi / 180); };
        const double fromLat = 50.0 - 0.1 * north;
        const double toLat = 50.0 + 0.05 * north;
        LogRecords[1] = LogRecord { rtl::Real6(fromLat), rtl::Real6(1.0 + 0.1 * east / lonScale(fromLat)),
            rtl::Real6(600.0) };
        RoutePoints[1] = { toLat, 1.0 - 0.05 * east / lonScale(toLat) };
        XteRefCourse = row.bearing;
        MagVariation = row.variation;
        UpdateNavigationData();
        EXPECT_EQ(NmeaOutput, row.sent) << row.what;
    }
}

} // namespace
