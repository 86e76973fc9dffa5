#include "platform/QtTimer.h"

TTimer::TTimer(QObject* parent, int intervalMs, bool enabled)
    : QObject(parent)
    , interval_(intervalMs)
    , enabled_(enabled)
{
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &TTimer::timeout);
    update();
}

void TTimer::setEnabled(bool on)
{
    if (on == enabled_)
        return;
    enabled_ = on;
    update();
}

void TTimer::setInterval(int ms)
{
    if (ms == interval_)
        return;
    interval_ = ms;
    update();
}

void TTimer::update()
{
    timer_.stop();
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
}
