#include "nav/RouteFile.h"
#include "nav/NavState.h"
#include "rtl/TextFile.h"
#include "support/ShortStringPrint.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{

const WaypointNameField kFairway = "Fairway buoy            13   ";
const WaypointNameField kBobsRock = "Bob's Rock              19   ";

class RouteFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetNavState(); }
    void TearDown() override { ResetNavState(); }

    static void Add(const WaypointNameField& name, double lat, double lon)
    {
        ++RouteCount;
        RouteNames[RouteCount] = name;
        RoutePoints[RouteCount] = TPosition { lat, lon };
    }

    // A ".rte" line of `name` at the given latitude and longitude texts.
    static std::string RteLine(int n, const std::string& position)
    {
        std::string name = "WP " + std::to_string(n);
        name.resize(29, ' ');
        return name + position + "\r\n";
    }

    kvtest::TempDir dir;
};

TEST_F(RouteFileTest, RteFileByteForByte)
{
    Add(kFairway, 50.7860, 1.3000);
    Add(kBobsRock, -(33 + 52.0 / 60), -151.2);
    Add("Pier", 50 + 59.999996 / 60, 0.0); // minutes that round to 60 carry
    ASSERT_TRUE(WriteRouteFile(dir.file("harbour.rte")));
    EXPECT_EQ(dir.read("harbour.rte"),
        "Fairway buoy            13   N 50.47.16000  W001.18.00000\r\n"
        "Bob's Rock              19   S 33.52.00000  E151.12.00000\r\n"
        "Pier                         N 51.00.00000  W000.00.00000\r\n");
}

TEST_F(RouteFileTest, SavedAndReloadedRteKeepsNamesAndPositionsToFiveDecimalsOfAMinute)
{
    Add(kFairway, 50.123456789, 1.987654321);
    Add(kBobsRock, -33.876543219, -151.234567891);
    Add("A                       19   ", 0.000003, -0.000004);
    Add("Label of exactly 24 chrs2005 ", 84.5, 179.99999);
    const auto saved = RoutePoints;
    const auto savedNames = RouteNames;
    ASSERT_TRUE(WriteRouteFile(dir.file("round.rte")));

    RouteCount = 0;
    EXPECT_EQ(ReadRouteFile(dir.file("round.rte")), RouteReadOutcome::Read);
    ASSERT_EQ(RouteCount, 4);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(RouteNames[i], savedNames[i]) << i;
        EXPECT_NEAR(RoutePoints[i].lat * 60, saved[i].lat * 60, 0.5e-5) << i;
        EXPECT_NEAR(RoutePoints[i].lon * 60, saved[i].lon * 60, 0.5e-5) << i;
    }
    // Written again, the file is the same to the byte.
    const std::string first = dir.read("round.rte");
    ASSERT_TRUE(WriteRouteFile(dir.file("round.rte")));
    EXPECT_EQ(dir.read("round.rte"), first);
}

TEST_F(RouteFileTest, FortyFiveLinesLoadFortyWaypoints)
{
    std::string text;
    for (int n = 1; n <= 45; ++n)
        text += RteLine(n, "N 50." + std::to_string(10 + n) + ".00000  W001.00.50000");
    dir.write("long.rte", text);

    EXPECT_EQ(ReadRouteFile(dir.file("long.rte")), RouteReadOutcome::Read);
    ASSERT_EQ(RouteCount, 40);
    EXPECT_EQ(RouteNames[40].str(), "WP 40" + std::string(24, ' '));
    EXPECT_DOUBLE_EQ(RoutePoints[40].lat, 50 + 50.0 / 60);
    EXPECT_DOUBLE_EQ(RoutePoints[40].lon, 1 + 0.5 / 60);
    EXPECT_EQ(ActiveWaypoint, 1);
    EXPECT_TRUE(KeepRouteSelection);
    EXPECT_TRUE(RouteChanged);
}

TEST_F(RouteFileTest, DosRouteReadsItsColumnsAndHemispheres)
{
    // Columns 30 "S", 31-33 degrees, 35-39 minutes, 42 "E", 43-45 degrees,
    // 47-51 minutes; LF line ends are read as well.
    dir.write("old.prn",
        "Bob's Rock              19   S 33.52.00  E151.12.00\n"
        "Lower case s is north        s 10.30.00  e010.15.00\n"
        "Fairway buoy            13   N 50.47.16  W001.18.00\n");
    EXPECT_EQ(ReadRouteFile(dir.file("old.prn")), RouteReadOutcome::Read);
    ASSERT_EQ(RouteCount, 3);
    EXPECT_EQ(RouteNames[1], kBobsRock);
    EXPECT_DOUBLE_EQ(RoutePoints[1].lat, -(33 + 52.0 / 60));
    EXPECT_DOUBLE_EQ(RoutePoints[1].lon, -(151 + 12.0 / 60));
    EXPECT_DOUBLE_EQ(RoutePoints[2].lat, 10.5);
    EXPECT_DOUBLE_EQ(RoutePoints[2].lon, 10.25);
    EXPECT_NEAR(RoutePoints[3].lat, 50.786, 1e-12);
    EXPECT_NEAR(RoutePoints[3].lon, 1.3, 1e-12);
}

