// The com-port component on pseudo-terminals: opening and its failures,
// events on the GUI thread, closing (also from a handler), kept triggers,
// and the property rules.
#include "PortFixture.h"

#include "serial/SerExcept.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

using namespace serial;
using namespace serial::test;

TEST(SerPortProperties, StoredValuesAreKeptInTheirLimits)
{
    TSerialPort port;
    port.SetUseMSRShadow(false);
    EXPECT_TRUE(port.UseMSRShadow());
    port.SetBufferFull(5000);
    EXPECT_EQ(port.BufferFull(), 3686);
    port.SetBufferResume(4000);
    EXPECT_EQ(port.BufferResume(), 368);
    port.SetTraceSize(5000000);
    EXPECT_EQ(port.TraceSize(), 4000000u);
    port.SetLogSize(20000000);
    EXPECT_EQ(port.LogSize(), 16000000u);
    // Only tlOff and tlOn are kept while closed.
    port.SetTracing(TTraceLogState::tlPause);
    EXPECT_EQ(port.Tracing(), TTraceLogState::tlOff);
    port.SetLogging(TTraceLogState::tlOn);
    EXPECT_EQ(port.Logging(), TTraceLogState::tlOn);
    port.SetDeviceLayer(TDeviceLayer::dlWinsock);
    EXPECT_EQ(port.DeviceLayer(), TDeviceLayer::dlWin32);

    // Hardware flow fills in missing levels and ends RS-485 mode.
    TSerialPort flow;
    flow.SetRS485Mode(true);
    flow.SetHWFlowOptions(hwfUseRTS);
    EXPECT_EQ(flow.BufferFull(), 3686);
    EXPECT_EQ(flow.BufferResume(), 409);
    EXPECT_FALSE(flow.RS485Mode());
}

TEST(SerPortClosed, OperationsChangeNothingAndNeverOpen)
{
    kvtest::PtyPair pty;
    pty.MapAs(3);
    TSerialPort port;
    port.SetComNumber(3);
    port.SetAutoOpen(false);
    EXPECT_EQ(port.OutputFree(), 4096);
    port.SetOutSize(1000);
    EXPECT_EQ(port.OutputFree(), 1000);
    port.RemoveAllTriggers();
    port.RemoveTrigger(8);
    port.SetAvailLength(5);
    EXPECT_EQ(port.AvailLength(), 5); // stored for the next open
    port.SetOpen(false);
    EXPECT_EQ(port.Engine(), nullptr);
    EXPECT_EQ(port.LineError(), 0);
    EXPECT_FALSE(port.LineBreak());
    // Operations that need the engine raise without AutoOpen.
    EXPECT_THROW(port.WriteString("x"), ECommNotOpen);
    EXPECT_THROW(port.AddTimerTrigger(), ECommNotOpen);
    try {
        port.ReadChar();
        FAIL();
    } catch (const ECommNotOpen& e) {
        EXPECT_STREQ(e.what(), "ie_NOpen - device not open");
    }
    EXPECT_EQ(port.Engine(), nullptr);
}

TEST(SerPortOpen, MissingDeviceIsBadIdNonTerminalIsRefusedAndHeldDeviceIsAlreadyOpen)
{
    kvtest::EnvScope missing("KORVEX_COM9", "/nonexistent/ttyUSB9");
    TSerialPort port;
    port.SetComNumber(9);
    try {
        port.SetOpen(true);
        FAIL();
    } catch (const EBadId& e) {
        EXPECT_STREQ(e.what(), "ie_BadId - Specified comport doesn't exist");
    }
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.Engine(), nullptr);
    // A device that is no terminal: the system's text.
    kvtest::EnvScope notATerminal("KORVEX_COM9", "/dev/null");
    try {
        port.SetOpen(true);
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), ENOTTY);
        EXPECT_STREQ(e.what(), "Inappropriate ioctl for device");
    }

    kvtest::PtyPair pty;
    pty.MapAs(3);
    TSerialPort first, second;
    first.SetComNumber(3);
    second.SetComNumber(3);
    first.SetOpen(true);
    try {
        second.SetOpen(true);
        FAIL();
    } catch (const EAlreadyOpen& e) {
        EXPECT_STREQ(e.what(), "ie_Open - device already open");
    }
    EXPECT_FALSE(second.Open());
    // Opening twice opens once.
    TPortDispatcher* engine = first.Engine();
    first.SetOpen(true);
    EXPECT_EQ(first.Engine(), engine);
    first.SetOpen(false);
    second.SetOpen(true);
    EXPECT_TRUE(second.Open());
}

