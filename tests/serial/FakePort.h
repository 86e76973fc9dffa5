#pragma once
// A port engine over a fake device, a hand-set clock and a handler window that
// records what it is sent, so the engine's rules run without a serial port.

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "serial/PortDispatcher.h"
#include "serial/SerMisc.h"

namespace serial::test
{

// Time stands still until a test moves it; sleeping moves it.
class FakeClock : public SerClock
{
public:
    explicit FakeClock(uint64_t startMs = 1000000)
        : now_(startMs)
    {
    }
    uint64_t NowMs() override { return now_.load(); }
    void SleepMs(uint32_t ms) override
    {
        now_ += ms;
        slept_ += ms;
    }
    void Advance(uint64_t ms) { now_ += ms; }
    void Set(uint64_t ms) { now_ = ms; }
    uint64_t Slept() const { return slept_.load(); }

private:
    std::atomic<uint64_t> now_;
    std::atomic<uint64_t> slept_ { 0 };
};

// Installs a FakeClock for the lifetime of the scope.
class ClockScope
{
public:
    explicit ClockScope(uint64_t startMs = 1000000)
        : clock(startMs)
    {
        SetSerClock(&clock);
    }
    ~ClockScope() { SetSerClock(nullptr); }
    FakeClock clock;
};

struct Delivery {
    uint32_t Message;
    uint32_t WParam;
    uint32_t LParam;
    bool operator==(const Delivery&) const = default;
};

class RecordingWindow : public TTriggerWindow
{
public:
    void SendTrigger(uint32_t message, uint32_t wParam, uint32_t lParam) override
    {
        Delivery d { message, wParam, lParam };
        {
            std::lock_guard guard(lock_);
            deliveries_.push_back(d);
        }
        if (OnDeliver)
            OnDeliver(d);
    }
    std::vector<Delivery> Deliveries()
    {
        std::lock_guard guard(lock_);
        return deliveries_;
    }
    void Clear()
    {
        std::lock_guard guard(lock_);
        deliveries_.clear();
    }
    // Runs inside the delivery, as a component event handler would.
    std::function<void(const Delivery&)> OnDeliver;

private:
    std::mutex lock_;
    std::vector<Delivery> deliveries_;
};

class FakePort : public TPortDispatcher
{
public:
    FakePort()
        : TPortDispatcher(nullptr)
    {
    }
    ~FakePort() override { DestroyPort(); }

    // Bytes arriving at the fake device's input queue.
    void Feed(std::string_view bytes)
    {
        std::lock_guard guard(deviceLock_);
        driverIn_.insert(driverIn_.end(), bytes.begin(), bytes.end());
    }
    std::size_t DriverQueued()
    {
        std::lock_guard guard(deviceLock_);
        return driverIn_.size();
    }
    // One wake of the dispatch thread.
    void RunPasses()
    {
        ProcessCommEvent(EvRxChar);
        ProcessTimers();
    }
    // The output side sends everything pending.
    std::string SendAll()
    {
        std::vector<uint8_t> block = UnsentOutput();
        AdvanceOutput(static_cast<uint32_t>(block.size()));
        std::string text(block.begin(), block.end());
        sent_ += text;
        return text;
    }
    void SetDeviceErrors(uint32_t bits) { deviceErrors_ = bits; }

    using TPortDispatcher::AdvanceOutput;
    using TPortDispatcher::CopyToOutBuffer;
    using TPortDispatcher::UnsentOutput;

    // Settings the fake device holds (what GetComState reads back).
    TLineSettings device;
    int setComStateCalls = 0;
    int closeComCalls = 0;
    int startCalls = 0;
    int stopCalls = 0;
    int openResult = 3;
    int setupResult = 0;
    int writeResult = -1; // -1: take everything
    std::vector<int> escapes;
    std::string sent_;

    int EscapeCom(int function) override
    {
        escapes.push_back(function);
        return 0;
    }
    int FlushCom(ComSide side) override
    {
        if (side == ComSide::Output) {
            DiscardOutput();
        } else {
            std::lock_guard guard(deviceLock_);
            driverIn_.clear();
        }
        return 0;
    }
    uint32_t GetComError(TComStat& status) override
    {
        {
            std::lock_guard guard(deviceLock_);
            status.InQueue = static_cast<uint32_t>(driverIn_.size());
        }
        status.OutQueue = OutBuffUsed();
        return deviceErrors_.exchange(0);
    }
    int ReportComError() override { return 0; }
    int GetComState(TLineSettings& settings) override
    {
        settings = device;
        return 0;
    }
    int ReadCom(uint8_t* buffer, int count) override
    {
        std::lock_guard guard(deviceLock_);
        int n = 0;
        while (n < count && !driverIn_.empty()) {
            buffer[n++] = driverIn_.front();
            driverIn_.pop_front();
        }
        return n;
    }
    int SetComState(const TLineSettings& settings) override
    {
        ++setComStateCalls;
        device = settings;
        return 0;
    }
    int WriteCom(const uint8_t* buffer, int count) override
    {
        if (writeResult >= 0)
            return writeResult;
        return CopyToOutBuffer(buffer, count);
    }
    bool WaitComEvent(uint32_t& eventMask) override
    {
        eventMask = EvRxChar;
        return true;
    }
    int SetupCom(int, int) override { return setupResult; }
    void StartDispatcher() override { ++startCalls; }
    void StopDispatcher() override { ++stopCalls; }
    int OpenCom(const std::string&, int, int) override { return openResult; }
    int CloseCom() override
    {
        ++closeComCalls;
        return 0;
    }
    int ProcessCommunications() override { return 0; }
    uint8_t GetModemStatus() override { return 0; }

private:
    std::mutex deviceLock_;
    std::deque<uint8_t> driverIn_;
    std::atomic<uint32_t> deviceErrors_ { 0 };
};

// Opens the fake at 4800 baud 8N1 with a recording window installed as the
// port's own handler (the way the component installs its hidden window).
inline int OpenWithWindow(FakePort& port, TTriggerWindow& window)
{
    int result = port.OpenPort("/dev/fake", 4800, 0x03, 4096, 4096, 8, 1, 0);
    port.RegisterWndHandler(&window);
    port.UpdateHandlerState(1);
    return result;
}

// Reads n bytes with GetChar; stops early at the first failure.
inline std::string ReadBytes(TPortDispatcher& port, int n)
{
    std::string text;
    for (int i = 0; i < n; ++i) {
        uint8_t ch;
        if (port.GetChar(ch) != 0)
            break;
        text += static_cast<char>(ch);
    }
    return text;
}

} // namespace serial::test
