#include "platform/QtX11Frame.h"

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

#if QT_CONFIG(xcb)

namespace
{

template <class Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <class Reply> Owned<Reply> Own(Reply* reply)
{
    return Owned<Reply>(reply, &std::free);
}

xcb_atom_t FrameExtentsAtom(xcb_connection_t* c)
{
    static const char name[] = "_NET_FRAME_EXTENTS";
    auto reply = Own(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

std::optional<X11Frame> X11WindowFrame(const QWidget* window)
{
    // Other platforms (offscreen among them) may offer the interface too.
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb") || !window->isVisible()
        || !window->testAttribute(Qt::WA_WState_Created))
        return std::nullopt;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t extentsAtom = FrameExtentsAtom(c);
    if (extentsAtom == XCB_ATOM_NONE)
        return std::nullopt;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    auto extents = Own(xcb_get_property_reply(
        c, xcb_get_property(c, 0, id, extentsAtom, XCB_ATOM_CARDINAL, 0, 4), nullptr));
    auto size = Own(xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr));
    auto at = Own(xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, id, root, 0, 0), nullptr));
    if (!extents || extents->format != 32 || xcb_get_property_value_length(extents.get()) != 16 || !size || !at)
        return std::nullopt;
    // left, right, top, bottom
    const auto* e = static_cast<const uint32_t*>(xcb_get_property_value(extents.get()));
    X11Frame result;
    result.client = QRect(at->dst_x, at->dst_y, size->width, size->height);
    result.frame = result.client.adjusted(
        -static_cast<int>(e[0]), -static_cast<int>(e[2]), static_cast<int>(e[1]), static_cast<int>(e[3]));
    return result;
}

#else

std::optional<X11Frame> X11WindowFrame(const QWidget*)
{
    return std::nullopt;
}

#endif

} // namespace platform