TEST_F(PortFixture, LineGivesAvailableDataThenTheDataTrigger)
{
    RecordLines();
    port.SetOpen(true);
    port.SetAvailLength(1);
    const uint16_t cr = port.AddDataTrigger("\r", false);
    EXPECT_EQ(cr, 8);
    pty.Write("ABC\r");
    ASSERT_TRUE(WaitFor([&] { return events.size() == 2; }));
    EXPECT_EQ(events, (std::vector<std::string> { "avail 3", "data 8" }));
    EXPECT_EQ(received, "ABC");
    // The CR comes with the next line's bytes.
    pty.Write("DEF\r");
    ASSERT_TRUE(WaitFor([&] { return events.size() == 4; }));
    EXPECT_EQ(events[2], "avail 4");
    EXPECT_EQ(received, "ABC\rDEF");
}

TEST_F(PortFixture, ProgramBytesArriveUnchangedAndFreeTheirBuffer)
{
    port.SetOutSize(300);
    port.SetOpen(true);
    EXPECT_EQ(port.OutputFree(), 300);
    EXPECT_THROW(port.WriteString(std::string(301, 'x')), EOutputBufferTooSmall);
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    port.WriteString("$ECXTE,A,A,0.01,L,N*7A\r\n");
    port.WriteString(all);
    EXPECT_EQ(pty.Read(24), "$ECXTE,A,A,0.01,L,N*7A\r\n");
    EXPECT_EQ(pty.Read(256), all);
    ASSERT_TRUE(WaitFor([&] { return port.OutputFree() == 300; }));

    // Trigger errors come as their exceptions.
    EXPECT_GT(port.AddDataTrigger(std::string(21, 'x'), false), 0);
    EXPECT_THROW(port.AddDataTrigger(std::string(22, 'x'), false), ETriggerTooLong);
    EXPECT_THROW(port.ArmTimerTrigger(1234, 10, true), EBadTriggerHandle);
}

TEST_F(PortFixture, ClosingKeepsTheTriggersForTheNextOpen)
{
    RecordLines();
    port.SetOpen(true);
    const uint16_t data = port.AddDataTrigger("\r", false);
    const uint16_t timer = port.AddTimerTrigger();
    port.ArmTimerTrigger(timer, 273, true);
    // The main window's close: the last two change nothing on a closed port.
    port.SetOpen(false);
    port.RemoveAllTriggers();
    port.SetAvailLength(0);
    EXPECT_EQ(port.AvailLength(), 0);

    port.SetOpen(true);
    EXPECT_EQ(port.Engine()->AvailTrigger(), 1u); // the kept threshold
    port.SetAvailLength(1);
    // Handle numbering starts again, so the new trigger shares the old one's
    // handle; both match, the newer first.
    EXPECT_EQ(port.AddDataTrigger("\r", false), data);
    pty.Write("X\r");
    ASSERT_TRUE(WaitFor([&] { return events.size() == 3; }));
    EXPECT_EQ(events, (std::vector<std::string> { "avail 1", "data 8", "data 8" }));
    // RemoveAllTriggers on the open port does clear them.
    port.RemoveAllTriggers();
    EXPECT_EQ(port.AvailLength(), 0);
    EXPECT_EQ(port.AddTimerTrigger(), 8);
}

TEST_F(PortFixture, NewPortNumberReopensWithTheSameTriggers)
{
    kvtest::PtyPair other;
    other.MapAs(4);
    RecordLines();
    port.SetOpen(true);
    const uint16_t data = port.AddDataTrigger("\r", false);
    port.SetComNumber(4);
    EXPECT_TRUE(port.Open());
    EXPECT_EQ(port.Engine()->PortName(), "COM4");
    EXPECT_EQ(platform::SerialDevice::Probe(pty.SlavePath()), 0); // COM3 let go
    other.Write("Q\r");
    ASSERT_TRUE(WaitFor([&] { return events.size() == 2; }));
    EXPECT_EQ(events[1], "data " + std::to_string(data));
    EXPECT_EQ(received, "Q");
}

