// The worker threads of an open port: their start and end, the dispatch
// thread's sleep on an idle port and the timer triggers it wakes for, the
// device going away, slow and stalled event handlers, and output that wraps
// around its buffer.
#include "PortFixture.h"

#include <algorithm>
#include <atomic>
#include <random>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "FakePort.h"
#include "serial/GuiDelivery.h"
#include "serial/SerExcept.h"

using namespace serial;
using namespace serial::test;

namespace
{
const std::string kRmc = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n";
} // namespace

TEST_F(PortFixture, ThreeThreadsRunWhileOpenAndCloseEndsThemAndFreesTheDevice)
{
    port.SetOpen(true);
    ASSERT_NE(Engine(), nullptr);
    EXPECT_TRUE(Engine()->ThreadsRunning());
    EXPECT_EQ(Engine()->LiveThreads(), 3);
    EXPECT_EQ(SerialThreadCount(), 3);
    EXPECT_THROW(Engine()->StartDispatcher(), std::runtime_error);

    port.SetOpen(false);
    EXPECT_EQ(port.Engine(), nullptr);
    // The threads are joined; the kernel may list a joined thread for a
    // moment longer, until it has reaped it.
    EXPECT_TRUE(WaitFor([] { return SerialThreadCount() == 0; }, 1000)) << SerialThreadCount();
    TSerialPort again;
    again.SetComNumber(3);
    again.SetOpen(true);
    EXPECT_TRUE(again.Open());
}

TEST_F(PortFixture, TimerTriggerFiresAtTheFirstPassAfterExpiry)
{
    ClockScope time;
    port.SetOpen(true);
    const uint16_t timer = port.AddTimerTrigger();
    std::vector<uint64_t> firedAt;
    port.SetOnTriggerTimer([&](TCustomSerialPort&, uint16_t handle) {
        EXPECT_EQ(handle, timer);
        firedAt.push_back(Engine()->Passes());
    });
    port.ArmTimerTrigger(timer, 10, true);

    // Passes go on without input, and the timer keeps quiet until it expires.
    uint64_t passes = Engine()->Passes();
    ASSERT_TRUE(WaitFor([&] { return Engine()->Passes() >= passes + 3; }));
    EXPECT_TRUE(firedAt.empty());

    time.clock.Advance(12 * TickMs);
    passes = Engine()->Passes();
    ASSERT_TRUE(WaitFor([&] { return !firedAt.empty(); }));
    EXPECT_LE(firedAt[0], passes + 1);
    // Fired once: the trigger is inactive until armed again.
    const uint64_t later = Engine()->Passes();
    ASSERT_TRUE(WaitFor([&] { return Engine()->Passes() >= later + 3; }));
    EXPECT_EQ(firedAt.size(), 1u);
    // The threads read the test clock: they end before it goes.
    port.SetOpen(false);
}

TEST_F(PortFixture, IdlePortLetsTheDispatchThreadSleepAndTimersFireInTheirTick)
{
    std::vector<uint64_t> firedTick;
    port.SetOnTriggerTimer([&](TCustomSerialPort&, uint16_t) { firedTick.push_back(NowTicks()); });
    RecordLines();
    // Set up as the main window does: line assembly and the no-data timer.
    OpenForLines();
    port.ArmTimerTrigger(port.AddTimerTrigger(), 273, true);
    const std::string line = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
    pty.Write(line);
    ASSERT_TRUE(WaitFor([&] { return received == line; }));

    // Nothing arrives and nothing falls due: the link's threads sleep.
    const uint64_t wakes = Engine()->Wakes();
    WaitFor([] { return false; }, 2500);
    EXPECT_LE(Engine()->Wakes() - wakes, 4u);
    EXPECT_TRUE(firedTick.empty());

    // A timer armed while the dispatch thread sleeps for the long one wakes
    // it in the tick after its expiry tick, not a tick later.
    for (uint64_t ticks : { 2u, 5u }) {
        firedTick.clear();
        const uint16_t timer = port.AddTimerTrigger();
        const uint64_t before = NowTicks();
        port.ArmTimerTrigger(timer, static_cast<int32_t>(ticks), true);
        const uint64_t after = NowTicks();
        const uint64_t armedWakes = Engine()->Wakes();
        ASSERT_TRUE(WaitFor([&] { return !firedTick.empty(); }));
        EXPECT_GE(firedTick[0], before + ticks + 1);
        // The handler runs on the GUI thread a little later; a slow machine
        // (sanitizers) may carry it into the next tick, but not beyond.
        EXPECT_LE(firedTick[0], after + ticks + 2);
        EXPECT_LE(Engine()->Wakes() - armedWakes, 3u);
        port.RemoveTrigger(timer);
    }
    // Input is still read as it comes.
    events.clear();
    pty.Write("AB\r");
    ASSERT_TRUE(WaitFor([&] { return !events.empty() && events.back() == "data 8"; }));
    EXPECT_EQ(received, line + "AB");
}

