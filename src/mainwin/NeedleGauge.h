#pragma once
// A needle gauge: a half dial from MinValue (left) to MaxValue (right) with
// a needle at Progress, on a background colour. The cross-track error gauge
// of the navigation panel (-100 .. +100, 0 in the middle).

#include <QColor>
#include <QWidget>

class TNeedleGauge : public QWidget
{
    Q_OBJECT

public:
    explicit TNeedleGauge(QWidget* parent = nullptr);

    int MinValue = -100;
    int MaxValue = 100;
    int progress() const { return progress_; }
    void setProgress(int value);
    QColor backColor() const { return backColor_; }
    void setBackColor(const QColor& colour);

    QSize sizeHint() const override { return QSize(120, 66); }
    // Never squeezed: a flattened dial shows no needle.
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int progress_ = 0;
    QColor backColor_ = QColor(0xC0, 0xC0, 0xC0); // silver
};
