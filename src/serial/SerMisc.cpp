#include "serial/SerMisc.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/SerialError.h"
#include "serial/SerMessages.h"
#include <algorithm>

namespace serial
{

namespace
{

class SteadyClock : public SerClock
{
public:
    uint64_t NowMs() override
    {
        using namespace std::chrono;
        return static_cast<uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void SleepMs(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

std::atomic<SerClock*> installedClock { nullptr };

} // namespace

SerClock& SteadySerClock()
{
    static SteadyClock clock;
    return clock;
}

SerClock& CurrentSerClock()
{
    SerClock* clock = installedClock.load(std::memory_order_acquire);
    return clock ? *clock : SteadySerClock();
}

void SetSerClock(SerClock* clock)
{
    installedClock.store(clock, std::memory_order_release);
}

uint64_t MsClock64()
{
    return CurrentSerClock().NowMs();
}

uint32_t MsClock()
{
    return static_cast<uint32_t>(MsClock64());
}

uint64_t NowTicks()
{
    return MsClock64() / TickMs;
}

void NewTimer(TickTimer& timer, uint64_t ticks)
{
    timer.StartTick = NowTicks();
    timer.ExpireTick = timer.StartTick + std::min(ticks, MaxTimerTicks);
}

bool TimerExpired(const TickTimer& timer)
{
    return timer.ExpireTick < NowTicks();
}

uint64_t TimerDueMs(const TickTimer& timer)
{
    return (timer.ExpireTick + 1) * TickMs;
}

void PumpOneMessage()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool ExistFile(const std::string& name)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(name, ec);
}

std::string LookupMessage(int16_t code)
{
    int magnitude = code < 0 ? -static_cast<int>(code) : code;
    const auto& table = MessageTable();
    // Binary search by magnitude; the middle is rounded half to even.
    int low = 0;
    int high = static_cast<int>(table.size()) - 1;
    while (low <= high) {
        int sum = low + high;
        int middle = sum / 2;
        if (sum % 2 != 0 && middle % 2 != 0)
            ++middle;
        int entry = table[middle].Code < 0 ? -table[middle].Code : table[middle].Code;
        if (entry == magnitude)
            return std::string(table[middle].Text).substr(0, 255);
        if (magnitude < entry)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return {};
}

std::string ErrorText(int16_t code)
{
    std::string text = LookupMessage(code);
    if (!text.empty())
        return text;
    int magnitude = code < 0 ? -static_cast<int>(code) : code;
    text = platform::SystemErrorText(magnitude).substr(0, 255);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    std::size_t at;
    while ((at = text.find("  ")) != std::string::npos)
        text.erase(at, 1);
    return text;
}

} // namespace serial
