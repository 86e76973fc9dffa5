// The byte trace and its dump file.
#include <gtest/gtest.h>

#include "FakePort.h"
#include "serial/ByteTrace.h"
#include "support/TempDir.h"

namespace serial::test
{
namespace
{

TEST(ByteTrace, FullTraceOverwritesItsOldestEntryAndDumpsByKind)
{
    kvtest::TempDir dir;
    TByteTrace trace;
    ASSERT_EQ(trace.Start(3), 0);
    trace.Add('R', 'A');
    trace.Add('R', 'B');
    trace.Add('T', 'C');
    trace.Add('T', 'D'); // overwrites A
    EXPECT_EQ(trace.Dump(dir.file("SERIAL.TRC"), false, true, false), 0);
    EXPECT_EQ(dir.read("SERIAL.TRC"), "Receive: \r\nB\r\n\r\nTransmit: \r\nCD");
    EXPECT_FALSE(trace.Exists()); // a dump ends the trace
}

TEST(ByteTrace, BytesAreWrittenByTheHexOptions)
{
    struct Case {
        uint8_t byte;
        bool hex, allHex;
        const char* text;
    };
    for (const Case& c : { Case { ' ', true, false, "[20]" }, Case { ' ', false, false, " " },
             Case { '\r', false, false, "[13]" }, Case { '\r', true, false, "[0D]" },
             Case { '!', true, false, "!" }, Case { '~', true, false, "~" },
             Case { 0x7F, false, false, "[127]" }, Case { 0xB0, true, false, "[B0]" },
             Case { 5, false, false, "[5]" }, Case { 'A', false, true, "[41]" } })
        EXPECT_EQ(DumpByteText(c.byte, c.hex, c.allHex), c.text) << int { c.byte };
}

TEST(ByteTrace, LinesWrapBeforeColumn79AndOtherKindsAreSpecial)
{
    TByteTrace trace;
    trace.Start(100);
    for (int i = 0; i < 20; ++i)
        trace.Add('R', '\r');
    trace.Add('E', 'x');
    // 19 entries of 4 characters fill 76 columns; the 20th would pass 78.
    std::string nineteen;
    for (int i = 0; i < 19; ++i)
        nineteen += "[0D]";
    EXPECT_EQ(trace.Text(true, false), "Receive: \r\n" + nineteen + "\r\n[0D]\r\n\r\nSpecial-E: \r\nx");
}

TEST(ByteTrace, NothingTracedWritesNoFileAndBadSizesAreRefused)
{
    kvtest::TempDir dir;
    TByteTrace trace;
    EXPECT_EQ(trace.Dump(dir.file("a.trc"), false, true, false), 0); // no trace at all
    trace.Start(10);
    EXPECT_EQ(trace.Dump(dir.file("a.trc"), false, true, false), 0);
    EXPECT_FALSE(dir.exists("a.trc"));

    EXPECT_EQ(trace.Start(0), -1002);
    EXPECT_EQ(trace.Start(TByteTrace::MaxEntries + 1), -1002);
    EXPECT_FALSE(trace.On());
    trace.Add('R', 'x');
    EXPECT_EQ(trace.Text(true, false), "");
}

TEST(ByteTrace, PausedTraceKeepsWhatItHasAndAppendAddsToTheFile)
{
    kvtest::TempDir dir;
    TByteTrace trace;
    trace.Start(10);
    trace.Add('T', 'a');
    trace.Pause();
    trace.Add('T', 'b');
    trace.Resume();
    trace.Add('T', 'c');
    EXPECT_EQ(trace.Dump(dir.file("t.trc"), true, true, false), 0);
    trace.Start(10);
    trace.Add('R', 'z');
    EXPECT_EQ(trace.Dump(dir.file("t.trc"), true, true, false), 0);
    EXPECT_EQ(dir.read("t.trc"), "Transmit: \r\nacReceive: \r\nz");
    trace.Start(10);
    trace.Add('R', 'y');
    EXPECT_EQ(trace.Dump(dir.file("t.trc"), false, true, false), 0);
    EXPECT_EQ(dir.read("t.trc"), "Receive: \r\ny");
}

TEST(ByteTrace, UnwritableFileReturnsTheErrorAndEndsTheTrace)
{
    kvtest::TempDir dir;
    TByteTrace trace;
    trace.Start(10);
    trace.Add('R', 'x');
    EXPECT_EQ(trace.Dump(dir.file("missing/t.trc"), false, true, false), -2);
    EXPECT_FALSE(trace.Exists());
}

TEST(ByteTrace, EngineTracesEachReceivedByteOnceAndEachSentByte)
{
    ClockScope scope;
    FakePort port;
    RecordingWindow window;
    OpenWithWindow(port, window);
    ASSERT_EQ(port.StartTracing(100), 0);
    port.SetAvailTrigger(1);
    window.OnDeliver = [&](const Delivery&) { ReadBytes(port, 1); }; // peeks at A
    port.Feed("AB\r");
    port.RunPasses();
    ReadBytes(port, 3);
    const std::string ok = "OK";
    port.PutBlock(reinterpret_cast<const uint8_t*>(ok.data()), 2);
    EXPECT_EQ(port.Trace().Text(true, false), "Receive: \r\nAB[0D]\r\n\r\nTransmit: \r\nOK");
}

} // namespace
} // namespace serial::test
