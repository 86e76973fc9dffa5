// The port engine over a fake device: received bytes through the ring to the
// handlers, data, timer and available-data triggers, output and line settings.
#include <gtest/gtest.h>

#include "FakePort.h"
#include "serial/SerExcept.h"

namespace serial::test
{
namespace
{

class PortDispatcherTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(OpenWithWindow(port, window), 0); }

    uint32_t LParam(uint32_t data) { return port.EngineNumber() * 65536 + data; }

    ClockScope scope;
    FakePort port;
    RecordingWindow window;
};

TEST_F(PortDispatcherTest, KthReadInsideAnEventIsTheKthUnreadByte)
{
    port.SetAvailTrigger(1);
    std::string seen;
    uint32_t usedInside = 0;
    int beyond = 0;
    window.OnDeliver = [&](const Delivery&) {
        seen = ReadBytes(port, 2);
        usedInside = port.InBuffUsed();
        uint8_t ch;
        port.GetChar(ch);
        beyond = port.GetChar(ch);
    };
    port.Feed("XYZ");
    port.RunPasses();
    EXPECT_EQ(seen, "XY"); // the first byte is not skipped
    EXPECT_EQ(usedInside, 1u);
    EXPECT_EQ(beyond, ecBufferIsEmpty);
    // All three were read inside, so all three are consumed.
    uint8_t ch;
    EXPECT_EQ(port.GetChar(ch), ecBufferIsEmpty);
}

TEST_F(PortDispatcherTest, HandlerReadingFewerBytesStopsThePassUntilNewDataArrives)
{
    port.SetAvailTrigger(1);
    port.AddDataTrigger("\r", false);
    int toRead = 1;
    window.OnDeliver = [&](const Delivery& d) {
        if (d.Message == TriggerAvailMsg)
            ReadBytes(port, toRead);
    };
    port.Feed("ABCD");
    port.RunPasses();
    EXPECT_EQ(window.Deliveries(), (std::vector<Delivery> { { TriggerAvailMsg, 4, LParam(0) } }));
    // No new data: the rest is not announced again.
    port.RunPasses();
    EXPECT_EQ(window.Deliveries().size(), 1u);
    // New data at a new position: the rest is announced with it.
    window.Clear();
    toRead = 100;
    port.Feed("E\r");
    port.RunPasses();
    EXPECT_EQ(window.Deliveries(),
        (std::vector<Delivery> { { TriggerAvailMsg, 4, LParam(0) }, { TriggerDataMsg, 8, LParam(1) } }));
}

TEST_F(PortDispatcherTest, BytesTakenUnscannedByAHandlerBreakAPartialMatch)
{
    // The handler of the available data before "X" reads on past the bytes
    // announced to it, taking "qB" before the data triggers saw them; the
    // "AX" before them must not join the "B" that arrives next.
    port.SetAvailTrigger(1);
    const int axb = port.AddDataTrigger("AXB", false);
    const int x = port.AddDataTrigger("X", false);
    window.OnDeliver = [&](const Delivery& d) {
        if (d.Message == TriggerAvailMsg)
            ReadBytes(port, 4);
    };
    port.Feed("AXqB");
    port.RunPasses();
    port.Feed("B");
    port.RunPasses();
    for (const Delivery& d : window.Deliveries())
        EXPECT_NE(d.WParam, static_cast<uint32_t>(axb)) << "\"AXB\" is not in \"AXqBB\"";
    EXPECT_EQ(window.Deliveries().at(1), (Delivery { TriggerDataMsg, static_cast<uint32_t>(x), LParam(1) }));
}

TEST_F(PortDispatcherTest, SecondHandlerReadingPastTheMatchedByteBreaksAPartialMatch)
{
    // Both "Q" triggers match the first byte; each handler reads one byte, so
    // the second takes the "z" no trigger has seen. "QB" must not match "Q"
    // with the "B" behind the "z".
    const int qb = port.AddDataTrigger("QB", false);
    port.AddDataTrigger("Q", false);
    port.AddDataTrigger("Q", false);
    window.OnDeliver = [&](const Delivery& d) {
        if (d.Message == TriggerDataMsg)
            ReadBytes(port, 1);
    };
    port.Feed("QzB");
    port.RunPasses();
    for (const Delivery& d : window.Deliveries())
        EXPECT_NE(d.WParam, static_cast<uint32_t>(qb)) << "\"QB\" is not in \"QzB\"";
    EXPECT_EQ(window.Deliveries().size(), 2u);
}

