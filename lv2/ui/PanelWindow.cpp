#include "lv2/ui/PanelWindow.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace QuellinCorvane::Lv2 {
namespace {

// WM_SIZE_HINTS (ICCCM 4.1.2.3): 18 CARD32s, flags first.
constexpr std::uint32_t kMinSizeFlag = 1u << 4;
constexpr std::uint32_t kMaxSizeFlag = 1u << 5;
constexpr int kSizeHintsWords = 18;

}  // namespace

PanelWindow::~PanelWindow() {
    if (connection == nullptr) return;
    if (topLevel != XCB_NONE) xcb_destroy_window(connection, topLevel);
    xcb_disconnect(connection);
}

bool PanelWindow::Connect() {
    connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) == 0) return true;
    xcb_disconnect(connection);
    connection = nullptr;
    return false;
}

xcb_atom_t PanelWindow::Atom(const char* name) {
    const auto cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : XCB_NONE;
    std::free(reply);
    return atom;
}

xcb_window_t PanelWindow::MakeTopLevel(int width, int height, const char* title) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (screen == nullptr) return XCB_NONE;
    topLevel = xcb_generate_id(connection);
    const std::uint32_t events = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, topLevel, screen->root, 0, 0,
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_EVENT_MASK,
                      &events);
    const auto length = static_cast<std::uint32_t>(std::strlen(title));
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, topLevel, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, length, title);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, topLevel, Atom("_NET_WM_NAME"),
                        Atom("UTF8_STRING"), 8, length, title);
    // The window manager's close button arrives as a message instead of a disconnection.
    deleteWindow = Atom("WM_DELETE_WINDOW");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, topLevel, Atom("WM_PROTOCOLS"),
                        XCB_ATOM_ATOM, 32, 1, &deleteWindow);
    FixSize(topLevel, width, height);
    xcb_map_window(connection, topLevel);
    xcb_flush(connection);
    return topLevel;
}

void PanelWindow::FixSize(xcb_window_t window, int width, int height) {
    std::uint32_t hints[kSizeHintsWords] = {};
    hints[0] = kMinSizeFlag | kMaxSizeFlag;
    hints[5] = hints[7] = static_cast<std::uint32_t>(width);
    hints[6] = hints[8] = static_cast<std::uint32_t>(height);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NORMAL_HINTS,
                        XCB_ATOM_WM_SIZE_HINTS, 32, kSizeHintsWords, hints);
    xcb_flush(connection);
}

bool PanelWindow::Closed() {
    if (topLevel == XCB_NONE) return false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
        if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
            if (message->window == topLevel && message->data.data32[0] == deleteWindow)
                closed = true;
        }
        std::free(event);
    }
    return closed;
}

}  // namespace QuellinCorvane::Lv2
