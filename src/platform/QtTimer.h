#pragma once
// A window timer with the semantics the program's timers were written for:
// it ticks only while it is enabled AND its interval is above 0 ms (an
// enabled timer with interval 0 stays silent, it never spins). Changing the
// interval restarts the countdown; enabling an already enabled timer does
// not (callers that want a fresh countdown disable it first).
//
// Ticks arrive on the GUI thread through the event loop, also while a modal
// dialog runs its own loop.

#include <QObject>
#include <QTimer>

class TTimer : public QObject
{
    Q_OBJECT

public:
    explicit TTimer(QObject* parent = nullptr, int intervalMs = 1000, bool enabled = true);

    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    int interval() const { return interval_; }
    void setInterval(int ms);
    // Ticks are due: enabled with a positive interval.
    bool running() const { return timer_.isActive(); }
    // Milliseconds to the next tick, -1 when not running.
    int remainingTime() const { return timer_.isActive() ? timer_.remainingTime() : -1; }

signals:
    void timeout();

private:
    void update();

    QTimer timer_;
    int interval_;
    bool enabled_;
};
