#pragma once
// A pair of small arrow buttons stepping something up and down (or left and
// right), as on a chart view's side tool bar.

#include <QWidget>

class QToolButton;

class TSpinButton : public QWidget
{
    Q_OBJECT

public:
    // Vertical: Up above Down. Horizontal: Up (left arrow) beside Down
    // (right arrow).
    TSpinButton(Qt::Orientation orientation, QWidget* parent = nullptr);

    QToolButton* Up;
    QToolButton* Down;
};
