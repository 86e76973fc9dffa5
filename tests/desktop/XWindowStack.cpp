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

XRect XWindowStack::Screen()
{
    XRect screen;
    if (!connection_)
        return screen;
    xcb_get_geometry_reply_t* reply
        = xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, root_), nullptr);
    if (reply)
        screen = { 0, 0, reply->width, reply->height };
    std::free(reply);
    return screen;
}

XRect XWindowStack::Frame(uint32_t window)
{
    XRect frame;
    const uint32_t extentsAtom = Atom("_NET_FRAME_EXTENTS");
    if (!connection_ || extentsAtom == 0)
        return frame;
    xcb_get_property_reply_t* extents = xcb_get_property_reply(connection_,
        xcb_get_property(connection_, 0, window, extentsAtom, XCB_ATOM_CARDINAL, 0, 4), nullptr);
    xcb_get_geometry_reply_t* size
        = xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
    xcb_translate_coordinates_reply_t* at = xcb_translate_coordinates_reply(
        connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0), nullptr);
    if (extents && extents->format == 32 && xcb_get_property_value_length(extents) == 16 && size && at) {
        // left, right, top, bottom
        const auto* e = static_cast<const uint32_t*>(xcb_get_property_value(extents));
        const int left = static_cast<int>(e[0]);
        const int right = static_cast<int>(e[1]);
        const int top = static_cast<int>(e[2]);
        const int bottom = static_cast<int>(e[3]);
        frame = { at->dst_x - left, at->dst_y - top, size->width + left + right, size->height + top + bottom };
    }
    std::free(extents);
    std::free(size);
    std::free(at);
    return frame;
}

bool XWindowStack::Maximised(uint32_t window)
{
    const uint32_t stateAtom = Atom("_NET_WM_STATE");
    const uint32_t vertical = Atom("_NET_WM_STATE_MAXIMIZED_VERT");
    const uint32_t horizontal = Atom("_NET_WM_STATE_MAXIMIZED_HORZ");
    if (!connection_ || stateAtom == 0)
        return false;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, stateAtom, XCB_ATOM_ATOM, 0, 64), nullptr);
    std::vector<uint32_t> states;
    if (reply && reply->format == 32) {
        const auto* atoms = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        states.assign(atoms, atoms + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    auto has = [&states](uint32_t atom) { return std::find(states.begin(), states.end(), atom) != states.end(); };
    return has(vertical) && has(horizontal);
}

} // namespace kvtest