TEST_F(PortDispatcherTest, TriggersMatchingAtOneByteAreDeliveredLastAddedFirst)
{
    const int first = port.AddDataTrigger("$GPRMC", false);
    const int second = port.AddDataTrigger("RMC", false);
    const int third = port.AddDataTrigger("C", false);
    port.Feed("xx$GPRMC,");
    port.RunPasses();
    auto d = window.Deliveries();
    ASSERT_EQ(d.size(), 3u);
    EXPECT_EQ(d[0].WParam, static_cast<uint32_t>(third));
    EXPECT_EQ(d[1].WParam, static_cast<uint32_t>(second));
    EXPECT_EQ(d[2].WParam, static_cast<uint32_t>(first));
    EXPECT_EQ(d[2].LParam & 0xFFFF, 6u);
}

TEST_F(PortDispatcherTest, AvailableDataBeforeAMatchLeavesOutTheLongestMatchedText)
{
    port.SetAvailTrigger(2);
    port.AddDataTrigger("\r\n", false);
    window.OnDeliver = [&](const Delivery& d) {
        if (d.Message == TriggerAvailMsg)
            ReadBytes(port, static_cast<int>(d.WParam));
        else
            port.FlushInBuffer();
    };
    port.Feed("12345\r\n");
    port.RunPasses();
    auto d = window.Deliveries();
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[0], (Delivery { TriggerAvailMsg, 5, LParam(0) }));
    EXPECT_EQ(d[1].Message, TriggerDataMsg);
    EXPECT_EQ(port.InBuffUsed(), 0u);
    // Fewer bytes before the match than the threshold: only the data trigger.
    window.Clear();
    port.Feed("1\r\n");
    port.RunPasses();
    d = window.Deliveries();
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].Message, TriggerDataMsg);
}

TEST_F(PortDispatcherTest, DataTriggersMatchOverlapsCaseAndEveryByteOfAFullRing)
{
    struct Case {
        std::vector<std::string> triggers; // the last one is the one expected
        bool ignoreCase;
        std::vector<std::string> feeds; // input flushed between them
        std::size_t matches;
    };
    const Case cases[] = {
        // Overlapping candidates are followed in parallel.
        { { "AAB" }, false, { "AAAB" }, 1 },
        // A match ends all candidates; a new one may start at the matching byte.
        { { "ABAB" }, false, { "ABABABAB" }, 2 },
        { { "XX" }, false, { "XXX" }, 2 },
        // An empty trigger is taken and never matches.
        { { "", "gpgga" }, true, { "$GpGgA," }, 1 },
        { { "END" }, false, { std::string(InputRingSize - 3, '.') + "END" }, 1 },
        // Flushing the input forgets partial matches.
        { { "ABC" }, false, { "AB", "C" }, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.triggers.back());
        port.ClearAllTriggers();
        window.Clear();
        int handle = 0;
        for (const std::string& text : c.triggers)
            EXPECT_GT(handle = port.AddDataTrigger(text, c.ignoreCase), 0);
        for (std::size_t i = 0; i < c.feeds.size(); ++i) {
            if (i > 0)
                port.FlushInBuffer();
            port.Feed(c.feeds[i]);
            port.RunPasses();
        }
        port.FlushInBuffer();
        ASSERT_EQ(window.Deliveries().size(), c.matches);
        for (const Delivery& d : window.Deliveries())
            EXPECT_EQ(d, (Delivery { TriggerDataMsg, static_cast<uint32_t>(handle), d.LParam }));
    }
}

TEST_F(PortDispatcherTest, FlushFromAHandlerOfAFullRingLeavesTheTriggersWorking)
{
    const int cr = port.AddDataTrigger("\r", false);
    port.SetAvailTrigger(1);
    bool flushed = false;
    window.OnDeliver = [&](const Delivery&) {
        if (!flushed && port.InBuffUsed() == InputRingSize) {
            flushed = true;
            port.FlushInBuffer();
        }
    };
    port.Feed(std::string(InputRingSize, 'a'));
    port.RunPasses();
    ASSERT_TRUE(flushed);
    EXPECT_EQ(port.InBuffUsed(), 0u);

    window.Clear();
    port.Feed("$GPGGA\r");
    port.RunPasses();
    const uint32_t engine = port.EngineNumber() * 65536;
    EXPECT_EQ(window.Deliveries(),
        (std::vector<Delivery> {
            { TriggerAvailMsg, 6, engine }, { TriggerDataMsg, static_cast<uint32_t>(cr), engine + 1 } }));
}

