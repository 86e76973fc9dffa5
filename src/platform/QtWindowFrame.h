#pragma once
// Where the window manager keeps a top-level window and the frame it draws
// round it. Under X11 this is read from the X server itself: Qt learns the
// frame (_NET_FRAME_EXTENTS) and the new size of a window in separate
// events, and between them its frameGeometry() mixes the old with the new.
// Elsewhere it is Qt's own geometry and frame geometry.

#include <QByteArray>
#include <QMargins>
#include <QRect>
#include <optional>

class QWidget;

namespace platform
{

struct WindowFrame {
    QRect client; // the window's own area on the screen
    QRect frame;  // with the frame the window manager draws round it

    QMargins Margins() const
    {
        return { client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom() };
    }
};

// Nothing while the window has no frame round it: not shown, not yet
// framed by the window manager, or no window manager drawing frames.
std::optional<WindowFrame> FramedWindow(const QWidget* window);

// A native event of a window (QWidget::nativeEvent) that tells of a new
// frame round it: under X11 a change of its _NET_FRAME_EXTENTS.
bool IsFrameChangeEvent(const QByteArray& eventType, const void* message);

} // namespace platform
