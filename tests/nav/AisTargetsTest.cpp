// The AIS target table: merging decoded messages, trails, the table limit,
// new-target announcements and the AIS database behind the merge.
#include "nav/AisTargets.h"
#include "nav/AisAssembly.h"
#include "nav/AisDatabase.h"
#include "nav/AisSelection.h"
#include "nav/AisTargetInfo.h"
#include "nav/NavState.h"

#include "support/AisSentences.h"
#include "support/ShortStringPrint.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace nav;
using namespace kvtest;

namespace
{

std::vector<uint8_t> Image(const AisTargetRecord& r)
{
    std::vector<uint8_t> bytes(kAisRecordSize);
    StoreAisRecord(r, bytes.data());
    return bytes;
}

class AisTargetsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        AppFolder = dir.path() + "/";
        CosLat = 1.0;
    }

    // One sentence through assembly and merge, as the serial input does it.
    AisMergeResult Hear(const std::string& sentence, double now = 100.0)
    {
        AssembleAivdm(sentence);
        options.now = now;
        return UpdateAisTargets(options);
    }
    AisMergeResult HearPosition(int32_t mmsi, double lat, double lonEast, double now = 100.0)
    {
        return Hear(AivdmSentence(PositionReportPayload(mmsi, lat, lonEast)), now);
    }
    AisMergeResult HearStatic(int32_t mmsi, const std::string& name, double now = 100.0)
    {
        AisMergeResult last;
        for (const std::string& part : AivdmFragments(StaticDataPayload(mmsi, name, "CALL"), 2, "1"))
            last = Hear(part, now);
        return last;
    }

    TempDir dir;
    AisMergeOptions options;
};

TEST_F(AisTargetsTest, TrailGrowsOnlyWithNewPositionsAndDropsTheOldestAtTheFortyFirst)
{
    AisMergeResult r = HearPosition(111, 50.0, -1.0, 10.0);
    EXPECT_TRUE(r.newTarget);
    EXPECT_EQ(r.slot, 1);
    ASSERT_EQ(AisTargets[1].trailCount, 1);
    EXPECT_DOUBLE_EQ(AisTargets[1].trail[1].lat, 50.0);
    EXPECT_DOUBLE_EQ(AisTargets[1].trail[1].lon, -1.0) << "trail longitudes stay east positive";

    r = HearPosition(111, 50.0, -1.0, 11.0);
    EXPECT_FALSE(r.newTarget);
    EXPECT_EQ(AisTargets[1].trailCount, 1);
    EXPECT_EQ(AisTargets[1].lastHeard, 11.0);

    for (int i = 1; i <= 40; ++i)
        HearPosition(111, 50.0 + i / 100.0, -1.0);
    EXPECT_EQ(AisTargetCount, 1);
    ASSERT_EQ(AisTargets[1].trailCount, 40);
    EXPECT_DOUBLE_EQ(AisTargets[1].trail[1].lat, 50.01) << "the first position was dropped";
    EXPECT_DOUBLE_EQ(AisTargets[1].trail[40].lat, 50.40);
    EXPECT_EQ(AisTargets[1].latitude, 50.40 * 600000);
}

