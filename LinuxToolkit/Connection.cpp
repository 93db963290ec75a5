#include "LinuxToolkit/Connection.h"

#include <cstdlib>

#include "LinuxToolkit/Widget.h"

namespace LinuxToolkit {
namespace {

// Keysyms of the keys the menus and boxes use.
constexpr std::uint32_t kKeysymEscape = 0xff1b;
constexpr std::uint32_t kKeysymReturn = 0xff0d;
constexpr std::uint32_t kKeysymKeypadEnter = 0xff8d;
constexpr std::uint32_t kKeysymUp = 0xff52;
constexpr std::uint32_t kKeysymDown = 0xff54;

Keys KeysOf(std::uint16_t state) {
    return {(state & XCB_MOD_MASK_SHIFT) != 0, (state & XCB_MOD_MASK_CONTROL) != 0};
}

}  // namespace

Connection::Connection() {
    int screenNumber = 0;
    xcb_connection_t* made = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(made) != 0) {
        xcb_disconnect(made);  // also frees the error object xcb_connect hands out
        return;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(made));
    for (int i = 0; i < screenNumber && it.rem > 0; ++i) xcb_screen_next(&it);
    if (it.rem == 0) {
        xcb_disconnect(made);
        return;
    }
    connection = made;
    screen = it.data;
}

Connection::~Connection() {
    if (cairoDevice != nullptr) {
        cairo_device_finish(cairoDevice);
        cairo_device_destroy(cairoDevice);
    }
    if (connection != nullptr) xcb_disconnect(connection);
}

void Connection::KeepCairoDevice(cairo_surface_t* surface) {
    if (cairoDevice != nullptr) return;
    cairo_device_t* device = cairo_surface_get_device(surface);
    if (device != nullptr) cairoDevice = cairo_device_reference(device);
}

xcb_atom_t Connection::Atom(const char* name) {
    const auto found = atoms.find(name);
    if (found != atoms.end()) return found->second;
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::string(name).size()), name),
        nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    atoms[name] = atom;
    return atom;
}

static xcb_visualtype_t* FindVisual(xcb_screen_t* screen, xcb_visualid_t id) {
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem > 0;
         xcb_depth_next(&depths))
        for (auto v = xcb_depth_visuals_iterator(depths.data); v.rem > 0; xcb_visualtype_next(&v))
            if (v.data->visual_id == id) return v.data;
    return nullptr;
}

xcb_visualtype_t* Connection::VisualOf(xcb_window_t window) {
    xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr);
    if (reply == nullptr) return nullptr;
    xcb_visualtype_t* visual = FindVisual(screen, reply->visual);
    std::free(reply);
    return visual;
}

xcb_visualtype_t* Connection::RootVisual() const {
    return FindVisual(screen, screen->root_visual);
}

int Connection::DispatchPending() {
    int count = 0;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
        Route(event);
        std::free(event);
        ++count;
    }
    return count;
}

void Connection::PaintDirty() {
    // Painting never registers or removes widgets, so the map stays valid meanwhile.
    for (auto& entry : widgets) entry.second->PaintIfNeeded();
}

void Connection::Route(xcb_generic_event_t* event) {
    const auto find = [this](xcb_window_t w) -> Widget* {
        const auto found = widgets.find(w);
        return found != widgets.end() ? found->second : nullptr;
    };
    // Errors (a window the host destroyed first, say) carry type 0 and need nothing.
    switch (event->response_type & 0x7f) {
        case XCB_EXPOSE: {
            auto* e = reinterpret_cast<xcb_expose_event_t*>(event);
            if (Widget* w = find(e->window)) w->Invalidate();
            break;
        }
        case XCB_BUTTON_PRESS: {
            auto* e = reinterpret_cast<xcb_button_press_event_t*>(event);
            if (Widget* w = find(e->event))
                w->OnButtonPress(e->detail, e->event_x, e->event_y, KeysOf(e->state));
            break;
        }
        case XCB_BUTTON_RELEASE: {
            auto* e = reinterpret_cast<xcb_button_release_event_t*>(event);
            if (Widget* w = find(e->event)) w->OnButtonRelease(e->detail, e->event_x, e->event_y);
            break;
        }
        case XCB_MOTION_NOTIFY: {
            auto* e = reinterpret_cast<xcb_motion_notify_event_t*>(event);
            if (Widget* w = find(e->event))
                w->OnMotion(e->event_x, e->event_y, (e->state & XCB_BUTTON_MASK_1) != 0,
                            KeysOf(e->state));
            break;
        }
        case XCB_ENTER_NOTIFY: {
            // Grabs (a menu opening and closing) move no pointer and show no hover.
            auto* e = reinterpret_cast<xcb_enter_notify_event_t*>(event);
            if (e->mode != XCB_NOTIFY_MODE_NORMAL) break;
            if (Widget* w = find(e->event)) w->OnEnter();
            break;
        }
        case XCB_LEAVE_NOTIFY: {
            auto* e = reinterpret_cast<xcb_leave_notify_event_t*>(event);
            if (e->mode != XCB_NOTIFY_MODE_NORMAL) break;
            if (Widget* w = find(e->event)) w->OnLeave();
            break;
        }
        case XCB_KEY_PRESS: {
            auto* e = reinterpret_cast<xcb_key_press_event_t*>(event);
            if (Widget* w = find(e->event)) w->OnKey(KeyOf(e->detail));
            break;
        }
        case XCB_CLIENT_MESSAGE: {
            auto* e = reinterpret_cast<xcb_client_message_event_t*>(event);
            if (e->format == 32 && e->data.data32[0] == Atom("WM_DELETE_WINDOW"))
                if (Widget* w = find(e->window)) w->OnClose();
            break;
        }
        default: break;
    }
}

void Connection::LoadKeyboardMap() {
    keysLoaded = true;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_keycode_t first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, first, static_cast<std::uint8_t>(count)),
        nullptr);
    if (reply == nullptr) return;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
    const int perCode = reply->keysyms_per_keycode;
    for (int i = 0; i < count && perCode > 0; ++i) {
        Key key = Key::kOther;
        switch (syms[i * perCode]) {
            case kKeysymEscape: key = Key::kEscape; break;
            case kKeysymReturn:
            case kKeysymKeypadEnter: key = Key::kReturn; break;
            case kKeysymUp: key = Key::kUp; break;
            case kKeysymDown: key = Key::kDown; break;
            default: continue;
        }
        keys[static_cast<xcb_keycode_t>(first + i)] = key;
    }
    std::free(reply);
}

Key Connection::KeyOf(xcb_keycode_t code) {
    if (!keysLoaded) LoadKeyboardMap();
    const auto found = keys.find(code);
    return found != keys.end() ? found->second : Key::kOther;
}

void Connection::SetText(xcb_window_t window, xcb_atom_t property, const std::string& text) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, XCB_ATOM_STRING, 8,
                        static_cast<std::uint32_t>(text.size()), text.data());
}

bool Connection::RootPosition(xcb_window_t window, int* rootX, int* rootY) {
    xcb_translate_coordinates_reply_t* reply = xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, screen->root, 0, 0), nullptr);
    if (reply == nullptr) return false;
    *rootX = reply->dst_x;
    *rootY = reply->dst_y;
    std::free(reply);
    return true;
}

}  // namespace LinuxToolkit