TEST_F(PortDispatcherTest, HandlerRebuildingTheTriggerListDuringTheWalk)
{
    std::vector<int> handles { port.AddDataTrigger("\r", false), port.AddDataTrigger("\r", false),
        port.AddDataTrigger("\r", false) };
    int added = 0;
    window.OnDeliver = [&](const Delivery& d) {
        // The first handler to run (the last trigger) removes all three and
        // adds one back, as a program re-arming its triggers would.
        if (added == 0) {
            for (int h : handles)
                port.RemoveTrigger(h);
            added = port.AddDataTrigger("\r", false);
        }
    };
    port.Feed("x\r");
    port.RunPasses();
    // The walk ends: the re-added trigger sits below the index reached and is
    // unmatched, and the removed ones are not delivered.
    ASSERT_EQ(window.Deliveries().size(), 1u);
    EXPECT_EQ(window.Deliveries()[0].WParam, static_cast<uint32_t>(handles[2]));
    // The re-added trigger works on the next line.
    window.Clear();
    port.Feed("y\r");
    port.RunPasses();
    ASSERT_EQ(window.Deliveries().size(), 1u);
    EXPECT_EQ(window.Deliveries()[0].WParam, static_cast<uint32_t>(added));
}

TEST_F(PortDispatcherTest, FullRingReadsNothingMoreUntilBytesAreConsumed)
{
    port.Feed(std::string(InputRingSize, 'a') + std::string(808, 'b'));
    EXPECT_TRUE(port.ReadInput());
    EXPECT_EQ(port.InBuffUsed(), InputRingSize);
    EXPECT_EQ(port.DriverQueued(), 808u);
    EXPECT_TRUE(port.ReadInput());
    EXPECT_EQ(port.DriverQueued(), 808u);
    EXPECT_EQ(ReadBytes(port, 10), std::string(10, 'a'));
    port.ReadInput();
    EXPECT_EQ(port.DriverQueued(), 798u);
    EXPECT_EQ(port.InBuffUsed(), InputRingSize);
    // The bytes keep their order across the ring's end.
    std::string all = ReadBytes(port, InputRingSize);
    EXPECT_EQ(all, std::string(InputRingSize - 10, 'a') + std::string(10, 'b'));
}

TEST_F(PortDispatcherTest, TimerTriggerFiresOncePerArmingAfterItsTicks)
{
    const int timer = port.AddTimerTrigger();
    port.RunPasses();
    EXPECT_TRUE(window.Deliveries().empty()); // added inactive
    ASSERT_EQ(port.SetTimerTrigger(timer, 273, true), 0);
    scope.clock.Advance(15000);
    port.RunPasses();
    EXPECT_TRUE(window.Deliveries().empty());
    scope.clock.Advance(71);
    port.RunPasses();
    EXPECT_EQ(window.Deliveries(),
        (std::vector<Delivery> { { TriggerTimerMsg, static_cast<uint32_t>(timer), LParam(0) } }));
    scope.clock.Advance(60000);
    port.RunPasses();
    EXPECT_EQ(window.Deliveries().size(), 1u);
    // Re-armed with ticks 0: the period stays 273.
    port.SetTimerTrigger(timer, 0, true);
    scope.clock.Advance(15071);
    port.RunPasses();
    EXPECT_EQ(window.Deliveries().size(), 2u);
    // Deactivated: never fires.
    port.SetTimerTrigger(timer, 10, true);
    port.SetTimerTrigger(timer, 0, false);
    scope.clock.Advance(10000);
    port.RunPasses();
    EXPECT_EQ(window.Deliveries().size(), 2u);
}

TEST_F(PortDispatcherTest, ExpiredTimersAreDeliveredInListOrderOnePerCheck)
{
    const int t1 = port.AddTimerTrigger();
    const int t2 = port.AddTimerTrigger();
    port.SetTimerTrigger(t2, 1, true);
    port.SetTimerTrigger(t1, 1, true);
    scope.clock.Advance(200);
    EXPECT_TRUE(port.CheckTimerTriggers());
    EXPECT_EQ(window.Deliveries().back().WParam, static_cast<uint32_t>(t1));
    EXPECT_TRUE(port.CheckTimerTriggers());
    EXPECT_EQ(window.Deliveries().back().WParam, static_cast<uint32_t>(t2));
    EXPECT_FALSE(port.CheckTimerTriggers());
}

