#include "nav/TextLog.h"
#include "nav/DailyLogs.h"
#include "nav/NavState.h"
#include "support/ShortStringPrint.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace
{

// Records whose text tells which fix and event numbers they were written
// with.
std::string Numbers(const std::string& pattern)
{
    return pattern + ":" + std::to_string(FixNumber) + "/" + std::to_string(EventNumber);
}

class TextLogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        LogsFolder = dir.makeFolder("logs") + "/";
        LogBaseName = "07-12-26";
        NmeaLogTemplate = "@f,@t";
        TextLogOn = true;
    }
    void TearDown() override { ResetNavState(); }

    TextLogWrite Append(bool event = false, bool penUp = false)
    {
        return AppendTextLogRecord(event, penUp, Numbers);
    }
    std::string Log() const { return dir.read("logs/07-12-26.txt"); }

    kvtest::TempDir dir;
};

TEST_F(TextLogTest, RecordsEventsAndPenUpsInFileOrder)
{
    ASSERT_TRUE(OpenTextLog(TextLogPath()));
    EXPECT_EQ(Log(), "Log Date : 07-12-26\r\n@f,@t\r\n"); // two lines until the first record

    EXPECT_EQ(Append(), TextLogWrite::Written);
    EXPECT_EQ(Append(true), TextLogWrite::Written);
    EXPECT_EQ(Append(true, true), TextLogWrite::Written);
    EXPECT_EQ(Append(false, true), TextLogWrite::Written);
    EXPECT_EQ(Log(),
        "Log Date : 07-12-26\r\n@f,@t\r\n"
        "@f,@t:1/0\r\n"
        "*1\r\n@f,@t:2/1\r\n"
        "# -b\r\n*2\r\n@f,@t:3/2\r\n"
        "# -b\r\n@f,@t:4/2\r\n");
    EXPECT_EQ(FixNumber, 4);
    EXPECT_EQ(EventNumber, 2);
}

TEST_F(TextLogTest, RecordAfterALastLineCutShortStartsOnItsOwnLine)
{
    // The last record lost its line end when the machine went down.
    dir.write("logs/07-12-26.txt", "Log Date : 07-12-26\r\n@f,@t\r\n00001,09");
    ASSERT_TRUE(OpenTextLog(TextLogPath()));
    Append(false, true);
    EXPECT_EQ(Log(), "Log Date : 07-12-26\r\n@f,@t\r\n00001,09\r\n# -b\r\n@f,@t:2/0\r\n");
}

// The logs folder gone: nothing is written or counted. Back without the
// log: the log is made anew with its header before the record.
TEST_F(TextLogTest, RecordForAGoneLogMakesItAnewWithItsHeaderOnceTheFolderIsBack)
{
    FixNumber = 5;
    EventNumber = 2;
    std::filesystem::remove(dir.file("logs"));
    EXPECT_EQ(Append(true, true), TextLogWrite::Failed);
    EXPECT_EQ(FixNumber, 5);
    EXPECT_EQ(EventNumber, 2);
    EXPECT_FALSE(dir.exists("logs"));

    dir.makeFolder("logs");
    EXPECT_EQ(Append(true, true), TextLogWrite::Written);
    EXPECT_EQ(Log(), "Log Date : 07-12-26\r\n@f,@t\r\n# -b\r\n*3\r\n@f,@t:6/3\r\n");
}

TEST_F(TextLogTest, OpeningAnExistingLogTakesItsTemplateAndCount)
{
    dir.write("logs/07-12-26.txt",
        "Log Date : 07-12-26\r\n@f,@x\r\n00001,0.1\r\n*1\r\n00002,0.2\r\n\r\n# -b\r\n00003,0.3\r\n");
    EventNumber = 4;
    ASSERT_TRUE(OpenTextLog(TextLogPath()));
    EXPECT_EQ(NmeaLogTemplate, "@f,@x");
    EXPECT_EQ(NmeaLogTemplatePrev, "@f,@x");
    EXPECT_EQ(FixNumber, 4); // the pen-up marker counts with the records
    EXPECT_EQ(EventNumber, 4); // left as it was

    Append(true);
    EXPECT_TRUE(Log().ends_with("0.3\r\n*5\r\n@f,@x:5/5\r\n")) << Log();
}

TEST_F(TextLogTest, CreatingALogStartsTheFixNumbersAgainOnlyWhenItWasCreated)
{
    FixNumber = 9;
    ASSERT_TRUE(OpenTextLog(TextLogPath()));
    EXPECT_EQ(FixNumber, 0);
    EXPECT_EQ(NmeaLogTemplatePrev, "@f,@t");

    FixNumber = 9;
    LogsFolder = dir.path() + "/no such folder/";
    EXPECT_FALSE(OpenTextLog(TextLogPath()));
    EXPECT_EQ(FixNumber, 9);
}

} // namespace
