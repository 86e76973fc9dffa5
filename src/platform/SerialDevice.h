#pragma once
// The serial device layer: one serial device (a built-in port, a USB
// adapter or a pseudo-terminal) over termios, opened exclusively and always
// in raw mode, with non-blocking reads, whole-block writes that a signal can
// cancel, purges, modem lines and line errors.
//
// Errors are returned as the serial link's error numbers (SerialError.h):
// 2 the device does not exist (or has gone away), 5 another program holds
// it, others as the system's own number.
//
// Threads: after Open, the worker threads of one port may use the device at
// the same time (one waits for events, one reads, one writes, the GUI thread
// changes settings); Open and Close run while no other thread uses it.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <string>
#include <vector>

#include "platform/SerialEvent.h"

namespace platform
{

// Port n (1, 2, ...) is "/dev/ttyS<n-1>" unless the environment variable
// KORVEX_COM<n> names another device.
std::string SerialDeviceName(int portNumber);

// Line settings as termios holds them.
struct SerialLine {
    uint32_t Baud = 9600; // bits per second, one of the standard rates
    int DataBits = 8; // 5 to 8
    int Parity = 0; // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int StopBits = 1; // 1 or 2 (one and a half is sent as two)
    bool RtsCts = false; // hardware handshake on RTS and CTS
    bool XonOutput = false; // hold output on XOFF from the other end
    bool XonInput = false; // send XOFF/XON as the input queue fills and drains
    uint8_t XonChar = 17;
    uint8_t XoffChar = 19;
};

// Event bits reported by SerialEventWaiter and SerialLineWaiter.
constexpr uint32_t SerialRxChar = 0x0001; // bytes arrived
constexpr uint32_t SerialCtsChanged = 0x0008;
constexpr uint32_t SerialDsrChanged = 0x0010;
constexpr uint32_t SerialDcdChanged = 0x0020;
constexpr uint32_t SerialBreakSeen = 0x0040;
constexpr uint32_t SerialErrorSeen = 0x0080; // framing, parity or overrun
constexpr uint32_t SerialRingSeen = 0x0100;

// Line error bits (TakeErrors).
constexpr uint32_t SerialErrRxOverflow = 0x01; // the driver's input queue overflowed
constexpr uint32_t SerialErrOverrun = 0x02; // the UART lost a byte
constexpr uint32_t SerialErrParity = 0x04;
constexpr uint32_t SerialErrFrame = 0x08;
constexpr uint32_t SerialErrBreak = 0x10;

// Modem line bits (ModemLines).
constexpr uint8_t SerialLineCts = 0x10;
constexpr uint8_t SerialLineDsr = 0x20;
constexpr uint8_t SerialLineRing = 0x40;
constexpr uint8_t SerialLineDcd = 0x80;

enum class SerialWrite { Done, Cancelled, Failed };

// The driver's error counters as last seen.
struct SerialErrorCounts {
    bool Known = false;
    int Counts[5] = {};
};

class SerialDevice
{
public:
    SerialDevice() = default;
    ~SerialDevice();
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // Opens the device for reading and writing, exclusively (a second open,
    // by this or another program, fails with 5), and puts it in raw mode: no
    // echo, no CR/LF translation, no signals, every byte passed unchanged,
    // reads returning at once. Returns 0 or an error number.
    int Open(const std::string& path);
    // Whether Open would succeed, without changing the device's settings:
    // 0, or the error number Open would give.
    static int Probe(const std::string& path);
    void Close();
    bool IsOpen() const { return fd_.load() >= 0; }
    int Fd() const { return fd_.load(); }

    int GetLine(SerialLine& line); // 0 or an error number
    int SetLine(const SerialLine& line); // 0 or an error number (22: rate not supported)

    // Reads what is there, at most count bytes, without waiting: the count
    // read, or -(error number).
    int Read(uint8_t* buffer, int count);
    // Bytes waiting in the driver's input queue (0 when it cannot tell).
    uint32_t InQueue();
    // Writes the whole block, waiting while the driver's queue is full.
    // Stops early when one of the signals is set (it is taken and its index
    // stored in cancelledBy) or the device fails; written holds the bytes
    // handed to the driver.
    SerialWrite Write(const uint8_t* data, std::size_t count, std::size_t& written,
        std::initializer_list<SerialEvent*> cancels, int& cancelledBy);
    // Discards the driver's input and/or output queue; 0 or an error number.
    int Purge(bool input, bool output);

