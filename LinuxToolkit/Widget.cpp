#include "LinuxToolkit/Widget.h"

#include <cairo/cairo-xcb.h>

#include <cstdlib>

namespace LinuxToolkit {
namespace {

void SetClass(Connection& connection, xcb_window_t window, const char* className) {
    // WM_CLASS holds the instance and the class name, each terminated.
    std::string value = className;
    value.push_back('\0');
    value += className;
    value.push_back('\0');
    connection.SetText(window, XCB_ATOM_WM_CLASS, value);
}

}  // namespace

Widget::~Widget() {
    if (window == XCB_NONE) return;
    connection.Unregister(window);
    xcb_destroy_window(connection.Get(), window);
}

bool Widget::CreateChild(xcb_window_t parent, int left, int top, int w, int h,
                         const char* className) {
    x = left;
    y = top;
    width = w;
    height = h;
    xcb_connection_t* c = connection.Get();
    const xcb_window_t made = xcb_generate_id(c);
    // No background: the server leaves the pixels alone and the widget paints them all.
    const std::uint32_t values[] = {
        XCB_BACK_PIXMAP_NONE, kPointerEvents | XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_KEY_PRESS};
    xcb_void_cookie_t cookie = xcb_create_window_checked(
        c, XCB_COPY_FROM_PARENT, made, parent, static_cast<std::int16_t>(left),
        static_cast<std::int16_t>(top), static_cast<std::uint16_t>(w),
        static_cast<std::uint16_t>(h), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
        XCB_CW_BACK_PIXMAP | XCB_CW_EVENT_MASK, values);
    if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
        std::free(error);
        return false;
    }
    window = made;
    visual = connection.VisualOf(window);
    connection.Register(window, this);
    SetClass(connection, window, className);
    xcb_map_window(c, window);
    return true;
}

bool Widget::CreateTopLevel(int left, int top, int w, int h, const char* className,
                            bool overrideRedirect) {
    x = left;
    y = top;
    width = w;
    height = h;
    xcb_connection_t* c = connection.Get();
    window = xcb_generate_id(c);
    const std::uint32_t values[] = {
        XCB_BACK_PIXMAP_NONE, overrideRedirect ? 1u : 0u,
        kPointerEvents | XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_KEY_PRESS};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, connection.Root(),
                      static_cast<std::int16_t>(left), static_cast<std::int16_t>(top),
                      static_cast<std::uint16_t>(w), static_cast<std::uint16_t>(h), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    visual = connection.RootVisual();
    connection.Register(window, this);
    SetClass(connection, window, className);
    return true;
}

void Widget::SetName(const std::string& text) {
    connection.SetText(window, XCB_ATOM_WM_NAME, text);
}

void Widget::PaintIfNeeded() {
    if (!dirty || window == XCB_NONE || visual == nullptr) return;
    dirty = false;
    Paint();
}

void Widget::Paint() {
    cairo_surface_t* surface =
        cairo_xcb_surface_create(connection.Get(), window, visual, width, height);
    connection.KeepCairoDevice(surface);
    cairo_t* cr = cairo_create(surface);
    cairo_push_group(cr);
    Draw(cr);
    cairo_pop_group_to_source(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    cairo_surface_destroy(surface);
}

void SetColour(cairo_t* cr, Colour c) {
    cairo_set_source_rgb(cr, c.r, c.g, c.b);
}

void SelectFont(cairo_t* cr, double size) {
    // Fontconfig finds Arial's metric twin (or the desktop's sans) when Arial itself is absent.
    cairo_select_font_face(cr, "Arial", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

}  // namespace LinuxToolkit
