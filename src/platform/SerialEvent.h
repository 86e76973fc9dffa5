#pragma once
// A waitable signal for the serial link's worker threads, on an eventfd so
// that it can be waited for together with a device in one poll().
//
// An auto-reset signal is taken by the wait that reports it (one waiter
// wakes per Set); a manual-reset signal stays set until Reset. Setting a set
// signal again changes nothing.

#include <initializer_list>

namespace platform
{

class SerialEvent
{
public:
    explicit SerialEvent(bool manualReset = false);
    ~SerialEvent();
    SerialEvent(const SerialEvent&) = delete;
    SerialEvent& operator=(const SerialEvent&) = delete;

    void Set();
    void Reset();
    // Waits at most timeoutMs (-1: without limit); true when signalled.
    bool Wait(int timeoutMs);
    // Without waiting: true when set; an auto-reset signal is taken.
    bool TryTake();
    bool IsSet() const;
    int Fd() const { return fd_; }

private:
    int fd_;
    bool manualReset_;
};

// Waits at most timeoutMs (-1: without limit) for the first of the signals
// and returns its index in the list (the lowest when several are set), or -1
// on time-out. Only the reported signal is taken.
int WaitAny(std::initializer_list<SerialEvent*> events, int timeoutMs);

// Milliseconds left of a wait of timeoutMs begun at startMs on the steady
// clock; -1 stays -1 (no limit), never below 0.
int RemainingMs(int timeoutMs, long long startMs);
long long SteadyNowMs();

} // namespace platform
