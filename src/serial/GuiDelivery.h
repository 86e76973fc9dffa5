#pragma once
// Hands work from the serial link's worker threads to the GUI thread (the
// thread of the QCoreApplication), so that every component event runs there.
//
// A worker queues a delivery and waits for it at most the wait limit (3000
// ms). A delivery that has not started when the wait ends is dropped and
// never runs later; one that has started is waited for until it ends, so a
// handler never runs while its worker goes on with the same port's state.
// The GUI thread runs deliveries from its event loop, and also while it
// waits for worker threads (ServeUntil), so a worker blocked in a delivery
// can always finish.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/SerialEvent.h"

namespace serial
{

class TGuiDelivery
{
public:
    static constexpr uint32_t DefaultWaitMs = 3000;

    static TGuiDelivery& Instance();

    // GUI thread: sets up the wake of the GUI thread's event loop (once;
    // every com-port component does it when it is made).
    void Attach();

    // Worker thread: runs work on the GUI thread; true when it ran, false
    // when it was dropped. On the GUI thread itself, or without an
    // application object, the work runs at once on the calling thread.
    bool Run(std::function<void()> work);
    // Worker thread: queues work for the GUI thread without waiting for it
    // (the worker finds out itself whether it has run); the rules of Run
    // otherwise. Never dropped: work that may come too late must check
    // that for itself.
    void Post(std::function<void()> work);
    // GUI thread: runs the queued deliveries, oldest first.
    void ServePending();
    // GUI thread: serves deliveries until done() holds. done() is looked at
    // again after every delivery and every Wake(). On another thread it only
    // waits.
    void ServeUntil(const std::function<bool()>& done);
    // Any thread: what a ServeUntil waits for may have come true.
    void Wake();

    static bool OnGuiThread();
    // Tests shorten the wait limit; 0 restores DefaultWaitMs.
    void SetWaitLimitMs(uint32_t ms);
    uint32_t WaitLimitMs() const;
    // Deliveries dropped since the program started.
    uint64_t Dropped() const;

private:
    enum class State { Pending, Running, Done, Dropped };
    struct Item {
        std::function<void()> Work;
        State Status = State::Pending;
    };
    // Queues the item and wakes the GUI thread.
    void Queue(const std::shared_ptr<Item>& item);

    // Set by a worker with work queued; the GUI thread's event loop watches
    // it (a socket notifier on its descriptor).
    platform::SerialEvent wake_;
    std::atomic<bool> attached_ { false };
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<Item>> queue_;
    uint32_t waitLimitMs_ = DefaultWaitMs;
    uint64_t dropped_ = 0;
};

} // namespace serial
