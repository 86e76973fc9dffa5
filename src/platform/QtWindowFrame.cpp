#include "platform/QtWindowFrame.h"

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <memory>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace platform
{

namespace
{

// As Qt knows it: framed once the frame's corner has left the window's.
std::optional<WindowFrame> QtFrame(const QWidget* window)
{
    const WindowFrame framed { window->geometry(), window->frameGeometry() };
    if (framed.client.topLeft() == framed.frame.topLeft())
        return std::nullopt;
    return framed;
}

#if QT_CONFIG(xcb)

template <class Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <class Reply> Owned<Reply> Own(Reply* reply)
{
    return Owned<Reply>(reply, &std::free);
}

// The program's connection to the X server; nullptr on any other platform.
xcb_connection_t* Connection()
{
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Interned once: the program has one connection for its lifetime.
xcb_atom_t FrameExtentsAtom(xcb_connection_t* c)
{
    static const xcb_atom_t atom = [c] {
        static const char name[] = "_NET_FRAME_EXTENTS";
        auto reply = Own(xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }();
    return atom;
}

std::optional<WindowFrame> X11Frame(xcb_connection_t* c, const QWidget* window)
{
    const xcb_atom_t extentsAtom = FrameExtentsAtom(c);
    if (extentsAtom == XCB_ATOM_NONE)
        return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    auto extents = Own(xcb_get_property_reply(
        c, xcb_get_property(c, 0, id, extentsAtom, XCB_ATOM_CARDINAL, 0, 4), nullptr));
    auto size = Own(xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr));
    auto at = Own(xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, id, root, 0, 0), nullptr));
    if (!extents || extents->format != 32 || xcb_get_property_value_length(extents.get()) != 16 || !size || !at)
        return std::nullopt;
    // left, right, top, bottom
    const auto* e = static_cast<const uint32_t*>(xcb_get_property_value(extents.get()));
    WindowFrame framed;
    framed.client = QRect(at->dst_x, at->dst_y, size->width, size->height);
    framed.frame = framed.client.adjusted(
        -static_cast<int>(e[0]), -static_cast<int>(e[2]), static_cast<int>(e[1]), static_cast<int>(e[3]));
    return framed;
}

#endif

} // namespace

std::optional<WindowFrame> FramedWindow(const QWidget* window)
{
    if (!window->isVisible() || !window->testAttribute(Qt::WA_WState_Created))
        return std::nullopt;
#if QT_CONFIG(xcb)
    // Other platforms (offscreen among them) may offer the interface too.
    if (xcb_connection_t* c = Connection())
        return X11Frame(c, window);
#endif
    return QtFrame(window);
}

bool IsFrameChangeEvent(const QByteArray& eventType, const void* message)
{
#if QT_CONFIG(xcb)
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY)
        return false;
    xcb_connection_t* c = Connection();
    return c && static_cast<const xcb_property_notify_event_t*>(message)->atom == FrameExtentsAtom(c);
#else
    (void)eventType;
    (void)message;
    return false;
#endif
}

} // namespace platform
