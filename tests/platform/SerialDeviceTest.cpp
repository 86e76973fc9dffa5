// The serial device layer on pseudo-terminals: exclusive open, raw mode,
// line settings, event waits and cancellable writes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "platform/SerialDevice.h"
#include "platform/SerialEvent.h"
#include "support/PtyPair.h"

using namespace platform;
using kvtest::EnvScope;
using kvtest::PtyPair;

TEST(SerialDeviceName, PortNIsTtySNMinusOneUnlessTheEnvironmentNamesADevice)
{
    EnvScope unset("KORVEX_COM3", std::nullopt);
    EXPECT_EQ(SerialDeviceName(3), "/dev/ttyS2");
    EXPECT_EQ(SerialDeviceName(1), "/dev/ttyS0");
    EnvScope mapped("KORVEX_COM3", "/dev/ttyUSB0");
    EXPECT_EQ(SerialDeviceName(3), "/dev/ttyUSB0");
    EXPECT_EQ(SerialDeviceName(13), "/dev/ttyS12");
}

TEST(SerialDevice, OpenIsExclusiveAndAMissingDeviceIsNotFound)
{
    PtyPair pty;
    SerialDevice first, second;
    EXPECT_EQ(first.Open("/nonexistent/ttyX"), 2);
    ASSERT_EQ(first.Open(pty.SlavePath()), 0);
    // Held: access denied, for an open and for a probe alike.
    EXPECT_EQ(second.Open(pty.SlavePath()), 5);
    EXPECT_EQ(SerialDevice::Probe(pty.SlavePath()), 5);
    first.Close();
    EXPECT_EQ(SerialDevice::Probe(pty.SlavePath()), 0);
    EXPECT_EQ(second.Open(pty.SlavePath()), 0);
}

TEST(SerialDevice, NonTerminalIsRefused)
{
    SerialDevice device;
    EXPECT_EQ(device.Open("/dev/null"), ENOTTY);
    EXPECT_FALSE(device.IsOpen());
}

TEST(SerialDevice, OpenPutsACookedDeviceInRawModeBothWays)
{
    PtyPair pty;
    {
        // Leave the device cooked: echo, CR to LF, LF to CR LF, signals.
        const int fd = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
        termios t {};
        ASSERT_EQ(tcgetattr(fd, &t), 0);
        t.c_iflag |= ICRNL | IXON;
        t.c_oflag |= OPOST | ONLCR;
        t.c_lflag |= ECHO | ICANON | ISIG;
        ASSERT_EQ(tcsetattr(fd, TCSANOW, &t), 0);
        ::close(fd);
    }
    SerialDevice device;
    ASSERT_EQ(device.Open(pty.SlavePath()), 0);

    const std::string bytes("$GP\r\n\x03\x11\x13\x1a\x7f\xb0\xff\0end", 16);
    ASSERT_EQ(bytes.size(), 16u);
    pty.Write(bytes);
    std::string got;
    uint8_t buffer[64];
    for (int tries = 0; got.size() < bytes.size() && tries < 1000; ++tries) {
        const int n = device.Read(buffer, sizeof buffer);
        ASSERT_GE(n, 0);
        got.append(reinterpret_cast<char*>(buffer), static_cast<std::size_t>(n));
        if (n == 0)
            usleep(1000);
    }
    EXPECT_EQ(got, bytes);
    // No echo came back.
    EXPECT_EQ(pty.Read(1, 20), "");

    std::size_t written = 0;
    int cancelled = -1;
    EXPECT_EQ(
        device.Write(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), written, {}, cancelled),
        SerialWrite::Done);
    EXPECT_EQ(written, bytes.size());
    EXPECT_EQ(pty.Read(bytes.size()), bytes);
}

TEST(SerialDevice, LineSettingsRoundTripAndAnUnknownRateIsRefused)
{
    PtyPair pty;
    SerialDevice device;
    ASSERT_EQ(device.Open(pty.SlavePath()), 0);
    SerialLine line;
    line.Baud = 38400;
    line.DataBits = 7;
    line.Parity = 2;
    line.StopBits = 2;
    line.XonOutput = true;
    line.XonChar = 0x21;
    ASSERT_EQ(device.SetLine(line), 0);
    SerialLine back;
    ASSERT_EQ(device.GetLine(back), 0);
    // A pseudo-terminal keeps 8 data bits without parity whatever is asked.
    EXPECT_EQ(back.Baud, 38400u);
    EXPECT_EQ(back.StopBits, 2);
    EXPECT_TRUE(back.XonOutput);
    EXPECT_FALSE(back.XonInput);
    EXPECT_EQ(back.XonChar, 0x21);

    line.Baud = 4800;
    line.StopBits = 1;
    ASSERT_EQ(device.SetLine(line), 0);
    ASSERT_EQ(device.GetLine(back), 0);
    EXPECT_EQ(back.Baud, 4800u);
    EXPECT_EQ(back.StopBits, 1);

    line.Baud = 12345;
    EXPECT_EQ(device.SetLine(line), EINVAL);
}