// Lines that come in one burst (a receiver's backlog, a slow GUI thread)
// are delivered each in turn: every byte once, in order, every line end.
TEST_F(PortFixture, LinesArrivingTogetherAreAllDeliveredInOrder)
{
    RecordLines();
    const uint16_t cr = OpenForLines();
    const uint64_t dropped = TGuiDelivery::Instance().Dropped();
    std::string burst;
    for (int i = 0; i < 40; ++i)
        burst += "$GPGGA,1235" + std::to_string(10 + i) + ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,,*47\r\n";
    pty.Write(burst);
    const std::string data = "data " + std::to_string(cr);
    ASSERT_TRUE(WaitFor([&] { return received == burst; })) << received.size() << " of " << burst.size();
    EXPECT_EQ(std::count(events.begin(), events.end(), data), 40);
    // Each line end comes after the bytes before it.
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (events[i] == data) {
            ASSERT_TRUE(i > 0 && events[i - 1].rfind("avail ", 0) == 0) << i;
        }
    }
    EXPECT_EQ(TGuiDelivery::Instance().Dropped(), dropped);
}

// While lines keep coming, a timer trigger still fires in the tick after its
// expiry tick, and the lines go on arriving.
TEST_F(PortFixture, TimerTriggerFiresInItsTickWhileDataFlows)
{
    std::vector<uint64_t> firedTick;
    port.SetOnTriggerTimer([&](TCustomSerialPort&, uint16_t) { firedTick.push_back(NowTicks()); });
    RecordLines();
    OpenForLines();
    const std::string line = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n";
    std::atomic<bool> stop { false };
    std::string fed;
    std::thread instrument([&] {
        // A line in two pieces every 20 ms, as a UART driver hands it on.
        while (!stop) {
            pty.Write(line.substr(0, 30));
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            pty.Write(line.substr(30));
            fed += line;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    ASSERT_TRUE(WaitFor([&] { return received.size() >= 3 * line.size(); }));
    const uint16_t timer = port.AddTimerTrigger();
    const uint64_t before = NowTicks();
    port.ArmTimerTrigger(timer, 4, true);
    const uint64_t after = NowTicks();
    const bool fired = WaitFor([&] { return !firedTick.empty(); });
    const std::size_t receivedThen = received.size();
    WaitFor([&] { return received.size() >= receivedThen + 2 * line.size(); });
    stop = true;
    instrument.join();
    ASSERT_TRUE(fired);
    EXPECT_GE(firedTick[0], before + 4 + 1);
    EXPECT_LE(firedTick[0], after + 4 + 2);
    EXPECT_GE(received.size(), receivedThen + 2 * line.size());
    EXPECT_EQ(fed.compare(0, received.size(), received), 0);
}

// Bytes without a line end wait only briefly for it: the available-data
// event announces them soon after they stop coming.
TEST_F(PortFixture, BytesWithoutALineEndAreAnnouncedSoonAfterTheyStop)
{
    RecordLines();
    const uint16_t cr = OpenForLines();
    pty.Write("$GPG");
    ASSERT_TRUE(WaitFor([&] { return received == "$GPG"; }, 1000));
    EXPECT_EQ(events, (std::vector<std::string> { "avail 4" }));
    pty.Write("GA\r");
    ASSERT_TRUE(WaitFor([&] { return events.size() == 3; }));
    EXPECT_EQ(events[1], "avail 2");
    EXPECT_EQ(events[2], "data " + std::to_string(cr));
}

TEST_F(PortFixture, OtherEndClosedWhileDataFlowsEndsTheCommThreadOnly)
{
    ClockScope time;
    RecordLines();
    std::atomic<int> lines { 0 };
    port.SetOnTriggerData([&](TCustomSerialPort&, uint16_t) { ++lines; });
    bool noData = false;
    port.SetOnTriggerTimer([&](TCustomSerialPort&, uint16_t) { noData = true; });
    port.SetOpen(true);
    port.AddDataTrigger("\r", false);
    port.ArmTimerTrigger(port.AddTimerTrigger(), 273, true);

    // The instrument goes away in the middle of its stream.
    std::thread instrument([&] {
        for (int i = 0; i < 1000 && lines < 20; ++i)
            pty.Write(kRmc);
        pty.Write(kRmc.substr(0, 30));
        pty.CloseMaster();
    });
    ASSERT_TRUE(WaitFor([&] { return Engine()->DeviceVanished(); }));
    instrument.join();
    EXPECT_TRUE(Engine()->CommThreadEnded());
    EXPECT_EQ(Engine()->LiveThreads(), 2);
    // What arrived arrived whole and in order.
    ASSERT_FALSE(received.empty());
    for (std::size_t at = 0; at + kRmc.size() <= received.size(); at += kRmc.size())
        ASSERT_EQ(received.compare(at, kRmc.size(), kRmc), 0) << at;

    // The dispatch thread still runs: the no-data timer fires.
    time.clock.Advance(275 * TickMs);
    ASSERT_TRUE(WaitFor([&] { return noData; }));
    // Output to the vanished device is dropped, not kept for ever.
    port.WriteString("$ECXTE,A,A,0.01,L,N*7A\r\n");
    ASSERT_TRUE(WaitFor([&] { return port.OutputFree() == 4096; }));
    port.SetOpen(false);
    EXPECT_EQ(port.Engine(), nullptr);
}

TEST_F(PortFixture, SlowHandlerIsWaitedForBeyondTheWaitLimit)
{
    RecordLines();
    port.SetOnTriggerAvail([&](TCustomSerialPort& cp, uint16_t count) {
        events.push_back("avail " + std::to_string(count));
        if (events.size() == 1)
            std::this_thread::sleep_for(std::chrono::milliseconds(3500));
        for (int i = 0; i < count; ++i)
            received += static_cast<char>(cp.ReadChar());
    });
    port.SetOpen(true);
    port.AddDataTrigger("\r", false);
    const uint64_t dropped = TGuiDelivery::Instance().Dropped();
    pty.Write("ABC\r");
    ASSERT_TRUE(WaitFor([&] { return events.size() == 2; }, 6000));
    EXPECT_EQ(events, (std::vector<std::string> { "avail 3", "data 8" }));
    EXPECT_EQ(received, "ABC");
    EXPECT_EQ(TGuiDelivery::Instance().Dropped(), dropped);
    pty.Write("D\r");
    ASSERT_TRUE(WaitFor([&] { return events.size() == 4; }));
    EXPECT_EQ(received, "ABC\rD");
}

TEST_F(PortFixture, DeliveryNotStartedInTimeIsDroppedAndItsBytesKept)
{
    struct Limit {
        Limit() { TGuiDelivery::Instance().SetWaitLimitMs(100); }
        ~Limit() { TGuiDelivery::Instance().SetWaitLimitMs(0); }
    } limit;
    RecordLines();
    port.SetOpen(true);
    port.AddDataTrigger("\r", false);
    const uint64_t dropped = TGuiDelivery::Instance().Dropped();
    // The GUI thread is busy (serves no events) while the line comes in.
    pty.Write("ABC\r");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (TGuiDelivery::Instance().Dropped() < dropped + 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    ASSERT_EQ(TGuiDelivery::Instance().Dropped(), dropped + 2); // available data and the trigger
    // Dropped deliveries never run later.
    WaitFor([] { return false; }, 200);
    EXPECT_TRUE(events.empty());
    // The bytes were not consumed: the next line brings them along.
    pty.Write("DEF\r");
    ASSERT_TRUE(WaitFor([&] { return events.size() == 2; }));
    EXPECT_EQ(events[0], "avail 7");
    EXPECT_EQ(received, "ABC\rDEF");
}

TEST_F(PortFixture, OutputWrappingItsBufferArrivesInOrder)
{
    port.SetOutSize(1000);
    port.SetOpen(true);
    std::mt19937 random(7);
    std::string sent;
    while (sent.size() < 200000)
        sent += static_cast<char>(random() & 0xFF);

    std::string got;
    std::thread instrument([&] { got = pty.Read(sent.size()); });
    std::size_t at = 0;
    while (at < sent.size()) {
        const std::size_t want = std::min<std::size_t>(1 + random() % 700, sent.size() - at);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (port.OutputFree() < want && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        ASSERT_GE(port.OutputFree(), want);
        port.WriteString(sent.substr(at, want));
        at += want;
    }
    instrument.join();
    EXPECT_EQ(got.size(), sent.size());
    EXPECT_TRUE(got == sent);
}

TEST_F(PortFixture, CloseWhileTheHandlerWindowIsBusyDoesNotHang)
{
    // Deliveries queue up while the test holds the GUI thread; closing
    // serves them (they are dropped: the port is closing) and ends.
    int calls = 0;
    port.SetOnTriggerAvail([&](TCustomSerialPort&, uint16_t) { ++calls; });
    port.SetOpen(true);
    pty.Write("$GPGGA");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (port.Engine()->InBuffUsed() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    port.SetOpen(false);
    EXPECT_EQ(port.Engine(), nullptr);
    EXPECT_EQ(calls, 0);
}

namespace
{

// The receiver's side set raw, as a program writing NMEA into a pseudo-
// terminal sets it, so that its bytes wait unchanged.
void MakeRaw(int fd)
{
    termios t {};
    ASSERT_EQ(tcgetattr(fd, &t), 0);
    cfmakeraw(&t);
    ASSERT_EQ(tcsetattr(fd, TCSANOW, &t), 0);
}

// Writes lines into the master until `limit` bytes are written or the
// pseudo-terminal takes no more; returns what was written.
std::string Prefill(kvtest::PtyPair& pty, std::size_t limit)
{
    std::string written;
    while (written.size() < limit) {
        std::string next = kRmc.substr(0, std::min(kRmc.size(), limit - written.size()));
        const ssize_t n = ::write(pty.MasterFd(), next.data(), next.size());
        if (n <= 0)
            break;
        written += next.substr(0, static_cast<std::size_t>(n));
    }
    return written;
}

} // namespace

// Data waiting in the device when the port is opened (the receiver wrote
// before the program started, or the driver's buffer filled while the port
// was closed) is read at once: the main window's setup (open, then the
// available-data threshold and the carriage-return trigger) must not leave
// it waiting. The receiver goes on sending a line now and then, as a real
// one does; with more waiting than the input ring holds, the full ring must
// still be announced, as no new byte can enter it to do so.
TEST_F(PortFixture, DataWaitingAtOpenIsReadAtOnceFullOrPartlyFull)
{
    for (const std::size_t limit : { std::size_t { 300 }, std::size_t { 1 } << 20 }) {
        SCOPED_TRACE(limit);
        // A device no one has opened yet, as at the program's start.
        kvtest::PtyPair device;
        device.MapAs(3);
        MakeRaw(device.MasterFd());
        const std::string waiting = Prefill(device, limit);
        ASSERT_GE(waiting.size(), limit < 4096 ? limit : 4000u);
        events.clear();
        received.clear();
        RecordLines();
        port.SetOpen(true);
        std::atomic<bool> stop { false };
        std::thread receiver([&] {
            for (int i = 0; !stop && i < 400; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                [[maybe_unused]] const ssize_t n = ::write(device.MasterFd(), kRmc.data(), kRmc.size());
            }
        });
        // The device's bytes go into the input ring before the triggers are
        // set: all of them, or as many as the ring holds (the kernel may
        // hand a pseudo-terminal's bytes on in pieces).
        const uint32_t ringFull = InputRingSize;
        WaitFor(
            [&] { return Engine()->InBuffUsed() >= std::min<std::size_t>(waiting.size(), ringFull); }, 1000);
        port.SetAvailLength(1);
        port.AddDataTrigger("\r", false);
        EXPECT_TRUE(WaitFor([&] { return received.size() >= waiting.size(); }))
            << received.size() << " of " << waiting.size();
        stop = true;
        receiver.join();
        EXPECT_EQ(received.substr(0, waiting.size()), waiting);
        port.SetOpen(false);
        ASSERT_TRUE(WaitFor([&] { return port.Engine() == nullptr; }));
    }
}
