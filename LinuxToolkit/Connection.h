// The editor's own connection to the X server. Every editor opens one, so nothing it does
// touches the host's (or another plug-in's) connection or the libraries' global state: errors
// arrive as events on this connection and are dropped, no handler is installed anywhere.
//
// Threads: the host's user-interface thread only (open, idle, close).
#pragma once

#include <cairo/cairo.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <map>
#include <string>

namespace LinuxToolkit {

class Widget;

// Keys the menus and boxes react to.
enum class Key { kOther, kEscape, kReturn, kUp, kDown };

class Connection {
public:
    // Connects to $DISPLAY; IsOpen() is false when there is no usable server.
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool IsOpen() const { return connection != nullptr; }
    xcb_connection_t* Get() const { return connection; }
    int FileDescriptor() const { return xcb_get_file_descriptor(connection); }
    xcb_window_t Root() const { return screen->root; }
    xcb_atom_t Atom(const char* name);

    // The visual of a window, for drawing into it; null when the window is gone.
    xcb_visualtype_t* VisualOf(xcb_window_t window);
    xcb_visualtype_t* RootVisual() const;

    // Widgets receive the events of their window while registered.
    void Register(xcb_window_t window, Widget* widget) { widgets[window] = widget; }
    void Unregister(xcb_window_t window) { widgets.erase(window); }
    // Routes every event already queued; answers how many there were.
    int DispatchPending();
    // Paints every registered widget marked for painting.
    void PaintDirty();

    Key KeyOf(xcb_keycode_t code);
    void SetText(xcb_window_t window, xcb_atom_t property, const std::string& text);
    // Where a window's (0, 0) lies on the screen.
    bool RootPosition(xcb_window_t window, int* x, int* y);
    void Flush() { xcb_flush(connection); }
    // cairo keeps one device per X connection until it is finished, and would hand a stale
    // one to a later connection that happens to reuse the address; the connection finishes
    // the device that its surfaces used before it disconnects.
    void KeepCairoDevice(cairo_surface_t* surface);

private:
    void Route(xcb_generic_event_t* event);
    void LoadKeyboardMap();

    xcb_connection_t* connection = nullptr;
    xcb_screen_t* screen = nullptr;
    std::map<xcb_window_t, Widget*> widgets;  // not owned
    std::map<std::string, xcb_atom_t> atoms;
    std::map<xcb_keycode_t, Key> keys;
    bool keysLoaded = false;
    cairo_device_t* cairoDevice = nullptr;  // one reference held
};

}  // namespace LinuxToolkit
