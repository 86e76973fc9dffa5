// The dispatch log and its dump file.
#include <gtest/gtest.h>

#include "FakePort.h"
#include "serial/DispatchLog.h"
#include "support/TempDir.h"

namespace serial::test
{
namespace
{

using kvtest::CrLfLines;

const TLogDumpInfo Info { "COM3", "01/02/24, 03:04:05" };

TEST(DispatchLog, HeaderLinesAndOneLinePerEntry)
{
    TDispatchLog log;
    log.Start(1000);
    const uint8_t cr = '\r';
    log.Add(LogTrigger, LsData, 1234, 8, &cr, 1);
    auto lines = CrLfLines(log.Text(Info, true, false));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "SERIAL LINK v1.00");
    EXPECT_EQ(lines[1], "Compiler : " + CompilerText());
    EXPECT_EQ(lines[2], "Operating System : " + OperatingSystemText());
    EXPECT_EQ(lines[2].rfind("Operating System : Linux ", 0), 0u);
    EXPECT_EQ(lines[3], "Device: COM3");
    EXPECT_EQ(lines[4], "Date/time: 01/02/24, 03:04:05");
    EXPECT_EQ(lines[5], "Time      Type      SubType       Data      OtherData");
    EXPECT_EQ(lines[6], "--------  --------  ------------  --------  ---------");
    EXPECT_EQ(lines[7], "0001.234  Trigger   Data          00000008  [0D]");
}

TEST(DispatchLog, EntryTailsByKind)
{
    TDispatchLog log;
    log.Start(4000);
    const uint8_t outFree = 3;
    log.Add(LogTrigAlloc, LsStatusTrigger, 0, 8 + 3, &outFree, 1);
    const uint8_t lines = 0x30;
    log.Add(LogDispatch, LsModemStatus, 12345678, 0x31, &lines, 1);
    log.Add(LogTelnet, 0, 1, 1, nullptr, 0);
    const uint8_t user[] = { 'h', 'i', 0 };
    log.Add(LogUser, 0, 2, 0, user, 3);
    auto out = CrLfLines(log.Text(Info, true, true));
    ASSERT_EQ(out.size(), 11u);
    EXPECT_EQ(out[7], "0000.000  TrigAllc  Status        0000000b  (Output buffer free)");
    EXPECT_EQ(out[8], "12345.678  Dispatch  Modem status  00000031  [30](DCTS CTS DSR)");
    EXPECT_EQ(out[9], "0000.001  Telnet                  00000001  []");
    EXPECT_EQ(out[10], "0000.002  User                    00000000  hi[00]");
}

TEST(DispatchLog, LongDataWrapsUnderTheDataColumn)
{
    TDispatchLog log;
    log.Start(4000);
    std::vector<uint8_t> bytes(20, '\r');
    log.Add(LogDispatch, LsReadCom, 0, 20, bytes.data(), 20);
    auto out = CrLfLines(log.Text(Info, true, false));
    ASSERT_EQ(out.size(), 10u);
    std::string eight;
    for (int i = 0; i < 8; ++i)
        eight += "[0D]";
    EXPECT_EQ(out[7], "0000.000  Dispatch  ReadCom       00000014  " + eight);
    const std::string indent(44, ' ');
    EXPECT_EQ(out[8], indent + eight);
    std::string last = indent;
    last.append("[0D][0D][0D][0D]");
    EXPECT_EQ(out[9], last);
}

TEST(DispatchLog, FullRingDropsWholeOldestEntries)
{
    TDispatchLog log;
    log.Start(64);
    const uint8_t ten[10] = { '0', '1', '2', '3', '4', '5', '6', '7', '8', '9' };
    for (uint32_t i = 1; i <= 3; ++i)
        log.Add(LogDispatch, LsWriteCom, i, i, ten, 10); // 26 bytes each
    auto out = CrLfLines(log.Text(Info, true, false));
    ASSERT_EQ(out.size(), 9u);
    EXPECT_EQ(out[7].substr(0, 8), "0000.002");
    EXPECT_EQ(out[8].substr(0, 8), "0000.003");
    EXPECT_EQ(out[8].substr(44), "0123456789");
}

TEST(DispatchLog, EntryAsLargeAsTheRingIsRefusedWhole)
{
    TDispatchLog log;
    log.Start(64);
    const uint8_t one = 'x';
    log.Add(LogDispatch, LsWriteCom, 1, 1, &one, 1);
    std::vector<uint8_t> big(48, 'y'); // header + data = 64
    log.Add(LogDispatch, LsWriteCom, 2, 48, big.data(), 48);
    auto out = CrLfLines(log.Text(Info, true, false));
    ASSERT_EQ(out.size(), 8u); // the earlier entry is intact and alone
    EXPECT_EQ(out[7].substr(44), "x");
    big.resize(47); // 63 bytes fit once the older entry is dropped
    log.Add(LogDispatch, LsWriteCom, 3, 47, big.data(), 47);
    out = CrLfLines(log.Text(Info, true, false));
    ASSERT_EQ(out.size(), 9u);
    EXPECT_EQ(out[7].substr(0, 8), "0000.003");
}

TEST(DispatchLog, DumpWritesTheFileOnceAndNothingWhenEmpty)
{
    kvtest::TempDir dir;
    TDispatchLog log;
    EXPECT_EQ(log.Dump(dir.file("SERIAL.LOG"), false, true, false, Info), 0);
    log.Start(100);
    EXPECT_EQ(log.Dump(dir.file("SERIAL.LOG"), false, true, false, Info), 0);
    EXPECT_FALSE(dir.exists("SERIAL.LOG"));
    EXPECT_FALSE(log.Exists());

    log.Start(100);
    log.Add(LogThread, LsStart, 5, 0, nullptr, 0);
    // A folder that is not there: the error, and the log is kept.
    EXPECT_EQ(log.Dump(dir.file("none/SERIAL.LOG"), false, true, false, Info), -2);
    EXPECT_TRUE(log.Exists());
    EXPECT_EQ(log.Dump(dir.file("SERIAL.LOG"), false, true, false, Info), 0);
    EXPECT_EQ(CrLfLines(dir.read("SERIAL.LOG")).back(), "0000.005  Thread    Start         00000000  ");
    EXPECT_FALSE(log.Exists());
}

TEST(DispatchLog, EngineLogsTriggerWorkWithMillisecondsSinceOpen)
{
    ClockScope scope;
    FakePort port;
    RecordingWindow window;
    OpenWithWindow(port, window);
    port.SetPortName("COM1");
    port.StartLogging(10000);
    scope.clock.Advance(1234);
    const int cr = port.AddDataTrigger("\r", false);
    port.Feed("\r");
    port.RunPasses();
    auto out = CrLfLines(port.Log().Text(TLogDumpInfo { port.PortName(), "x" }, true, false));
    ASSERT_EQ(out.size(), 10u);
    EXPECT_EQ(out[7], "0001.234  TrigAllc  Data          00000008  [0D]");
    EXPECT_EQ(out[8], "0001.234  Dispatch  ReadCom       00000001  [0D]");
    EXPECT_EQ(out[9], "0001.234  Trigger   Data          00000008  ");
    EXPECT_EQ(cr, 8);
}

} // namespace
} // namespace serial::test
