#pragma once
// The window stack as the window manager keeps it, read from the X server
// on a connection of its own: the managed windows from bottom to top
// (_NET_CLIENT_LIST_STACKING), the window each one is transient for
// (WM_TRANSIENT_FOR) and the one that has the keyboard. Window ids are those of QWidget::winId() on Qt's xcb
// platform.

#include <cstdint>
#include <vector>

struct xcb_connection_t;

namespace kvtest
{

class XWindowStack
{
public:
    XWindowStack(); // connects to $DISPLAY
    ~XWindowStack();
    XWindowStack(const XWindowStack&) = delete;
    XWindowStack& operator=(const XWindowStack&) = delete;

    bool Connected() const { return connection_ != nullptr; }
    // An EWMH window manager runs (_NET_SUPPORTING_WM_CHECK on the root).
    bool WindowManagerRunning();
    // Managed windows, bottom first.
    std::vector<uint32_t> Stacking();
    // The window `window` is transient for; 0 for none.
    uint32_t TransientFor(uint32_t window);
    // `upper` and `lower` are both managed and `upper` lies above `lower`.
    bool Above(uint32_t upper, uint32_t lower);
    bool Managed(uint32_t window);
    // The window the server sends the keyboard to.
    uint32_t InputFocus();
    // Where `window` lies on the screen with the frame the window manager
    // put round it (its own place when it has none); empty when it is gone.
    struct Rect {
        int x = 0, y = 0, width = 0, height = 0;
    };
    Rect Frame(uint32_t window);

private:
    std::vector<uint32_t> WindowsOf(uint32_t window, uint32_t property);
    uint32_t Atom(const char* name);
    xcb_connection_t* connection_ = nullptr;
    uint32_t root_ = 0;
};

} // namespace kvtest
