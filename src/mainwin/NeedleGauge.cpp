#include "mainwin/NeedleGauge.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

TNeedleGauge::TNeedleGauge(QWidget* parent)
    : QWidget(parent)
{
}

void TNeedleGauge::setProgress(int value)
{
    value = std::clamp(value, MinValue, MaxValue);
    if (value == progress_)
        return;
    progress_ = value;
    update();
}

void TNeedleGauge::setBackColor(const QColor& colour)
{
    backColor_ = colour;
    update();
}

void TNeedleGauge::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), backColor_);
    const double radius = std::min(width() / 2.0, double(height())) - 4;
    const QPointF hub(width() / 2.0, height() - 2.0);
    p.setPen(QPen(Qt::black, 1));
    p.drawArc(QRectF(hub.x() - radius, hub.y() - radius, 2 * radius, 2 * radius), 0, 180 * 16);
    // MinValue lies at 180 degrees (left), MaxValue at 0 (right).
    const double span = std::max(1, MaxValue - MinValue);
    const double angle = std::numbers::pi * (1.0 - (progress_ - MinValue) / span);
    const QPointF tip(hub.x() + radius * std::cos(angle), hub.y() - radius * std::sin(angle));
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(hub, tip);
}
