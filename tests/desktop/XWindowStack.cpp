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

namespace
{

std::vector<uint32_t> PropertyValues(xcb_connection_t* c, uint32_t window, uint32_t property, uint32_t type)
{
    std::vector<uint32_t> values;
    if (!c || property == 0)
        return values;
    xcb_get_property_reply_t* reply
        = xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 4096), nullptr);
    if (reply && reply->format == 32) {
        const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        values.assign(v, v + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
}

} // namespace

std::vector<uint32_t> XWindowStack::WindowsOf(uint32_t window, uint32_t property)
{
    return PropertyValues(connection_, window, property, XCB_ATOM_WINDOW);
}

std::vector<uint32_t> XWindowStack::Values(uint32_t window, uint32_t property)
{
    return PropertyValues(connection_, window, property, XCB_GET_PROPERTY_TYPE_ANY);
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

uint32_t XWindowStack::ClientLeader(uint32_t window)
{
    const std::vector<uint32_t> leader = WindowsOf(window, Atom("WM_CLIENT_LEADER"));
    return leader.empty() ? 0 : leader.front();
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

bool XWindowStack::Iconic(uint32_t window)
{
    constexpr uint32_t kIconicState = 3;
    const std::vector<uint32_t> state = Values(window, Atom("WM_STATE"));
    return !state.empty() && state.front() == kIconicState;
}

namespace
{

void SendToWindowManager(xcb_connection_t* c, uint32_t root, uint32_t window, uint32_t type, uint32_t value)
{
    xcb_client_message_event_t event {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    event.data.data32[0] = value;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}

} // namespace

void XWindowStack::AskToActivate(uint32_t window)
{
    constexpr uint32_t kFromAPager = 2;
    if (connection_)
        SendToWindowManager(connection_, root_, window, Atom("_NET_ACTIVE_WINDOW"), kFromAPager);
}

void XWindowStack::AskToMinimise(uint32_t window)
{
    constexpr uint32_t kIconicState = 3;
    if (connection_)
        SendToWindowManager(connection_, root_, window, Atom("WM_CHANGE_STATE"), kIconicState);
}

uint32_t XWindowStack::MotifFunctions(uint32_t window)
{
    constexpr uint32_t kMwmHintsFunctions = 1;
    const std::vector<uint32_t> hints = Values(window, Atom("_MOTIF_WM_HINTS"));
    if (hints.size() < 2 || !(hints[0] & kMwmHintsFunctions))
        return kMwmFuncAll;
    return hints[1];
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
    const std::vector<uint32_t> states = Values(window, Atom("_NET_WM_STATE"));
    auto has = [&states](uint32_t atom) {
        return atom != 0 && std::find(states.begin(), states.end(), atom) != states.end();
    };
    return has(Atom("_NET_WM_STATE_MAXIMIZED_VERT")) && has(Atom("_NET_WM_STATE_MAXIMIZED_HORZ"));
}

} // namespace kvtest
