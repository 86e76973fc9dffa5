// The engine with its passes on a dispatch thread and the handlers on this
// thread, as with the real back end: the dispatch thread hands each delivery
// over and waits for it, while this thread also changes triggers and writes
// output between deliveries. Run under ThreadSanitizer as well.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <optional>
#include <set>
#include <thread>

#include "FakePort.h"

namespace serial::test
{
namespace
{

// Hands deliveries from the dispatch thread to the thread that serves them.
class HandOverWindow : public TTriggerWindow
{
public:
    void SendTrigger(uint32_t message, uint32_t wParam, uint32_t lParam) override
    {
        std::unique_lock lock(mutex_);
        if (closing_)
            return;
        pending_ = Delivery { message, wParam, lParam };
        changed_.notify_all();
        changed_.wait(lock, [this] { return !pending_ || closing_; });
    }
    // Waits for the next delivery and runs `handle` on it.
    template <class F> void ServeOne(F handle)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return pending_.has_value(); });
        Delivery d = *pending_;
        lock.unlock();
        handle(d);
        lock.lock();
        pending_.reset();
        changed_.notify_all();
    }
    void Close()
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Delivery> pending_;
    bool closing_ = false;
};

TEST(PortDispatcherThreads, LinesArriveWhileTheGuiThreadChangesTriggers)
{
    ClockScope scope;
    FakePort port;
    HandOverWindow window;
    ASSERT_EQ(OpenWithWindow(port, window), 0);
    port.SetAvailTrigger(1);
    int cr = port.AddDataTrigger("\r", false);
    const int noData = port.AddTimerTrigger();
    port.StartTracing(1000);
    port.StartLogging(4096);

    std::atomic<bool> stop { false };
    std::thread dispatch([&] {
        while (!stop) {
            port.RunPasses();
            scope.clock.Advance(10);
        }
    });

    const int lines = 200;
    std::string fed, received;
    int fedLines = 0, dataEvents = 0, timerEvents = 0;
    while (dataEvents < lines) {
        if (fedLines < lines && fedLines - dataEvents < 3) {
            std::string line = "$GPRMC," + std::to_string(fedLines++) + "\r";
            fed += line;
            port.Feed(line);
        }
        // Trigger work outside any handler, racing the passes.
        const int t = port.AddTimerTrigger();
        port.SetTimerTrigger(t, 1, true);
        const int q = port.AddDataTrigger("Q", false);
        port.RemoveTrigger(q);
        port.RemoveTrigger(t);
        const uint8_t out[] = "$ECXTE";
        port.PutBlock(out, 6);
        port.SendAll();

        window.ServeOne([&](const Delivery& d) {
            if (d.Message == TriggerAvailMsg) {
                received += ReadBytes(port, static_cast<int>(d.WParam));
            } else if (d.Message == TriggerDataMsg) {
                ++dataEvents;
                // Re-arm as the main window does on every line.
                port.RemoveTrigger(cr);
                cr = port.AddDataTrigger("\r", false);
                port.SetTimerTrigger(noData, 273, true);
            } else if (d.Message == TriggerTimerMsg) {
                ++timerEvents;
            }
        });
    }
    window.Close();
    stop = true;
    dispatch.join();

    EXPECT_EQ(received, fed.substr(0, fed.size() - 1)); // the last CR waits
    EXPECT_EQ(dataEvents, lines);
    port.ClosePort();
}

TEST(PortDispatcherThreads, TriggerChangesOutsideHandlersDoNotRaceThePasses)
{
    ClockScope scope;
    FakePort port;
    RecordingWindow window;
    OpenWithWindow(port, window);
    port.SetAvailTrigger(1);
    const int cr = port.AddDataTrigger("\r", false);
    std::atomic<bool> stop { false };
    std::thread dispatch([&] {
        while (!stop) {
            port.Feed("$GPGGA\r");
            port.RunPasses();
            scope.clock.Advance(55);
        }
    });
    // Nothing reads the bytes, so the ring fills and the passes keep scanning.
    // Goes on until the passes have delivered a few times, however the two
    // threads are scheduled (a loaded machine may starve the passes for a
    // while), but not forever.
    std::set<uint32_t> dataHandles { static_cast<uint32_t>(cr) }, timerHandles;
    int changes = 0;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (; (changes < 3000 || window.Deliveries().size() < 20) && std::chrono::steady_clock::now() < giveUp;
         ++changes) {
        const int t = port.AddTimerTrigger();
        port.SetTimerTrigger(t, 1, true);
        const int d = port.AddDataTrigger("GGA", changes % 2 == 0);
        timerHandles.insert(static_cast<uint32_t>(t));
        dataHandles.insert(static_cast<uint32_t>(d));
        port.SetAvailTrigger(changes % 3);
        port.RemoveTrigger(d);
        if (changes % 7 == 0)
            port.FlushInBuffer();
        port.RemoveTrigger(t);
    }
    stop = true;
    dispatch.join();

    const std::vector<Delivery> during = window.Deliveries();
    EXPECT_GE(during.size(), 20u) << "after " << changes << " trigger changes";
    // Every delivery names a trigger that existed.
    for (const Delivery& d : during) {
        if (d.Message == TriggerDataMsg)
            EXPECT_TRUE(dataHandles.count(d.WParam)) << d.WParam;
        else if (d.Message == TriggerTimerMsg)
            EXPECT_TRUE(timerHandles.count(d.WParam)) << d.WParam;
        else
            EXPECT_EQ(d.Message, TriggerAvailMsg);
    }
    // Once the changes are over, the triggers are the two set up first:
    // every trigger added since was removed and stays silent.
    port.FlushInBuffer();
    port.SetAvailTrigger(1);
    window.Clear();
    port.Feed("$GPGGA\r");
    scope.clock.Advance(60000);
    port.RunPasses();
    // The available-data count leaves out the CR, as with any line.
    const uint32_t engine = port.EngineNumber() * 65536;
    EXPECT_EQ(window.Deliveries(),
        (std::vector<Delivery> {
            { TriggerAvailMsg, 6, engine }, { TriggerDataMsg, static_cast<uint32_t>(cr), engine + 1 } }));
    port.ClosePort();
}

} // namespace
} // namespace serial::test
