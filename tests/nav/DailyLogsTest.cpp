#include "nav/DailyLogs.h"
#include "nav/AisDatabase.h"
#include "nav/NavState.h"
#include "nav/TrackLog.h"
#include "platform/Ui.h"
#include "support/ScriptedUi.h"
#include "support/ShortStringPrint.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace
{

constexpr const char* kDay = "07-12-26";

class DailyLogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        ui.strictMessages = true; // opening the logs never shows a box
        AppFolder = dir.path() + "/";
        LogsFolder = dir.makeFolder("logs") + "/";
        NmeaLogTemplate = "@f,@d,@t,@p:4";
    }
    void TearDown() override { ResetNavState(); }

    std::string Log(const std::string& name) const { return dir.file("logs/" + name); }

    platform::ScriptedUi ui;
    kvtest::TempDir dir;
};

TEST_F(DailyLogsTest, DateTextIsDayMonthYear)
{
    EXPECT_EQ(LogDateTextFor(2026, 12, 7), "07-12-26");
    EXPECT_EQ(LogDateTextFor(2000, 1, 31), "31-01-00");
    EXPECT_EQ(TodayLogDateText().size(), 8u);
}

TEST_F(DailyLogsTest, NewDayCreatesTheLogsWithTheirHeaders)
{
    FixNumber = 12;
    EXPECT_TRUE(OpenDailyLogs(kDay));
    EXPECT_EQ(LogBaseName, kDay);
    EXPECT_EQ(TextLogName, kDay);
    EXPECT_EQ(LogDateText, ""); // no track log yet today
    EXPECT_EQ(TextLogLineCount, 0);
    EXPECT_EQ(FixNumber, 12);
    EXPECT_EQ(kvtest::ReadBytes(Log("07-12-26.txt")), "Log Date : 07-12-26\r\n@f,@d,@t,@p:4\r\n");
    EXPECT_EQ(kvtest::ReadBytes(Log("07-12-26.AIS")), "AIS Log Date : 07-12-26\r\n");
    EXPECT_EQ(kvtest::ReadBytes(dir.file("KVAIS.ADB")), "");
    EXPECT_EQ(AisDbRecordCount, 0);
    EXPECT_FALSE(dir.exists("logs/07-12-26.log"));
}

TEST_F(DailyLogsTest, SecondStartOnTheSameDayContinuesTheDaysLogs)
{
    LogRecords[1] = LogRecord { rtl::Real6(50.0), rtl::Real6(1.0), rtl::Real6(600.0) };
    LogCount = 1;
    SaveLogFile(Log("07-12-26.log"));
    const std::string text
        = "Log Date : 07-12-26\r\n@f,@t\r\n00001,0930\r\n\r\n* a remark\r\n# -b\r\n00002,0931\r\n";
    dir.write("logs/07-12-26.txt", text);
    const std::string ais = "AIS Log Date : 07-12-26\r\n!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n";
    dir.write("logs/07-12-26.AIS", ais);
    dir.write("KVAIS.ADB", std::string(2 * 824 + 100, 'x'));
    ResetNavState();
    AppFolder = dir.path() + "/";
    LogsFolder = dir.path() + "/logs/";
    NmeaLogTemplate = "@f,@d,@t,@p:4";

    OpenDailyLogs(kDay);
    EXPECT_EQ(LogDateText, kDay);
    EXPECT_EQ(LogCount, 1);
    EXPECT_EQ(NmeaLogTemplate, "@f,@t"); // the day's template comes back
    EXPECT_EQ(NmeaLogTemplatePrev, "@f,@t");
    EXPECT_EQ(TextLogLineCount, 3); // '#' lines count, '*' and empty lines do not
    EXPECT_EQ(FixNumber, 3);
    EXPECT_EQ(AisDbRecordCount, 2);
    EXPECT_EQ(kvtest::ReadBytes(Log("07-12-26.txt")), text);
    EXPECT_EQ(kvtest::ReadBytes(Log("07-12-26.AIS")), ais);
}