TEST_F(PortFixture, HandlerThatClosesThePortFinishesAfterItsDelivery)
{
    std::vector<int> afterClose;
    int opened = 0, closed = 0;
    port.SetOnPortOpen([&](TCustomSerialPort&) { ++opened; });
    port.SetOnPortClose([&](TCustomSerialPort&) { ++closed; });
    port.SetOnTriggerData([&](TCustomSerialPort& cp, uint16_t) {
        cp.SetOpen(false);
        // Closing: reads give 0, triggers are not added, writes do nothing.
        afterClose = { cp.Closing(), cp.ReadChar(), cp.AddDataTrigger("\n", false) };
        cp.WriteString("ignored");
        events.push_back("data");
    });
    port.SetOnTriggerAvail([&](TCustomSerialPort&, uint16_t) { events.push_back("avail"); });
    port.SetOpen(true);
    port.AddDataTrigger("\r", false);
    pty.Write("AB\r");
    ASSERT_TRUE(WaitFor([&] { return port.Engine() == nullptr; }));
    EXPECT_EQ(afterClose, (std::vector<int> { 1, 0, 0 }));
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(events, (std::vector<std::string> { "avail", "data" }));
    EXPECT_EQ(platform::SerialDevice::Probe(pty.SlavePath()), 0);
    EXPECT_EQ(pty.Read(1, 50), ""); // nothing was written while closing
}

TEST_F(PortFixture, HandlerThatReopensThePortGetsItBackAfterTheClose)
{
    int opened = 0;
    port.SetOnPortOpen([&](TCustomSerialPort&) { ++opened; });
    port.SetOnTriggerData([&](TCustomSerialPort& cp, uint16_t) {
        events.push_back("data");
        if (events.size() == 1) {
            cp.SetOpen(false);
            cp.SetOpen(true); // honoured once the close is done
        }
    });
    port.SetOpen(true);
    port.AddDataTrigger("\r", false);
    pty.Write("\r");
    ASSERT_TRUE(WaitFor([&] { return opened == 2; }));
    EXPECT_TRUE(port.Open());
    pty.Write("\r"); // the kept trigger is back
    ASSERT_TRUE(WaitFor([&] { return events.size() == 2; }));
}

TEST_F(PortFixture, RaisingHandlerIsShownAndLaterEventsStillCome)
{
    int calls = 0;
    port.SetOnTriggerData([&](TCustomSerialPort&, uint16_t) {
        if (++calls == 1)
            throw std::runtime_error("Error writing Log File!");
    });
    port.SetOpen(true);
    port.AddDataTrigger("\r", false);
    pty.Write("\r");
    ASSERT_TRUE(WaitFor([&] { return calls == 1; }));
    pty.Write("\r");
    ASSERT_TRUE(WaitFor([&] { return calls == 2; }));
    EXPECT_EQ(ui.messages(), std::vector<std::string> { "Error writing Log File!" });
}

TEST_F(PortFixture, RunningTraceIsWrittenWhenThePortCloses)
{
    kvtest::TempDir dir;
    port.SetTraceName(dir.file("SERIAL.TRC"));
    port.SetTracing(TTraceLogState::tlOn); // kept while closed, started at open
    RecordLines();
    port.SetOpen(true);
    port.AddDataTrigger("\r", false);
    pty.Write("AB\r");
    ASSERT_TRUE(WaitFor([&] { return events.size() == 2; }));
    port.WriteString("C\r");
    EXPECT_EQ(pty.Read(2), "C\r");
    port.SetOpen(false);
    EXPECT_EQ(port.Tracing(), TTraceLogState::tlOff);
    const std::string trace = dir.read("SERIAL.TRC");
    EXPECT_NE(trace.find("Receive: "), std::string::npos) << trace;
    EXPECT_NE(trace.find("Transmit: "), std::string::npos) << trace;
    EXPECT_NE(trace.find("AB"), std::string::npos) << trace;
}