TEST_F(PortDispatcherTest, TriggerHandlesAndRemoval)
{
    EXPECT_EQ(port.AddTimerTrigger(), 8);
    EXPECT_EQ(port.AddDataTrigger("\r", false), 16);
    EXPECT_EQ(port.AddDataTrigger(std::string(22, 'x'), false), ecTriggerTooLong);
    EXPECT_EQ(port.SetTimerTrigger(16, 10, true), ecBadTriggerHandle); // a data trigger
    EXPECT_EQ(port.SetTimerTrigger(1, 10, true), ecBadTriggerHandle);
    port.SetAvailTrigger(1);
    EXPECT_EQ(port.RemoveTrigger(1), 0);
    EXPECT_EQ(port.AvailTrigger(), 0u);
    EXPECT_EQ(port.RemoveTrigger(0), ecBadTriggerHandle);
    EXPECT_EQ(port.RemoveTrigger(24), ecBadTriggerHandle);
    EXPECT_EQ(port.RemoveTrigger(16), 0);
    EXPECT_EQ(port.RemoveTrigger(16), ecBadTriggerHandle);
    port.ClearAllTriggers();
    EXPECT_EQ(port.AddTimerTrigger(), 8);
}

TEST_F(PortDispatcherTest, AfterTheCounterRunsOutTheSmallestFreeHandleIsReused)
{
    for (int i = 1; i <= 4095; ++i)
        ASSERT_EQ(port.AddTimerTrigger(), i * 8);
    // Handles 8 to 4096 are all in use.
    EXPECT_EQ(port.AddTimerTrigger(), ecNoMoreTriggers);
    EXPECT_EQ(port.AddDataTrigger("\r", false), ecNoMoreTriggers);
    ASSERT_EQ(port.RemoveTrigger(800), 0);
    ASSERT_EQ(port.RemoveTrigger(4096), 0);
    ASSERT_EQ(port.RemoveTrigger(5000), 0); // above 4096: not offered again
    EXPECT_EQ(port.AddDataTrigger("\r", false), 800);
    EXPECT_EQ(port.AddTimerTrigger(), 4096);
    EXPECT_EQ(port.AddTimerTrigger(), ecNoMoreTriggers);
}

TEST_F(PortDispatcherTest, SavedTriggersComeBackWithHandlesAndState)
{
    port.SetAvailTrigger(1);
    const int cr = port.AddDataTrigger("\r", false);
    const int timer = port.AddTimerTrigger();
    port.SetTimerTrigger(timer, 273, true);
    SavedTriggers saved;
    port.SaveTriggers(saved);
    port.ClearAllTriggers();
    EXPECT_EQ(port.RemoveTrigger(cr), ecBadTriggerHandle);
    port.RestoreTriggers(saved);
    EXPECT_EQ(port.AvailTrigger(), 1u);
    // Numbering restarted with the clear, so a new trigger can share a
    // restored one's handle; timers are found first.
    const int fresh = port.AddTimerTrigger();
    EXPECT_EQ(fresh, cr);
    EXPECT_EQ(port.RemoveTrigger(fresh), 0);
    port.SetAvailTrigger(0);
    port.Feed("\r");
    port.RunPasses();
    EXPECT_EQ(window.Deliveries(),
        (std::vector<Delivery> { { TriggerDataMsg, static_cast<uint32_t>(cr), LParam(1) } }));
    // The restored timer kept its active flag and expiry.
    scope.clock.Advance(15071);
    port.RunPasses();
    EXPECT_EQ(
        window.Deliveries().back(), (Delivery { TriggerTimerMsg, static_cast<uint32_t>(timer), LParam(0) }));
    TPortDispatcher::FreeSavedTriggers(saved);
    EXPECT_TRUE(saved.Timers.empty() && saved.Data.empty() && saved.AvailThreshold == 0);
}

TEST_F(PortDispatcherTest, StatusTriggersFireOncePerArming)
{
    SavedTriggers saved;
    saved.Status.push_back(TStatusTrigger { 8 + StatusOutFree, 100, true, false });
    saved.Status.push_back(TStatusTrigger { 16 + StatusOutSent, 0, true, false });
    port.RestoreTriggers(saved);
    const uint8_t bytes[] = "$ECAPB";
    ASSERT_EQ(port.PutBlock(bytes, 6), 0);
    port.RunPasses();
    auto d = window.Deliveries();
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[0], (Delivery { TriggerStatusMsg, 8 + StatusOutFree, LParam(4090) }));
    EXPECT_EQ(d[1], (Delivery { TriggerStatusMsg, 16 + StatusOutSent, LParam(0) }));
    port.RunPasses();
    EXPECT_EQ(window.Deliveries().size(), 2u); // disarmed
}