TEST_F(AisTargetsTest, StaticDataJoinTheTargetAndAPositionlessTargetGetsNoPointAtZeroZero)
{
    AisMergeResult r = HearStatic(222, "NORDIC STAR", 5.0);
    EXPECT_TRUE(r.newTarget);
    EXPECT_FALSE(r.announce) << "no position yet, nothing to announce";
    EXPECT_EQ(AisTargets[1].trailCount, 0);
    EXPECT_FALSE(AisHasPosition(AisTargets[1])) << "not a target at 0 N 0 E";
    EXPECT_EQ(AisTargets[1].fragmentCount, "2") << "a new target carries the whole decode record";
    // Nor one lying still and heading north: speed, course and heading read
    // "not available" until a report gives them.
    EXPECT_EQ(AisTargets[1].speedOverGround, 1023);
    EXPECT_EQ(AisTargets[1].courseOverGround, 3600);
    EXPECT_EQ(AisTargets[1].trueHeading, 511);

    r = HearPosition(222, 51.0, 2.0, 6.0);
    EXPECT_FALSE(r.newTarget);
    EXPECT_TRUE(r.announce) << "announced at its first position";
    ASSERT_EQ(AisTargets[1].trailCount, 1);
    EXPECT_DOUBLE_EQ(AisTargets[1].trail[1].lat, 51.0);
    EXPECT_EQ(AisTargets[1].name, "NORDIC STAR@@@@@@@@@");
    EXPECT_EQ(AisTargets[1].messageType, 1);
    EXPECT_EQ(AisTargets[1].speedOverGround, 123);
    EXPECT_EQ(AisTargets[1].courseOverGround, 2705);
    EXPECT_EQ(AisTargets[1].trueHeading, 271);
    EXPECT_EQ(AisTargets[1].radioStatus, 81931);

    EXPECT_FALSE(HearPosition(222, 51.1, 2.0).announce) << "announced once only";
    HearStatic(222, "RENAMED");
    EXPECT_EQ(AisTargets[1].messageType, 5);
    EXPECT_EQ(AisTargets[1].name, "RENAMED@@@@@@@@@@@@@");
    EXPECT_EQ(AisTargets[1].trailCount, 2) << "static data leave the trail alone";
    EXPECT_EQ(AisTargets[1].latitude, 51.1 * 600000);
    EXPECT_EQ(AisTargets[1].speedOverGround, 123) << "and the report's speed";
}

// Latitude 91 / longitude 181 is AIS for "not available"; anything beyond
// the poles or the date line is no position either, nor exactly 0 N 0 E (what
// a transponder without a fix sends) or a report whose time stamp is 63 (its
// positioning system is inoperative). The target is kept with its other
// data, but only a valid position is listed, taken as the nearest, enters
// its trail or announces it.
TEST_F(AisTargetsTest, PositionThatIsNotValidIsNeitherShownNorUsed)
{
    struct NoPosition {
        double lat, lonEast;
        int second = 33;
    };
    const NoPosition cases[] = { { 91, 181 }, { 91, 2 }, { 50, 181 }, { -90.5, 2 }, { 50, -180.5 }, { 0, 0 },
        { 50.001, 1.5, 63 } };
    CurLat = 50.0;
    CurLon = -1.5;
    HearPosition(499, 50.0 + 1 / 60.0, 1.5); // 1 nm north
    int32_t mmsi = 500;
    for (const NoPosition& c : cases) {
        ++mmsi;
        SCOPED_TRACE(std::to_string(c.lat) + " " + std::to_string(c.lonEast) + " at second "
            + std::to_string(c.second));
        AisMotion motion;
        motion.second = c.second;
        const std::string report = AivdmSentence(PositionReportPayload(mmsi, c.lat, c.lonEast, 1, motion));
        AisMergeResult r = Hear(report);
        ASSERT_TRUE(r.newTarget);
        EXPECT_FALSE(r.announce);
        EXPECT_EQ(AisTargets[r.slot].trailCount, 0);
        EXPECT_EQ(AisTargets[r.slot].mmsi, mmsi);
        EXPECT_FALSE(AisHasPosition(AisTargets[r.slot]));
        EXPECT_NE(FindNearestAisTarget().index, r.slot) << "a target 1 nm away is nearer";
        std::string lines;
        for (const std::string& line : AisTargetInfoLines(r.slot, {}))
            lines += line + "\n";
        EXPECT_NE(lines.find("Lat - Position not available\nLong - Position not available\n"), std::string::npos)
            << lines;
        EXPECT_NE(lines.find("Range - Not available\nBearing - Not available\n"), std::string::npos) << lines;

        r = HearPosition(mmsi, 50.5, 1.5);
        EXPECT_TRUE(r.announce) << "announced at its first real position";
        ASSERT_EQ(AisTargets[r.slot].trailCount, 1);
        EXPECT_DOUBLE_EQ(AisTargets[r.slot].trail[1].lat, 50.5);

        r = Hear(report);
        EXPECT_FALSE(r.announce);
        EXPECT_EQ(AisTargets[r.slot].trailCount, 1) << "the trail keeps the last real position";
        EXPECT_EQ(AisTargets[r.slot].latitude, int32_t(std::lround(c.lat * 600000)));
        EXPECT_FALSE(AisHasPosition(AisTargets[r.slot]));
    }
}