TEST_F(DailyLogsTest, TextLogWithoutATemplateLineKeepsTheConfiguredOne)
{
    dir.write("logs/07-12-26.txt", "Log Date : 07-12-26\r\n");
    OpenDailyLogs(kDay);
    EXPECT_EQ(NmeaLogTemplate, "@f,@d,@t,@p:4");
    EXPECT_EQ(NmeaLogTemplatePrev, "@f,@d,@t,@p:4");
    EXPECT_EQ(FixNumber, 0);

    dir.write("logs/07-12-26.txt", "Log Date : 07-12-26\r\n\r\n1\r\n");
    OpenDailyLogs(kDay);
    EXPECT_EQ(NmeaLogTemplate, "@f,@d,@t,@p:4");
    EXPECT_EQ(FixNumber, 1);
}

TEST_F(DailyLogsTest, ExistingFilesAreFoundWithoutRegardToCase)
{
    dir.write("logs/07-12-26.ais", "kept\r\n");
    dir.write("logs/07-12-26.TXT", "Log Date : 07-12-26\n@f\n1\n2\n");
    dir.write("kvais.adb", std::string(824, 'x'));
    OpenDailyLogs(kDay);
    EXPECT_EQ(kvtest::ReadBytes(Log("07-12-26.ais")), "kept\r\n");
    EXPECT_FALSE(dir.exists("logs/07-12-26.AIS"));
    EXPECT_EQ(FixNumber, 2);
    EXPECT_EQ(AisDbRecordCount, 1);
    EXPECT_FALSE(dir.exists("KVAIS.ADB"));
}

TEST_F(DailyLogsTest, MissingLogsFolderIsSkippedSilently)
{
    LogsFolder = dir.file("gone") + "/";
    EXPECT_FALSE(OpenDailyLogs(kDay)); // for the caller to say once
    EXPECT_EQ(LogBaseName, kDay);
    EXPECT_EQ(LogDateText, "");
    EXPECT_TRUE(dir.exists("KVAIS.ADB"));
}

} // namespace

namespace
{

TEST_F(DailyLogsTest, TextLogThatIsAFifoIsRefusedAtOnce)
{
    ASSERT_EQ(::mkfifo(Log("07-12-26.txt").c_str(), 0666), 0);
    auto done = std::async(std::launch::async, [] { return OpenDailyLogs(kDay); });
    if (done.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
        ADD_FAILURE() << "blocked on the FIFO";
        const int fd = ::open(Log("07-12-26.txt").c_str(), O_RDWR | O_NONBLOCK);
        ::close(fd);
    }
    EXPECT_FALSE(done.get());
}

TEST_F(DailyLogsTest, AisDatabaseThatIsAFifoIsNeitherReadNorReplaced)
{
    ASSERT_EQ(::mkfifo(dir.file("KVAIS.ADB").c_str(), 0666), 0);
    auto done = std::async(std::launch::async, [this] {
        OpenDailyLogs(kDay);
        AisTargetRecord record;
        // Refused either way: not opened, or reported as an error.
        bool used = false;
        try {
            used = nav::SearchAisDatabase(dir.file("KVAIS.ADB"), 1).opened;
        } catch (const std::runtime_error&) {
        }
        try {
            used = nav::AppendAisDatabase(dir.file("KVAIS.ADB"), record) >= 0 || used;
        } catch (const std::runtime_error&) {
        }
        return used;
    });
    if (done.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
        ADD_FAILURE() << "blocked on the FIFO";
        for (int i = 0; i < 3; ++i)
            ::close(::open(dir.file("KVAIS.ADB").c_str(), O_RDWR | O_NONBLOCK));
    }
    EXPECT_FALSE(done.get());
    struct stat st;
    ASSERT_EQ(::stat(dir.file("KVAIS.ADB").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

} // namespace