TEST_F(PortDispatcherTest, OutputBufferTakesBlocksThatFit)
{
    EXPECT_EQ(port.OutBuffFree(), 4096u);
    std::string big(4000, 'x');
    const auto* bytes = reinterpret_cast<const uint8_t*>(big.data());
    EXPECT_EQ(port.PutBlock(bytes, 4000), 0);
    EXPECT_EQ(port.PutBlock(bytes, 97), ecOutputBufferTooSmall);
    EXPECT_EQ(port.PutBlock(bytes, 96), 0);
    EXPECT_EQ(port.OutBuffUsed(), 4096u);
    EXPECT_EQ(port.OutBuffFree(), 0u);
    EXPECT_EQ(port.PutBlock(bytes, 0), 0);
    EXPECT_EQ(port.SendAll().size(), 4096u);
    EXPECT_EQ(port.OutBuffFree(), 4096u);
    port.writeResult = 0;
    EXPECT_EQ(port.PutBlock(bytes, 1), ecPutBlockFail);
}

TEST_F(PortDispatcherTest, OutputWrappingAtTheBufferEndIsSentAsOneBlockInOrder)
{
    // Leave the write position 5 bytes before the end of the 4096 bytes.
    const std::string dots(4091, '.');
    port.PutBlock(reinterpret_cast<const uint8_t*>(dots.data()), 4091);
    port.AdvanceOutput(4090);
    const std::string ten = "0123456789";
    EXPECT_EQ(port.PutBlock(reinterpret_cast<const uint8_t*>(ten.data()), 10), 0);
    EXPECT_EQ(port.OutBuffUsed(), 11u);
    EXPECT_EQ(port.SendAll(), "." + ten);
    EXPECT_EQ(port.OutBuffFree(), 4096u);
}

TEST_F(PortDispatcherTest, UnchangedLineSettingsDoNotTouchTheDevice)
{
    const int calls = port.setComStateCalls;
    const uint64_t slept = scope.clock.Slept();
    EXPECT_EQ(port.SetLine(4800, 0, 8, 1), 0);
    EXPECT_EQ(port.SetLine(0, 5, 9, 3), 0);
    EXPECT_EQ(port.setComStateCalls, calls);
    EXPECT_EQ(scope.clock.Slept(), slept);

    // A change drains: 18 characters of 10 bits at 4800 baud take 38 ms.
    EXPECT_EQ(port.SetLine(38400, 5, 9, 3), 0);
    EXPECT_EQ(port.setComStateCalls, calls + 1);
    EXPECT_EQ(scope.clock.Slept() - slept, 38u);
    EXPECT_EQ(port.device.Baud, 38400u);
    EXPECT_EQ(port.device.DataBits, 8);
    EXPECT_TRUE(port.device.Binary);
    // 5 data bits always go with one and a half stop bits.
    port.SetLine(0, 2, 5, 2);
    EXPECT_EQ(port.device.StopBits, One5StopBits);
    EXPECT_EQ(port.device.Parity, 2);
}

TEST_F(PortDispatcherTest, HandshakeDrivenLinesIgnoreDirectRequests)
{
    EXPECT_EQ(port.SetHardwareFlow(3000, 400, 1 | 8), 0);
    EXPECT_EQ(port.device.DtrControl, DtrHandshake);
    EXPECT_TRUE(port.device.OutxCtsFlow);
    EXPECT_EQ(port.device.XoffLimit, 4096 - 3000);
    EXPECT_EQ(port.SetDTRLine(false), 1);
    EXPECT_EQ(port.SetRTSLine(false), 0);
    EXPECT_EQ(port.escapes.back(), EscClrRts);
    EXPECT_EQ(port.SetHardwareFlow(300, 400, 1), ecBadArgument);
    EXPECT_EQ(port.SetHardwareFlow(5000, 400, 1), ecBadArgument);
    EXPECT_EQ(port.SetSoftwareFlow(3072, 1024, 3), 0);
    EXPECT_TRUE(port.device.InX && port.device.OutX);
    EXPECT_EQ(port.SoftwareFlowOff(), 0);
    EXPECT_FALSE(port.device.InX || port.device.OutX);
    // Hardware flow off gives DTR back to direct control.
    EXPECT_EQ(port.SetHardwareFlow(3000, 400, 0), 0);
    EXPECT_EQ(port.SetDTRLine(true), 0);
}