TEST_F(AisTargetsTest, SentenceThatCompletesNoMessageMergesNothing)
{
    HearPosition(333, 50.0, 1.0, 20.0);
    const std::vector<uint8_t> before = Image(AisTargets[1]);
    const AisMergeResult r = Hear(AivdmFragments(StaticDataPayload(444, "X", "Y"), 2, "2")[0], 21.0);
    EXPECT_EQ(r.slot, 0);
    EXPECT_EQ(Image(AisTargets[1]), before) << "the last-heard time is not refreshed";
    EXPECT_EQ(AisTargetCount, 1);

    // A message type the decoder leaves alone: MMSI 0, no target.
    EXPECT_EQ(Hear("!AIVDM,1,1,,B,B52K>;h00Fc>jpUlNV@ikwpUoP06,0*4C").slot, 0);
    EXPECT_EQ(AisTargetCount, 1);
}

// In a harbour the table fills up: the vessels that matter, near by or
// picked by the navigator, stay whoever has been heard last; a newcomer
// takes the place of a target without a position or else of the farthest.
TEST_F(AisTargetsTest, FullTableGivesTheFarthestTargetsPlaceNeverTheSelectedOnesOrANearerOnes)
{
    CurLat = 50.0;
    CurLon = 0.0;
    // Target i lies i/100 degree (0.6 i nm) north; target 60, the farthest,
    // is the selected one, target 1 was heard least recently.
    auto fill = [&] {
        ResetNavState();
        AppFolder = dir.path() + "/";
        CosLat = 1.0;
        for (int i = 1; i <= 60; ++i)
            HearPosition(1000 + i, 50.0 + i / 100.0, 0.0, 100.0 + i);
        SelectedAisTarget = 60;
    };
    const struct {
        const char* name;
        std::function<AisMergeResult()> newcomer;
        int slot; // taken by the newcomer, 0: left out
        int32_t mmsi; // in that slot afterwards
    } cases[] = {
        { "nearer than the farthest but the selected one",
            [&] { return HearPosition(9001, 50.585, 0.0, 300.0); }, 59, 9001 },
        { "in place of a target without a position",
            [&] {
                HearPosition(1030, 91.0, 181.0, 290.0); // target 30 lost its position
                return HearPosition(9002, 50.595, 0.0, 300.0);
            },
            30, 9002 },
        { "in place of a target whose only report has no fix",
            [&] {
                HearPosition(1020, 0.0, 0.0, 290.0);
                return HearPosition(9003, 50.005, 0.0, 300.0);
            },
            20, 9003 },
        { "farther than every other target", [&] { return HearPosition(9004, 50.595, 0.0, 300.0); }, 0, 0 },
        { "without a position", [&] { return HearStatic(9005, "NO FIX YET", 300.0); }, 0, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fill();
        std::vector<std::vector<uint8_t>> before;
        for (int i = 1; i <= 60; ++i)
            before.push_back(Image(AisTargets[i]));
        const AisMergeResult r = c.newcomer(); // the target it replaces may report first
        EXPECT_EQ(r.slot, c.slot);
        EXPECT_EQ(r.newTarget, c.slot > 0);
        EXPECT_EQ(r.announce, c.slot > 0);
        EXPECT_EQ(AisTargetCount, 60);
        EXPECT_EQ(SelectedAisTarget, 60);
        EXPECT_EQ(AisTargets[60].mmsi, 1060);
        for (int i = 1; i <= 60; ++i) {
            if (i == c.slot)
                EXPECT_EQ(AisTargets[i].mmsi, c.mmsi);
            else
                EXPECT_EQ(Image(AisTargets[i]), before[i - 1]) << "slot " << i;
        }
    }
}

TEST_F(AisTargetsTest, AnnouncementNamesTheRelativeBearingSectorWithoutTouchingTheLeg)
{
    options.voice = true;
    LogCount = 2;
    NavCourseKnown = true;
    CurLat = 50.0;
    CurLon = 1.0; // west positive: the target at 1 W due east of us lies at 0.5 W
    RouteCount = 1;
    RoutePoints[1] = { 51.0, 1.0 };
    ActiveWaypoint = 1;
    WaypointBearing = 12.5;
    WaypointDistance = 3.25;
    WaypointRangeNm = 3.25;

    NavCourse = 60.0; // target bearing 90: relative 30
    EXPECT_EQ(HearPosition(501, 50.0, -0.5).sectorWord, "AheadStarboard");
    NavCourse = 120.0; // relative -30, that is 330
    EXPECT_EQ(HearPosition(502, 50.0, -0.5).sectorWord, "Ahead");
    NavCourse = 0.0; // due south of us
    EXPECT_EQ(HearPosition(504, 49.5, -1.0).sectorWord, "Astern");
    EXPECT_EQ(LastAnnouncedName, "") << "speaking is the caller's";

    EXPECT_EQ(WaypointBearing, 12.5);
    EXPECT_EQ(WaypointDistance, 3.25);
    EXPECT_EQ(WaypointRangeNm, 3.25);
    EXPECT_EQ(ActiveWaypoint, 1);

    // Without a course made good, or as a shore station, a new target only beeps.
    LogCount = 1;
    AisMergeResult r = HearPosition(505, 50.0, -0.5);
    EXPECT_TRUE(r.announce);
    EXPECT_EQ(r.sectorWord, "");
    LogCount = 2;
    NavCourseKnown = false; // two fixes at one place
    r = HearPosition(507, 50.0, -0.5);
    EXPECT_TRUE(r.announce);
    EXPECT_EQ(r.sectorWord, "");
    NavCourseKnown = true;
    options.monitorMode = true;
    r = HearPosition(506, 50.0, -0.5);
    EXPECT_TRUE(r.announce);
    EXPECT_EQ(r.sectorWord, "");
}

TEST(AisSectors, EachSectorIsClosedBelowAndOpenAbove)
{
    const struct {
        double r;
        const char* word;
    } cases[] = { { 0, "Ahead" }, { 29.999, "Ahead" }, { 30, "AheadStarboard" }, { 60, "Starboard" },
        { 119.9, "Starboard" }, { 120, "AsternStarboard" }, { 150, "Astern" }, { 210, "AsternPort" },
        { 240, "Port" }, { 300, "AheadPort" }, { 329.999, "AheadPort" }, { 330, "Ahead" },
        { 359.9, "Ahead" } };
    for (const auto& c : cases)
        EXPECT_STREQ(AisSectorWord(c.r), c.word) << c.r;
}

TEST_F(AisTargetsTest, StaticDataOfAnUnknownVesselAreAppendedOnceToTheDatabase)
{
    options.updateDatabase = true;
    dir.write("kvais.adb", ""); // found whatever the case of its name
    AisDbRecordCount = 0;

    HearStatic(777, "FIRST SIGHT"); // a new target: the merge of its first static data appends nothing
    EXPECT_EQ(dir.read("kvais.adb").size(), 0u);
    HearPosition(777, 50.0, 1.0);
    HearStatic(777, "FIRST SIGHT");
    EXPECT_EQ(AisDbRecordCount, 1);
    HearStatic(777, "FIRST SIGHT");
    EXPECT_EQ(AisDbRecordCount, 1) << "a known vessel is not appended again";

    // Byte for byte: the listed fields, every other byte zero.
    const std::string bytes = dir.read("kvais.adb");
    ASSERT_EQ(bytes.size(), kAisRecordSize);
    AisTargetRecord want;
    want.mmsi = 777;
    want.imoNumber = 9123456;
    want.callSign = "CALL@@@";
    want.name = "FIRST SIGHT@@@@@@@@@";
    want.shipType = 70;
    want.toBow = 120;
    want.toStern = 30;
    want.toPort = 10;
    want.toStarboard = 12;
    want.draught = 65;
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), Image(want));
}

