#include "platform/SerialEvent.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace platform
{

long long SteadyNowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int RemainingMs(int timeoutMs, long long startMs)
{
    if (timeoutMs < 0)
        return -1;
    const long long left = timeoutMs - (SteadyNowMs() - startMs);
    return left > 0 ? static_cast<int>(left) : 0;
}

SerialEvent::SerialEvent(bool manualReset)
    : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
    , manualReset_(manualReset)
{
    if (fd_ < 0)
        throw std::runtime_error("Cannot create a serial link event");
}

SerialEvent::~SerialEvent()
{
    close(fd_);
}

void SerialEvent::Set()
{
    const uint64_t one = 1;
    // The counter only grows, so a set signal stays set; EAGAIN would need
    // 2^64 - 1 sets without a reset.
    while (write(fd_, &one, sizeof one) < 0 && errno == EINTR) { }
}

void SerialEvent::Reset()
{
    uint64_t count;
    while (read(fd_, &count, sizeof count) < 0 && errno == EINTR) { }
}

bool SerialEvent::IsSet() const
{
    pollfd p { fd_, POLLIN, 0 };
    return poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

bool SerialEvent::TryTake()
{
    if (manualReset_)
        return IsSet();
    uint64_t count;
    ssize_t n;
    while ((n = read(fd_, &count, sizeof count)) < 0 && errno == EINTR) { }
    return n == sizeof count;
}

bool SerialEvent::Wait(int timeoutMs)
{
    return WaitAny({ this }, timeoutMs) == 0;
}

int WaitAny(std::initializer_list<SerialEvent*> events, int timeoutMs)
{
    std::vector<pollfd> fds;
    for (SerialEvent* event : events)
        fds.push_back(pollfd { event->Fd(), POLLIN, 0 });
    const long long start = SteadyNowMs();
    for (;;) {
        const int ready = poll(fds.data(), fds.size(), RemainingMs(timeoutMs, start));
        if (ready < 0 && errno != EINTR)
            return -1;
        if (ready > 0) {
            int index = 0;
            for (SerialEvent* event : events) {
                // Another waiter may have taken an auto-reset signal first.
                if ((fds[static_cast<std::size_t>(index)].revents & POLLIN) && event->TryTake())
                    return index;
                ++index;
            }
        }
        if (timeoutMs >= 0 && RemainingMs(timeoutMs, start) == 0)
            return -1;
    }
}

} // namespace platform