TEST_F(PortDispatcherTest, LineErrorsAreTakenInOrder)
{
    port.SetDeviceErrors(CeFrame | CeOverrun | CeBreak);
    port.ReadInput(); // refreshes the line errors
    EXPECT_EQ(port.TakeLineError(), 2);
    EXPECT_EQ(port.TakeLineError(), 9);
    EXPECT_TRUE(port.TakeLineBreak());
    EXPECT_FALSE(port.TakeLineBreak());
    EXPECT_EQ(port.TakeLineError(), 0);
}

TEST_F(PortDispatcherTest, HandlerClosingThePortEndsTheDelivery)
{
    port.SetAvailTrigger(1);
    port.AddDataTrigger("\r", false);
    window.OnDeliver = [&](const Delivery&) {
        port.ClosePort();
        EXPECT_TRUE(port.Delivering());
    };
    port.Feed("AB\r");
    port.ProcessCommEvent(EvRxChar);
    EXPECT_EQ(window.Deliveries().size(), 1u);
    EXPECT_TRUE(port.ClosePending());
    EXPECT_FALSE(port.Delivering());
    EXPECT_EQ(port.closeComCalls, 1);
    EXPECT_EQ(port.stopCalls, 0); // buffers go when the engine is freed
    port.ProcessTimers();
    port.DestroyPort();
    EXPECT_EQ(port.stopCalls, 1);
    EXPECT_EQ(port.InBuffUsed(), 0u);
}

TEST_F(PortDispatcherTest, WindowRemovedDuringADeliveryGoesAfterIt)
{
    RecordingWindow other;
    port.RegisterWndHandler(&other);
    port.SetAvailTrigger(1);
    window.OnDeliver = [&](const Delivery&) { port.DeregisterWndHandler(&other); };
    port.Feed("a");
    port.RunPasses();
    EXPECT_TRUE(other.Deliveries().empty()); // marked deleted before its turn
    port.Feed("b");
    port.RunPasses();
    EXPECT_EQ(window.Deliveries().size(), 2u);
    EXPECT_TRUE(other.Deliveries().empty());
}

TEST_F(PortDispatcherTest, OwnHandlerNotInstalledMeansNoDeliveryToALoneWindow)
{
    port.UpdateHandlerState(2);
    port.SetAvailTrigger(1);
    port.Feed("a");
    port.RunPasses();
    EXPECT_TRUE(window.Deliveries().empty());
    // Unconsumed: announced again once the handler is installed and more comes.
    port.UpdateHandlerState(1);
    port.Feed("b");
    port.RunPasses();
    EXPECT_EQ(window.Deliveries(), (std::vector<Delivery> { { TriggerAvailMsg, 2, LParam(0) } }));
}

TEST(PortDispatcherOpen, DeviceFailuresAreReturnedAndCleanedUp)
{
    ClockScope scope;
    FakePort missing;
    missing.openResult = -2;
    EXPECT_EQ(missing.OpenPort("/dev/none", 4800, 3, 4096, 4096, 8, 1, 0), -2);
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.closeComCalls, 0);

    FakePort queues;
    queues.setupResult = -5;
    EXPECT_EQ(queues.OpenPort("/dev/x", 4800, 3, 4096, 4096, 8, 1, 0), -5);
    EXPECT_EQ(queues.closeComCalls, 1);
    EXPECT_FALSE(queues.IsOpen());
    EXPECT_EQ(queues.startCalls, 0);
}

TEST(PortDispatcherOpen, EnginesAreNumberedByTheirPlaceInTheList)
{
    ClockScope scope;
    auto a = std::make_unique<FakePort>();
    auto b = std::make_unique<FakePort>();
    EXPECT_EQ(TPortDispatcher::FindEngine(a->EngineNumber()), a.get());
    EXPECT_EQ(TPortDispatcher::FindEngine(b->EngineNumber()), b.get());
    const uint32_t first = a->EngineNumber();
    a.reset();
    EXPECT_EQ(TPortDispatcher::FindEngine(first), nullptr);
    FakePort c;
    EXPECT_EQ(c.EngineNumber(), first); // takes the first empty entry
}

} // namespace
} // namespace serial::test
