#include "nav/TidalAtlas.h"
#include "nav/NavState.h"
#include "platform/Ui.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using Messages = std::vector<std::string>;

// Station i lies at 50 + i/100 N, 1 + i/100 W.
std::string StationFile(int count)
{
    std::string out;
    for (int i = 1; i <= count; ++i) {
        uint8_t record[12];
        TidePosition { rtl::Real6(50.0 + i / 100.0), rtl::Real6(1.0 + i / 100.0) }.store(record);
        out.append(reinterpret_cast<const char*>(record), sizeof record);
    }
    return out;
}

// Station i sets i degrees at every hour; the rate in tenths is the hour entry 1..13.
std::string FlowFile(int count)
{
    std::string out;
    for (int i = 1; i <= count; ++i)
        for (int hour = 1; hour <= 13; ++hour) {
            out += static_cast<char>(i & 0xFF);
            out += static_cast<char>(i >> 8);
            out += static_cast<char>(hour);
            out += '\0';
        }
    return out;
}

class TidalAtlasTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetNavState(); }
    void TearDown() override { ResetNavState(); }

    // Writes an atlas; an empty extension leaves that file out.
    std::string WriteAtlas(
        int stations, int flows, const std::string& flo = "FLO", const std::string& stp = "STP")
    {
        const std::string path = dir.write("solent.pos", StationFile(stations));
        if (!flo.empty())
            dir.write("solent." + flo, FlowFile(flows));
        if (!stp.empty())
            dir.write("solent." + stp, "Portsmouth\r\nsecond line\r\n");
        return path;
    }

    platform::ScriptedUi ui;
    kvtest::TempDir dir;
};

TEST_F(TidalAtlasTest, LoadsStationsStreamsAndStandardPort)
{
    LoadTidalData(WriteAtlas(3, 3));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(TideStationCount, 3);
    EXPECT_EQ(StandardPort, "Portsmouth");
    EXPECT_NEAR(TideStations[2].lat, 50.02, 1e-9);
    EXPECT_NEAR(TideStations[2].lon, 1.02, 1e-9);
    EXPECT_EQ(TideStreams[3][1], (TideFlow { 3, 1 })); // 6 hours before high water
    EXPECT_EQ(TideStreams[3][7], (TideFlow { 3, 7 })); // high water
    EXPECT_EQ(TideStreams[3][13], (TideFlow { 3, 13 }));
}

TEST_F(TidalAtlasTest, FlowsAreLittleEndianSignedWords)
{
    std::string flows = FlowFile(1);
    flows.replace(0, 4, std::string("\x02\x01\xFB\xFF", 4));
    DecodeTidalAtlas(StationFile(1), flows);
    EXPECT_EQ(TideStreams[1][1], (TideFlow { 0x0102, -5 }));
}

TEST_F(TidalAtlasTest, FortyFlowsForFortyTwoStationsGiveForty)
{
    LoadTidalData(WriteAtlas(42, 40));
    EXPECT_EQ(TideStationCount, 40);
    LoadTidalData(WriteAtlas(40, 42));
    EXPECT_EQ(TideStationCount, 40);
}

TEST_F(TidalAtlasTest, HundredAndTwentyStationsLoadTheFirstHundred)
{
    LoadTidalData(WriteAtlas(120, 120));
    EXPECT_EQ(TideStationCount, 100);
    EXPECT_NEAR(TideStations[100].lat, 51.0, 1e-9);
    EXPECT_EQ(TideStreams[100][5], (TideFlow { 100, 5 }));
}

TEST_F(TidalAtlasTest, PartialRecordsAreIgnored)
{
    DecodeTidalAtlas(StationFile(3) + "12345", FlowFile(3) + "xy");
    EXPECT_EQ(TideStationCount, 3);
    DecodeTidalAtlas(StationFile(3), FlowFile(3).substr(0, 2 * 52 + 51));
    EXPECT_EQ(TideStationCount, 2);
}

TEST_F(TidalAtlasTest, MissingStationFileKeepsTheLoadedAtlas)
{
    LoadTidalData(WriteAtlas(3, 3));
    dir.write("other.FLO", FlowFile(5));
    LoadTidalData(dir.file("other.pos"));
    EXPECT_EQ(ui.messages(), Messages { "Non existant File" });
    EXPECT_EQ(ui.shown().back().kind, "message:warning");
    EXPECT_EQ(TideStationCount, 3);
    EXPECT_EQ(StandardPort, "Portsmouth");
}

TEST_F(TidalAtlasTest, MissingFlowFileKeepsTheLoadedAtlas)
{
    LoadTidalData(WriteAtlas(3, 3));
    dir.write("other.pos", StationFile(5));
    LoadTidalData(dir.file("other.pos"));
    EXPECT_EQ(ui.messages(), Messages { "No FlowRate File" });
    EXPECT_EQ(ui.shown().back().kind, "message:warning");
    EXPECT_EQ(TideStationCount, 3);
    EXPECT_NEAR(TideStations[1].lat, 50.01, 1e-9);
}

TEST_F(TidalAtlasTest, MissingPortFileLeavesThePortEmpty)
{
    LoadTidalData(WriteAtlas(3, 3, "FLO", ""));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(TideStationCount, 3);
    EXPECT_EQ(StandardPort, "");
}

TEST_F(TidalAtlasTest, CompanionFilesAreFoundWithoutRegardToCase)
{
    LoadTidalData(WriteAtlas(2, 2, "flo", "Stp"));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(TideStationCount, 2);
    EXPECT_EQ(StandardPort, "Portsmouth");
}

} // namespace