TEST_F(AisTargetsTest, NewTargetTakesItsStaticDataFromTheDatabaseWithTheDraught)
{
    AisTargetRecord older, newer;
    older.mmsi = newer.mmsi = 888;
    older.name = "OLD NAME";
    newer.name = "NEW NAME";
    newer.callSign = "ABCD";
    newer.imoNumber = 42;
    newer.shipType = 52;
    newer.toBow = 9;
    newer.draught = 33;
    AisTargetRecord other;
    other.mmsi = 889;
    other.name = "SOMEONE ELSE";
    std::string file;
    for (const AisTargetRecord* r : { &older, &other, &newer }) {
        const std::vector<uint8_t> image = Image(*r);
        file.append(image.begin(), image.end());
    }
    dir.write("KVAIS.ADB", file);

    options.searchDatabase = true;
    HearPosition(888, 50.0, 1.0);
    const AisTargetRecord& s = AisTargets[1];
    EXPECT_EQ(s.name, "NEW NAME") << "the later record wins";
    EXPECT_EQ(s.callSign, "ABCD");
    EXPECT_EQ(s.imoNumber, 42);
    EXPECT_EQ(s.shipType, 52);
    EXPECT_EQ(s.toBow, 9);
    EXPECT_EQ(s.draught, 33);
    EXPECT_EQ(s.messageType, 1);

    HearPosition(890, 50.0, 1.0); // not in the file
    EXPECT_EQ(AisTargets[2].name, "");
}

