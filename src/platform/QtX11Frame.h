#pragma once
// Where an X11 window manager keeps a top-level window, read from the X
// server itself: Qt learns the frame (_NET_FRAME_EXTENTS) and the new size
// of a window in separate events, and between them its frameGeometry() mixes
// the old with the new.

#include <QRect>
#include <optional>

class QWidget;

namespace platform
{

struct X11Frame {
    QRect client; // the window's own area on the screen
    QRect frame;  // with the frame the window manager draws around it
};

// Nothing when the program runs on no X server, the window is not shown or
// the window manager has set no frame extents.
std::optional<X11Frame> X11WindowFrame(const QWidget* window);

} // namespace platform
