#include "XWindowStack.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace kvtest
{

XWindowStack::XWindowStack()
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    connection_ = c;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

XWindowStack::~XWindowStack()
{
    if (connection_)
        xcb_disconnect(connection_);
}

uint32_t XWindowStack::Atom(const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_,
        xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const uint32_t atom = reply ? reply->atom : 0;
    std::free(reply);
    return atom;
}

std::vector<uint32_t> XWindowStack::WindowsOf(uint32_t window, uint32_t property)
{
    std::vector<uint32_t> windows;
    if (!connection_ || property == 0)
        return windows;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, property, XCB_ATOM_WINDOW, 0, 4096), nullptr);
    if (reply && reply->format == 32) {
        const auto* ids = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        windows.assign(ids, ids + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return windows;
}

bool XWindowStack::WindowManagerRunning()
{
    return !WindowsOf(root_, Atom("_NET_SUPPORTING_WM_CHECK")).empty();
}

std::vector<uint32_t> XWindowStack::Stacking()
{
    return WindowsOf(root_, Atom("_NET_CLIENT_LIST_STACKING"));
}

uint32_t XWindowStack::TransientFor(uint32_t window)
{
    const std::vector<uint32_t> owner = WindowsOf(window, XCB_ATOM_WM_TRANSIENT_FOR);
    return owner.empty() ? 0 : owner.front();
}

bool XWindowStack::Managed(uint32_t window)
{
    const std::vector<uint32_t> stack = Stacking();
    return std::find(stack.begin(), stack.end(), window) != stack.end();
}

uint32_t XWindowStack::InputFocus()
{
    if (!connection_)
        return 0;
    xcb_get_input_focus_reply_t* reply
        = xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr);
    const uint32_t focus = reply ? reply->focus : 0;
    std::free(reply);
    return focus;
}

bool XWindowStack::Above(uint32_t upper, uint32_t lower)
{
    const std::vector<uint32_t> stack = Stacking();
    const auto u = std::find(stack.begin(), stack.end(), upper);
    const auto l = std::find(stack.begin(), stack.end(), lower);
    return u != stack.end() && l != stack.end() && u > l;
}

XWindowStack::Rect XWindowStack::Frame(uint32_t window)
{
    if (!connection_)
        return {};
    // The frame is the window's ancestor that is a child of the root.
    for (;;) {
        xcb_query_tree_reply_t* tree
            = xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr);
        if (!tree)
            return {};
        const uint32_t parent = tree->parent;
        std::free(tree);
        if (parent == root_ || parent == 0)
            break;
        window = parent;
    }
    xcb_get_geometry_reply_t* geometry
        = xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
    if (!geometry)
        return {};
    const Rect frame { geometry->x, geometry->y, geometry->width + 2 * geometry->border_width,
        geometry->height + 2 * geometry->border_width };
    std::free(geometry);
    return frame;
}

} // namespace kvtest
