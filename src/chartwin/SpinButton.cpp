#include "chartwin/SpinButton.h"

#include <QBoxLayout>
#include <QToolButton>

TSpinButton::TSpinButton(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent)
{
    const bool vertical = orientation == Qt::Vertical;
    auto* layout = new QBoxLayout(vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto arrow = [this, layout](Qt::ArrowType type) {
        auto* button = new QToolButton(this);
        button->setArrowType(type);
        button->setAutoRepeat(true);
        button->setFixedSize(14, 14);
        layout->addWidget(button);
        return button;
    };
    Up = arrow(vertical ? Qt::UpArrow : Qt::LeftArrow);
    Down = arrow(vertical ? Qt::DownArrow : Qt::RightArrow);
}