TEST(SerialDevice, WriteStopsWhenCancelledWhileTheDriverIsFull)
{
    PtyPair pty; // nobody reads the master: the queue fills
    SerialDevice device;
    ASSERT_EQ(device.Open(pty.SlavePath()), 0);
    SerialEvent flush, stop(true);
    flush.Set();
    const std::string block(1 << 20, 'x');
    std::size_t written = 0;
    int cancelled = -1;
    EXPECT_EQ(device.Write(reinterpret_cast<const uint8_t*>(block.data()), block.size(), written,
                  { &flush, &stop }, cancelled),
        SerialWrite::Cancelled);
    EXPECT_EQ(cancelled, 0);
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, block.size());
    EXPECT_FALSE(flush.IsSet()); // taken by the write
}

TEST(SerialEventWaiter, ReportsEachArrivalOnceThenCancelThenVanish)
{
    PtyPair pty;
    SerialDevice device;
    ASSERT_EQ(device.Open(pty.SlavePath()), 0);
    SerialEvent cancel(true);
    SerialEventWaiter waiter(device, cancel);

    pty.Write("x");
    uint32_t events = 0;
    EXPECT_EQ(waiter.Wait(events), SerialEventWaiter::Result::Events);
    EXPECT_EQ(events, SerialRxChar);
    // The byte is still unread, but it was reported: only the cancel wakes.
    cancel.Set();
    EXPECT_EQ(waiter.Wait(events), SerialEventWaiter::Result::Cancelled);
    cancel.Reset();

    pty.CloseMaster();
    EXPECT_EQ(waiter.Wait(events), SerialEventWaiter::Result::Vanished);
}

TEST(SerialInputWaiter, ReportsEachArrivalOnceSignalsByOrderAndTheVanishOnce)
{
    PtyPair pty;
    SerialDevice device;
    ASSERT_EQ(device.Open(pty.SlavePath()), 0);
    SerialEvent first, second(true);
    SerialInputWaiter waiter(device, { &first, &second });

    // Nothing: the time runs out.
    SerialInputWaiter::Result got = waiter.Wait(0);
    EXPECT_EQ(got.Signal, -1);
    EXPECT_FALSE(got.Input || got.Vanished);

    pty.Write("x");
    got = waiter.Wait(2000);
    EXPECT_TRUE(got.Input);
    EXPECT_EQ(got.Signal, -1);
    // Left unread, the byte does not wake the waiter again.
    EXPECT_FALSE(waiter.Wait(20).Input);

    // Both signals set: the first is taken, the manual one stays.
    second.Set();
    first.Set();
    EXPECT_EQ(waiter.Wait(0).Signal, 0);
    EXPECT_EQ(waiter.Wait(0).Signal, 1);
    EXPECT_EQ(waiter.Wait(0).Signal, 1);
    second.Reset();

    // An arrival while a signal is set is not lost.
    pty.Write("y");
    first.Set();
    got = waiter.Wait(2000);
    if (!got.Input) // the byte may come a moment after the signal
        got.Input = waiter.Wait(2000).Input;
    EXPECT_TRUE(got.Input);

    pty.CloseMaster();
    got = waiter.Wait(2000);
    EXPECT_TRUE(got.Vanished);
    // The device is not watched any more.
    EXPECT_FALSE(waiter.Wait(20).Vanished);
}

// A pseudo-terminal has no modem lines: the comm thread's wait sleeps
// until it is cancelled, whatever arrives meanwhile.
TEST(SerialLineWaiter, WithoutModemLinesOnlyTheCancelEndsTheWait)
{
    PtyPair pty;
    SerialDevice device;
    ASSERT_EQ(device.Open(pty.SlavePath()), 0);
    EXPECT_FALSE(device.HasModemLines());
    EXPECT_FALSE(device.HasErrorCounters());
    SerialEvent stop(true), quit(true);
    SerialLineWaiter waiter(device, { &stop, &quit });
    EXPECT_EQ(waiter.WaitMode(), SerialLineWaiter::Mode::None);

    std::atomic<bool> done { false };
    SerialLineWaiter::Result result = SerialLineWaiter::Result::Failed;
    std::thread comm([&] {
        uint32_t events = 0;
        result = waiter.Wait(events);
        done = true;
    });
    pty.Write("$GPGGA\r\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_FALSE(done);
    quit.Set();
    comm.join();
    EXPECT_EQ(result, SerialLineWaiter::Result::Cancelled);
    EXPECT_TRUE(quit.IsSet()); // not taken
}

TEST(SerialEvent, AutoResetIsTakenManualResetStays)
{
    SerialEvent automatic, manual(true);
    EXPECT_EQ(WaitAny({ &automatic, &manual }, 0), -1);
    automatic.Set();
    automatic.Set();
    EXPECT_TRUE(automatic.Wait(0));
    EXPECT_FALSE(automatic.Wait(0));
    manual.Set();
    automatic.Set();
    // The lowest set index wins and only it is taken.
    EXPECT_EQ(WaitAny({ &automatic, &manual }, 0), 0);
    EXPECT_EQ(WaitAny({ &automatic, &manual }, 0), 1);
    EXPECT_TRUE(manual.IsSet());
    manual.Reset();
    EXPECT_FALSE(manual.Wait(0));
}
