// One X window of the editor and the object behind it: it receives its window's events and
// paints through cairo with its whole content composed off-screen first, so nothing flickers.
// The object owns its window; destroying the object destroys the window.
#pragma once

#include <cairo/cairo.h>
#include <xcb/xcb.h>

#include <string>

#include "EditorCommon/ControlMath.h"
#include "LinuxToolkit/Connection.h"

namespace LinuxToolkit {

using EditorCommon::Keys;

enum Button { kLeft = 1, kMiddle = 2, kRight = 3, kWheelUp = 4, kWheelDown = 5 };

class Widget {
public:
    explicit Widget(Connection& display) : connection(display) {}
    virtual ~Widget();
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    // A visible child window of parent; className goes into WM_CLASS, so tools and tests can
    // tell the kinds of window apart. False when the server refused.
    bool CreateChild(xcb_window_t parent, int left, int top, int w, int h, const char* className);
    // A top-level window at a screen position; overrideRedirect keeps window managers away
    // (popup menus).
    bool CreateTopLevel(int left, int top, int w, int h, const char* className,
                        bool overrideRedirect);

    xcb_window_t Id() const { return window; }
    int X() const { return x; }
    int Y() const { return y; }
    int Width() const { return width; }
    int Height() const { return height; }

    // Marks the window for painting at the next PaintIfNeeded.
    void Invalidate() { dirty = true; }
    void PaintIfNeeded();
    void SetName(const std::string& text);

    virtual void Draw(cairo_t* cr) = 0;
    virtual void OnButtonPress(int /*button*/, int /*px*/, int /*py*/, Keys /*keys*/) {}
    virtual void OnButtonRelease(int /*button*/, int /*px*/, int /*py*/) {}
    virtual void OnMotion(int /*px*/, int /*py*/, bool /*leftDown*/, Keys /*keys*/) {}
    virtual void OnEnter() {}
    virtual void OnLeave() {}
    virtual void OnKey(Key /*key*/) {}
    virtual void OnClose() {}  // the window manager's close box

protected:
    static constexpr std::uint32_t kPointerEvents =
        XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
        XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW;

    Connection& connection;
    xcb_window_t window = XCB_NONE;
    xcb_visualtype_t* visual = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
    bool dirty = true;

private:
    void Paint();
};

// A fill colour as cairo takes it.
struct Colour {
    double r, g, b;
};
void SetColour(cairo_t* cr, Colour c);
// The face the panel's texts use, at a pixel size.
void SelectFont(cairo_t* cr, double size);

}  // namespace LinuxToolkit
