#pragma once
// Waiting in a Qt test for something that other threads bring about: the
// GUI thread serves its events (timers, serial port deliveries) meanwhile.

#include <QCoreApplication>
#include <chrono>
#include <thread>

namespace kvtest
{

// Serves the GUI thread's events until pred() holds or waitMs passed;
// whether it holds.
template <class Pred> bool WaitFor(Pred pred, int waitMs = 3000)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace kvtest
