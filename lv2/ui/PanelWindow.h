// The panel's own X connection, for what the editor's connection does not do: the size hints
// on the view's window (hosts size their embedding frame from them) and, for a host without
// ui:parent, a top-level window to show the panel in.
#pragma once

#include <xcb/xcb.h>

namespace QuellinCorvane::Lv2 {

class PanelWindow {
public:
    PanelWindow() = default;
    ~PanelWindow();
    PanelWindow(const PanelWindow&) = delete;
    PanelWindow& operator=(const PanelWindow&) = delete;

    // False without an X server.
    bool Connect();
    // A titled top-level window of the size that cannot be resized, mapped; 0 on failure.
    xcb_window_t MakeTopLevel(int width, int height, const char* title);
    // WM_NORMAL_HINTS with the minimum and maximum both at the size.
    void FixSize(xcb_window_t window, int width, int height);
    // Reads what arrived for the top-level window: true once the user closed it.
    bool Closed();

private:
    xcb_atom_t Atom(const char* name);

    xcb_connection_t* connection = nullptr;
    xcb_window_t topLevel = XCB_NONE;
    xcb_atom_t deleteWindow = XCB_NONE;
    bool closed = false;
};

}  // namespace QuellinCorvane::Lv2
