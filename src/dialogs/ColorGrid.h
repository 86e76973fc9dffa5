#pragma once
// The preferences' 16-colour grid: a foreground and a background colour
// chosen from the sixteen standard colours, by index. A left click picks the
// foreground, a right click the background.

#include <QWidget>
#include <array>
#include <cstdint>

// The sixteen colours by index, BGR: black, maroon, green, olive, navy,
// purple, teal, grey, silver, red, lime, yellow, blue, fuchsia, aqua, white.
constexpr std::array<uint32_t, 16> kGridColours
    = { 0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080, 0xC0C0C0, 0x0000FF,
          0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF };

// The grid colour of an index; indices outside 0..15 give black.
uint32_t GridColour(int index);

class TColorGrid : public QWidget
{
    Q_OBJECT

public:
    explicit TColorGrid(QWidget* parent = nullptr);

    int ForegroundIndex() const { return foreground_; }
    int BackgroundIndex() const { return background_; }
    void SetForegroundIndex(int index);
    void SetBackgroundIndex(int index);
    uint32_t ForegroundColor() const { return GridColour(foreground_); }
    uint32_t BackgroundColor() const { return GridColour(background_); }

    QSize sizeHint() const override;

signals:
    void Changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int IndexAt(QPoint point) const;
    int foreground_ = 15;
    int background_ = 4;
};
