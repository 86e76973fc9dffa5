#include "dialogs/ColorGrid.h"

#include "platform/QtColour.h"

#include <QMouseEvent>
#include <QPainter>

namespace
{
constexpr int kColumns = 4;
constexpr int kCell = 22;
} // namespace

uint32_t GridColour(int index)
{
    return index >= 0 && index < static_cast<int>(kGridColours.size()) ? kGridColours[index] : 0;
}

TColorGrid::TColorGrid(QWidget* parent)
    : QWidget(parent)
{
    setMinimumSize(sizeHint());
}

QSize TColorGrid::sizeHint() const
{
    return { kColumns * kCell + 1, kColumns * kCell + 1 };
}

void TColorGrid::SetForegroundIndex(int index)
{
    foreground_ = index;
    update();
}

void TColorGrid::SetBackgroundIndex(int index)
{
    background_ = index;
    update();
}

int TColorGrid::IndexAt(QPoint point) const
{
    const int column = point.x() / kCell;
    const int row = point.y() / kCell;
    if (column < 0 || column >= kColumns || row < 0 || row >= kColumns)
        return -1;
    return row * kColumns + column;
}

void TColorGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int i = 0; i < static_cast<int>(kGridColours.size()); ++i) {
        const QRect cell((i % kColumns) * kCell, (i / kColumns) * kCell, kCell, kCell);
        // Disabled (a preset chosen) it still shows the colours and the
        // preset's marks; only clicks are refused.
        painter.fillRect(cell, platform::QColorFromBgr(kGridColours[i]));
        painter.setPen(Qt::gray);
        painter.drawRect(cell);
        const QColor mark = i == 15 || i == 8 || i == 11 || i == 10 || i == 14 ? Qt::black : Qt::white;
        painter.setPen(mark);
        if (i == foreground_)
            painter.drawText(cell.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, "FG");
        if (i == background_)
            painter.drawText(cell.adjusted(0, 0, -2, 0), Qt::AlignRight | Qt::AlignBottom, "BG");
    }
}

void TColorGrid::mousePressEvent(QMouseEvent* event)
{
    const int index = IndexAt(event->position().toPoint());
    if (index < 0)
        return;
    if (event->button() == Qt::RightButton)
        SetBackgroundIndex(index);
    else
        SetForegroundIndex(index);
    emit Changed();
}
