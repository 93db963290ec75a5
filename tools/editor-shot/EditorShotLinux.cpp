// editor-shot SO PICTURE: opens the Linux plug-in's editor in a window at the screen's top left
// corner of $DISPLAY, rests the pointer on the cutoff knob (so the status line shows its value,
// as in the Windows picture), idles the editor for a moment and saves the panel as a PNG.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <cairo/cairo.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "tools/host/Host.h"

namespace {

bool Save(Display* display, Window window, int w, int h, const char* path) {
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(w),
                              static_cast<unsigned>(h), AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    unsigned char* data = cairo_image_surface_get_data(picture);
    const int stride = cairo_image_surface_get_stride(picture);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            reinterpret_cast<std::uint32_t*>(data + y * stride)[x] =
                static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
    cairo_surface_mark_dirty(picture);
    const bool saved = cairo_surface_write_to_png(picture, path) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(picture);
    XDestroyImage(image);
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: editor-shot SO PICTURE\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "editor-shot: no X display\n");
        return 1;
    }
    VstHost::PluginLibrary library;
    VstHost::Host host;
    if (!library.load(argv[1]) || !host.open(library)) {
        std::fprintf(stderr, "editor-shot: %s%s\n", library.error().c_str(), host.error().c_str());
        return 1;
    }
    ERect* size = nullptr;
    if (host.dispatch(effEditGetRect, 0, 0, &size) == 0 || size == nullptr) {
        std::fprintf(stderr, "editor-shot: the plug-in has no editor\n");
        return 1;
    }
    const int w = size->right - size->left;
    const int h = size->bottom - size->top;
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    const Window frame =
        XCreateWindow(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(w),
                      static_cast<unsigned>(h), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWOverrideRedirect, &attributes);
    XMapWindow(display, frame);
    XSync(display, False);
    if (host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(frame)) == 0) {
        std::fprintf(stderr, "editor-shot: the editor did not open\n");
        return 1;
    }
    XTestFakeMotionEvent(display, -1, 227, 150, 0);  // the cutoff knob
    for (int i = 0; i < 50; ++i) {
        XSync(display, False);
        host.dispatch(effEditIdle);
        usleep(10000);
    }
    const bool saved = Save(display, frame, w, h, argv[2]);
    host.dispatch(effEditClose);
    host.close();
    XDestroyWindow(display, frame);
    XCloseDisplay(display);
    if (!saved) std::fprintf(stderr, "editor-shot: could not write %s\n", argv[2]);
    return saved ? 0 : 1;
}