TEST_F(RouteFileTest, BadNumberIsAFormatErrorAndTheRestOfTheRouteStays)
{
    dir.write("bad.rte",
        RteLine(1, "N 50.30.00000  W001.15.00000") + RteLine(2, "N 5x.30.00000  W001.15.0000?")
            + RteLine(3, "S 10.00.00000  E002.00.00000"));
    const RouteReadOutcome outcome = ReadRouteFile(dir.file("bad.rte"));
    EXPECT_EQ(outcome, RouteReadOutcome::FormatError);
    ASSERT_EQ(RouteCount, 3);
    EXPECT_DOUBLE_EQ(RoutePoints[2].lat, 0.5); // degrees unread, minutes kept
    EXPECT_DOUBLE_EQ(RoutePoints[2].lon, 1.0);
    EXPECT_DOUBLE_EQ(RoutePoints[3].lat, -10.0);
    EXPECT_EQ(ActiveWaypoint, 1);

    const RouteNotice notice = RouteReadNotice(outcome);
    EXPECT_EQ(notice.kind, platform::MessageKind::Warning);
    EXPECT_EQ(notice.text, "Route file format error !");
    EXPECT_TRUE(RouteReadNotice(RouteReadOutcome::Read).text.empty());
}

TEST_F(RouteFileTest, MissingOrEmptyFileLeavesNoActiveWaypoint)
{
    Add(kFairway, 50.5, 1.25);
    ActiveWaypoint = 1;
    const RouteReadOutcome outcome = ReadRouteFile(dir.file("nowhere.rte"));
    EXPECT_EQ(outcome, RouteReadOutcome::Missing);
    EXPECT_EQ(RouteCount, 0);
    EXPECT_EQ(ActiveWaypoint, 0);
    EXPECT_TRUE(RouteChanged);
    const RouteNotice notice = RouteReadNotice(outcome);
    EXPECT_EQ(notice.kind, platform::MessageKind::Warning);
    EXPECT_EQ(notice.text, "Route File does not exist !");

    Add(kFairway, 50.5, 1.25);
    ActiveWaypoint = 1;
    dir.write("empty.rte", "");
    EXPECT_EQ(ReadRouteFile(dir.file("empty.rte")), RouteReadOutcome::Read);
    EXPECT_EQ(RouteCount, 0);
    EXPECT_EQ(ActiveWaypoint, 0);
}

TEST_F(RouteFileTest, KindIsTheExtensionAfterTheLastDot)
{
    EXPECT_EQ(RouteFileKindOf("routes/my.route.rte"), RouteFileKind::Rte);
    EXPECT_EQ(RouteFileKindOf("routes/OLD.PRN"), RouteFileKind::Prn);
    EXPECT_EQ(RouteFileKindOf("routes/x.Rte"), RouteFileKind::Rte);
    EXPECT_EQ(RouteFileKindOf("routes/route.rte.bak"), RouteFileKind::Unknown);
    EXPECT_EQ(RouteFileKindOf("my.routes/plain"), RouteFileKind::Unknown);
    EXPECT_EQ(RouteBaseName("routes/my.route.rte"), "my.route");
    EXPECT_EQ(RouteBaseName("harbour.rte"), "harbour");

    const std::string line = RteLine(1, "N 50.30.00000  W001.15.00000");
    dir.write("my.route.rte", line + line);
    EXPECT_EQ(ReadRouteFile(dir.file("my.route.rte")), RouteReadOutcome::Read);
    EXPECT_EQ(RouteCount, 2);

    // Any other name reads nothing, and says so.
    dir.write("route.rte.bak", line);
    const RouteReadOutcome outcome = ReadRouteFile(dir.file("route.rte.bak"));
    EXPECT_EQ(outcome, RouteReadOutcome::UnknownKind);
    EXPECT_EQ(RouteCount, 0);
    EXPECT_EQ(ActiveWaypoint, 0);
    EXPECT_EQ(RouteReadNotice(outcome).text, "Route file format error !");

    // The name is matched without regard to case.
    dir.write("Harbour.RTE", line);
    EXPECT_EQ(ReadRouteFile(dir.file("harbour.rte")), RouteReadOutcome::Read);
    EXPECT_EQ(RouteCount, 1);
}

} // namespace