    // Line errors (SerialErr*) counted by the driver since the last call.
    uint32_t TakeErrors();
    // Modem line states (SerialLine*); 0 for a device without modem lines.
    uint8_t ModemLines();
    bool HasModemLines() const { return hasLines_.load(); }
    // Whether the driver counts line errors (a pseudo-terminal does not).
    bool HasErrorCounters() const { return hasCounters_.load(); }
    // DTR and RTS; a device without modem lines takes them as no-ops.
    int SetDtr(bool on);
    int SetRts(bool on);
    int SetBreak(bool on);

private:
    int SetModemBit(int bit, bool on);

    std::atomic<int> fd_ { -1 };
    // What the driver offers, found out at Open.
    std::atomic<bool> hasLines_ { false };
    std::atomic<bool> hasCounters_ { false };
    std::mutex countLock_;
    SerialErrorCounts counts_;
};

// Waits for what happens on an open device: bytes arriving (reported once
// per arrival, not while they stay unread), modem line changes, breaks and
// line errors, or the device going away. A device with modem lines is
// looked at every 100 ms for line and error changes; one without (a
// pseudo-terminal) wakes only on input.
class SerialEventWaiter
{
public:
    enum class Result { Events, Cancelled, Vanished, Failed };

    SerialEventWaiter(SerialDevice& device, SerialEvent& cancel);
    ~SerialEventWaiter();
    SerialEventWaiter(const SerialEventWaiter&) = delete;
    SerialEventWaiter& operator=(const SerialEventWaiter&) = delete;

    // Blocks until something happens; Events fills the SerialRxChar ...
    // bits. Cancelled when the cancel signal is set (it stays set).
    Result Wait(uint32_t& events);

private:
    uint32_t Changes();

    SerialDevice& device_;
    SerialEvent& cancel_;
    int epoll_ = -1;
    bool watchLines_ = false;
    uint8_t lines_ = 0;
    SerialErrorCounts counts_;
};

// Waits for bytes arriving on an open device together with signals: each
// arrival is reported once (bytes left unread do not wake the waiter again),
// and a device that goes away is reported once and not watched from then on.
class SerialInputWaiter
{
public:
    struct Result {
        int Signal = -1; // index of the signal taken, -1 for none
        bool Input = false; // bytes arrived
        bool Vanished = false; // the device went away
    };

    SerialInputWaiter(SerialDevice& device, std::initializer_list<SerialEvent*> events);
    ~SerialInputWaiter();
    SerialInputWaiter(const SerialInputWaiter&) = delete;
    SerialInputWaiter& operator=(const SerialInputWaiter&) = delete;

    // Waits at most timeoutMs (-1: without limit) for an arrival or a signal;
    // of several signals set, the one with the lowest index is taken. Both
    // an arrival and a signal may be reported by one wait. Nothing reported:
    // the time ran out.
    Result Wait(int timeoutMs);

private:
    std::vector<SerialEvent*> signals_;
    int deviceFd_ = -1;
    int epoll_ = -1;
    bool watching_ = false;
};

// Waits for modem line changes (and line errors counted meanwhile) on an
// open device. Where the driver can wait for line changes itself (a real
// UART, most USB adapters), the wait sleeps in the driver and an idle line
// costs no wake at all; where it cannot but the lines can be read, they are
// looked at every 100 ms; a device without modem lines (a pseudo-terminal)
// only waits for the cancel signals.
//
// A wait in the driver does not see the signals: the thread that sets one
// calls Interrupt() as well, again until the waiting thread has left (the
// interrupt can come just before the wait begins).
class SerialLineWaiter
{
public:
    enum class Mode { Driver, Polled, None };
    enum class Result { Events, Cancelled, Vanished, Failed };

    SerialLineWaiter(SerialDevice& device, std::initializer_list<SerialEvent*> cancels);
    SerialLineWaiter(const SerialLineWaiter&) = delete;
    SerialLineWaiter& operator=(const SerialLineWaiter&) = delete;

    // Blocks until a line changes (Events, with the Serial*Changed,
    // SerialRingSeen, SerialBreakSeen and SerialErrorSeen bits), a cancel
    // signal is set (it is not taken) or the device goes away.
    Result Wait(uint32_t& events);
    Mode WaitMode() const { return mode_; }
    // Ends a wait of the thread given in the driver (a no-op for others).
    static void Interrupt(unsigned long thread);

private:
    uint32_t Changes();
    bool Cancelled();

    SerialDevice& device_;
    std::vector<SerialEvent*> cancels_;
    Mode mode_ = Mode::None;
    uint8_t lines_ = 0;
    SerialErrorCounts counts_;
};

} // namespace platform