// A vessel's static data kept in the database come back whole after a
// restart, before the vessel sends them again.
TEST_F(AisTargetsTest, DatabaseGivesBackEveryFieldItKeepsAfterARestart)
{
    options.searchDatabase = options.updateDatabase = true;
    dir.write("KVAIS.ADB", "");
    HearPosition(235000088, 50.0, 1.0);
    for (const std::string& part : AivdmFragments(StaticDataPayload(235000088, "DEEP LADY", "MDL8", 80, 88), 2, "1"))
        Hear(part);
    ASSERT_EQ(AisDbRecordCount, 1);
    const AisTargetRecord heard = AisTargets[1];

    ResetNavState(); // the restart
    AppFolder = dir.path() + "/";
    CosLat = 1.0;
    HearPosition(235000088, 50.0, 1.0);
    const AisTargetRecord& s = AisTargets[1];
    EXPECT_EQ(s.imoNumber, heard.imoNumber);
    EXPECT_EQ(s.name, heard.name);
    EXPECT_EQ(s.callSign, heard.callSign);
    EXPECT_EQ(s.shipType, 80);
    EXPECT_EQ(s.toBow, heard.toBow);
    EXPECT_EQ(s.toStern, heard.toStern);
    EXPECT_EQ(s.toPort, heard.toPort);
    EXPECT_EQ(s.toStarboard, heard.toStarboard);
    EXPECT_EQ(s.draught, 88);
    const std::vector<std::string> lines = AisTargetInfoLines(1, {});
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Max Draft - 8.8 Mtrs."), lines.end());
}

TEST_F(AisTargetsTest, MissingDatabaseIsSkippedAndTheTargetStillMerged)
{
    options.searchDatabase = options.updateDatabase = true;
    HearPosition(999, 50.0, 1.0);
    HearStatic(999, "NO FILE");
    EXPECT_EQ(AisTargets[1].name, "NO FILE@@@@@@@@@@@@@");
    EXPECT_FALSE(dir.exists("KVAIS.ADB"));
    EXPECT_EQ(AisDbRecordCount, 0);
}

TEST_F(AisTargetsTest, DatabaseThatCannotBeReadIsReportedOnceAndRestsUntilSwitched)
{
    // A folder in the database's place opens but cannot be read.
    dir.makeFolder("KVAIS.ADB");
    options.searchDatabase = options.updateDatabase = true;

    AisMergeResult first;
    ASSERT_NO_THROW(first = HearPosition(901, 50.0, 1.0));
    EXPECT_EQ(first.databaseError, "Error reading AIS database file " + dir.file("KVAIS.ADB"));
    EXPECT_EQ(first.slot, 1) << "the target is merged all the same";
    EXPECT_TRUE(first.announce);

    AisMergeResult later;
    ASSERT_NO_THROW(later = HearPosition(902, 50.0, 1.0));
    EXPECT_EQ(later.databaseError, "");
    ASSERT_NO_THROW(later = HearStatic(901, "QUIET"));
    EXPECT_EQ(later.databaseError, "");
    EXPECT_EQ(AisTargetCount, 2);

    // Switching a database item tries the file again.
    SwitchAisDatabase();
    ASSERT_NO_THROW(later = HearPosition(903, 50.0, 1.0));
    EXPECT_EQ(later.databaseError, first.databaseError);
}

} // namespace
