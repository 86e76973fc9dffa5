#pragma once
// Support routines of the serial link: the millisecond clock, timers counted
// in ticks of 55 ms, the message-pump step, and the texts of error codes.
//
// The clock is a 64-bit monotonic millisecond count, so timers never meet a
// wrap; the 32-bit view MsClock() is kept for the dispatch log's time stamps.
// Tests install their own clock with SetSerClock so that nothing sleeps.

#include <cstdint>
#include <string>

namespace serial
{

// Millisecond time source of the serial link. NowMs never goes backwards;
// SleepMs is how the engine waits (draining output before a line change).
class SerClock
{
public:
    virtual ~SerClock() = default;
    virtual uint64_t NowMs() = 0;
    virtual void SleepMs(uint32_t ms) = 0;
};

// The steady clock of the machine, and the one in use (the steady clock
// unless a test installed another). Installing nullptr restores the steady
// clock. The clock in use may be switched while other threads read it.
SerClock& SteadySerClock();
SerClock& CurrentSerClock();
void SetSerClock(SerClock* clock);

uint64_t MsClock64();
uint32_t MsClock(); // MsClock64 mod 2^32

// Timers in ticks of 55 ms (the PC timer tick the serial timer triggers count
// in). A period is capped at 39045157 ticks (about 24.8 days).
constexpr uint32_t TickMs = 55;
constexpr uint64_t MaxTimerTicks = 39045157;

struct TickTimer {
    uint64_t StartTick = 0;
    uint64_t ExpireTick = 0;
};

uint64_t NowTicks();
void NewTimer(TickTimer& timer, uint64_t ticks);
// Expired once the tick after the expiry tick has begun: a timer of n ticks
// expires n + 1 ticks after the start of the tick in which it was set (273
// ticks: 15016 to 15070 ms, depending on where in its tick it was set).
bool TimerExpired(const TickTimer& timer);
// The clock time (MsClock64) at which TimerExpired first holds.
uint64_t TimerDueMs(const TickTimer& timer);

inline bool FlagIsSet(uint32_t value, uint32_t mask)
{
    return (value & mask) != 0;
}

// Processes the events pending for the calling thread once (the GUI thread's
// step while it waits for a worker); does nothing without an event loop.
void PumpOneMessage();

bool ExistFile(const std::string& name);

// Text of a message-table entry for the code's magnitude (the code is taken
// as a 16-bit value; -32768 counts as 32768); empty when the table has none.
std::string LookupMessage(int16_t code);
// LookupMessage, else the operating system's text for the error number of the
// same magnitude with control characters turned into single blanks; empty
// when neither has a text. At most 255 characters.
std::string ErrorText(int16_t code);

} // namespace serial
