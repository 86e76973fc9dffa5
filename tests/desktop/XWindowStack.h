#pragma once
// The window stack as the window manager keeps it, read from the X server
// on a connection of its own: the managed windows from bottom to top
// (_NET_CLIENT_LIST_STACKING), the window each one is transient for
// (WM_TRANSIENT_FOR) and the one that has the keyboard; a window's state
// (WM_STATE), its frame on the screen and what it asks of the window
// manager (_MOTIF_WM_HINTS). Window ids are those of QWidget::winId() on
// Qt's xcb platform.

#include <cstdint>
#include <vector>

struct xcb_connection_t;

namespace kvtest
{

// A rectangle on the screen, in pixels.
struct XRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool Inside(const XRect& outer) const
    {
        return x >= outer.x && y >= outer.y && x + width <= outer.x + outer.width
            && y + height <= outer.y + outer.height;
    }
    bool Intersects(const XRect& r) const
    {
        return x < r.x + r.width && r.x < x + width && y < r.y + r.height && r.y < y + height;
    }
};

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
    // The window that stands for the program the window belongs to
    // (WM_CLIENT_LEADER); a window transient for it belongs to the whole
    // program.
    uint32_t ClientLeader(uint32_t window);
    // `upper` and `lower` are both managed and `upper` lies above `lower`.
    bool Above(uint32_t upper, uint32_t lower);
    bool Managed(uint32_t window);
    // The window the server sends the keyboard to.
    uint32_t InputFocus();
    // The window lies minimised (WM_STATE IconicState).
    bool Iconic(uint32_t window);
    // Asks the window manager to give the window the keyboard and raise it,
    // as a click on it or a task bar does (_NET_ACTIVE_WINDOW from a pager).
    void AskToActivate(uint32_t window);
    // Asks the window manager to minimise the window (WM_CHANGE_STATE), as
    // a title-bar button or a task bar does.
    void AskToMinimise(uint32_t window);
    // The functions the window allows the window manager to offer
    // (_MOTIF_WM_HINTS; MWM_FUNC_ALL when it sets none).
    uint32_t MotifFunctions(uint32_t window);
    static constexpr uint32_t kMwmFuncAll = 1, kMwmFuncResize = 2, kMwmFuncMove = 4, kMwmFuncMinimize = 8,
                              kMwmFuncMaximize = 16, kMwmFuncClose = 32;
    // The screen: the root window's area.
    XRect Screen();
    // The frame the window manager draws around `window`: the window's area
    // on the screen widened by its _NET_FRAME_EXTENTS; empty while the
    // manager has set none.
    XRect Frame(uint32_t window);
    // The window manager keeps `window` maximised both ways (_NET_WM_STATE).
    bool Maximised(uint32_t window);

private:
    std::vector<uint32_t> WindowsOf(uint32_t window, uint32_t property);
    // A property of 32-bit values, of any type.
    std::vector<uint32_t> Values(uint32_t window, uint32_t property);
    uint32_t Atom(const char* name);
    xcb_connection_t* connection_ = nullptr;
    uint32_t root_ = 0;
};

} // namespace kvtest
