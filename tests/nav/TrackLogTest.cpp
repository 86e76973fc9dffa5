#include "nav/TrackLog.h"
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

LogRecord Record(double lat, double lon, double minutes)
{
    return LogRecord { rtl::Real6(lat), rtl::Real6(lon), rtl::Real6(minutes) };
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

class TrackLogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        LogRecords[1] = Record(1.0, -1.0, 200.0);
        LogRecords[2] = Record(50.123456, 1.5, 601.25);
        LogRecords[3] = Record(-33.5, -151.25, 1439.5);
        LogRecords[60] = Record(10.0, 20.0, 30.0); // left over from a longer track
        LogCount = 3;
    }
    void TearDown() override { ResetNavState(); }

    platform::ScriptedUi ui;
    kvtest::TempDir dir;
};

TEST_F(TrackLogTest, SavedLogIs1792BytesLaidOutRecordByRecord)
{
    const std::string path = dir.file("07-12-26.log");
    SaveLogFile(path);
    const std::string image = kvtest::ReadBytes(path);
    ASSERT_EQ(image.size(), 1792u);
    // Record 1: 1.0, -1.0, 200.0 as 6-byte reals.
    EXPECT_EQ(
        image.substr(0, 18), Bytes({ 0x81, 0, 0, 0, 0, 0, 0x81, 0, 0, 0, 0, 0x80, 0x88, 0, 0, 0, 0, 0x48 }));
    // Record 60 keeps what the track held; unused records are zero.
    EXPECT_EQ(image.substr(59 * 18, 18).substr(0, 1), Bytes({ 0x84 })); // 10.0
    EXPECT_EQ(image.substr(60 * 18, 18), std::string(18, '\0'));
    // The count 3 at 1764, then 22 reserved zero bytes.
    EXPECT_EQ(image.substr(1764, 6), Bytes({ 0x82, 0, 0, 0, 0, 0x40 }));
    EXPECT_EQ(image.substr(1770), std::string(22, '\0'));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(TrackLogTest, LoadRestoresCountAndRecordsExactly)
{
    const std::string path = dir.file("07-12-26.log");
    SaveLogFile(path);
    const auto saved = LogRecords;
    ResetNavState();
    LoadLogFile(path);
    EXPECT_EQ(LogCount, 3);
    for (int i = 1; i <= kMaxLogRecords; ++i)
        EXPECT_EQ(LogRecords[i], saved[i]) << i;

    // And written back it is the same file, byte for byte.
    SaveLogFile(dir.file("again.log"));
    EXPECT_EQ(kvtest::ReadBytes(dir.file("again.log")), kvtest::ReadBytes(path));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(TrackLogTest, FileNameMatchesWithoutRegardToCase)
{
    SaveLogFile(dir.file("07-12-26.LOG"));
    LogCount = 0;
    LoadLogFile(dir.file("07-12-26.log"));
    EXPECT_EQ(LogCount, 3);
    EXPECT_EQ(dir.list(), std::vector<std::string> { "07-12-26.LOG" });
}

TEST_F(TrackLogTest, UnreadableFileChangesNothing)
{
    LoadLogFile(dir.file("missing.log"));
    EXPECT_EQ(ui.messages(), Messages { "Error reading Log File!" });
    EXPECT_EQ(ui.shown().back().kind, "message:error");
    EXPECT_EQ(LogCount, 3);
    EXPECT_EQ(LogRecords[1], Record(1.0, -1.0, 200.0));
}

TEST_F(TrackLogTest, UnwritableFileIsReported)
{
    SaveLogFile(dir.file("no-such-folder/07-12-26.log"));
    EXPECT_EQ(ui.messages(), Messages { "Error writing Log File!" });
    EXPECT_EQ(ui.shown().back().kind, "message:error");
}

TEST_F(TrackLogTest, ShortFileYieldsItsWholeRecords)
{
    SaveLogFile(dir.file("t.log"));
    std::string image = kvtest::ReadBytes(dir.file("t.log"));
    ResetNavState();
    LogRecords[3] = Record(7.0, 7.0, 7.0);
    DecodeTrackLog(std::string_view(image).substr(0, 2 * 18 + 5)); // two records and a piece
    EXPECT_EQ(LogCount, 2);
    EXPECT_EQ(LogRecords[2], Record(50.123456, 1.5, 601.25));
    EXPECT_EQ(LogRecords[3], Record(7.0, 7.0, 7.0));

    DecodeTrackLog({});
    EXPECT_EQ(LogCount, 0);
}

TEST_F(TrackLogTest, CountOutsideTheTableLoadsEveryRecord)
{
    for (double stored : { 200.0, -3.0, 99.0, 1e30 }) {
        LogCount = 3;
        std::string image = EncodeTrackLog();
        rtl::Real6(stored).toBytes(reinterpret_cast<uint8_t*>(image.data()) + 1764);
        DecodeTrackLog(image);
        EXPECT_EQ(LogCount, 98) << stored;
    }
    // A count in range is rounded; bytes past the image are not read.
    std::string image = EncodeTrackLog();
    rtl::Real6(2.75).toBytes(reinterpret_cast<uint8_t*>(image.data()) + 1764);
    DecodeTrackLog(image + std::string(500, '\xFF'));
    EXPECT_EQ(LogCount, 3);
}

} // namespace
