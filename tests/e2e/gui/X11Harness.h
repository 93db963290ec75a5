// What the Linux editor tests need of X: a window standing in for the host's editor frame, the
// window tree read back by class and name, the user's input made with XTest (so the plug-in
// gets exactly what a real mouse and keyboard produce), and a picture of the screen.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace X11Harness {

struct Geometry {
    int x = 0, y = 0, w = 0, h = 0;
};

class Screen {
public:
    // Xvfb now and then refuses a connection while it still tidies up closed ones; a moment
    // later it accepts.
    Screen() {
        for (int attempt = 0; attempt < 50 && display == nullptr; ++attempt) {
            display = XOpenDisplay(nullptr);
            if (display == nullptr) usleep(20000);
        }
    }
    ~Screen() {
        if (display != nullptr) XCloseDisplay(display);
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    Display* Get() const { return display; }
    Window Root() const { return DefaultRootWindow(display); }

    // A top-level window at the screen's corner, as a host's frame for the editor.
    Window MakeHostWindow(int w, int h) {
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.background_pixel = 0;
        const Window made =
            XCreateWindow(display, Root(), 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h),
                          0, CopyFromParent, InputOutput, CopyFromParent,
                          CWOverrideRedirect | CWBackPixel, &attributes);
        XMapWindow(display, made);
        XSync(display, False);
        return made;
    }

    std::vector<Window> Children(Window parent) const {
        Window root = 0, up = 0;
        Window* list = nullptr;
        unsigned count = 0;
        std::vector<Window> found;
        if (XQueryTree(display, parent, &root, &up, &list, &count) == 0) return found;
        found.assign(list, list + count);
        if (list != nullptr) XFree(list);
        return found;
    }

    std::string ClassOf(Window w) const {
        XClassHint hint{};
        if (XGetClassHint(display, w, &hint) == 0) return "";
        std::string name = hint.res_class != nullptr ? hint.res_class : "";
        if (hint.res_name != nullptr) XFree(hint.res_name);
        if (hint.res_class != nullptr) XFree(hint.res_class);
        return name;
    }

    std::string NameOf(Window w) const {
        char* name = nullptr;
        if (XFetchName(display, w, &name) == 0 || name == nullptr) return "";
        std::string text = name;
        XFree(name);
        return text;
    }

    // Every descendant of parent of the class, in stacking order.
    std::vector<Window> OfClass(Window parent, const std::string& className) const {
        std::vector<Window> matching;
        for (Window child : Children(parent)) {
            if (ClassOf(child) == className) matching.push_back(child);
            for (Window deeper : OfClass(child, className)) matching.push_back(deeper);
        }
        return matching;
    }

    // The one descendant of the class whose WM_NAME is text, or 0.
    Window Named(Window parent, const std::string& className, const std::string& text) const {
        for (Window w : OfClass(parent, className))
            if (NameOf(w) == text) return w;
        return 0;
    }

    Geometry GeometryOf(Window w) const {
        XWindowAttributes a{};
        if (XGetWindowAttributes(display, w, &a) == 0) return {};
        return {a.x, a.y, a.width, a.height};
    }

    bool IsMapped(Window w) const {
        XWindowAttributes a{};
        return XGetWindowAttributes(display, w, &a) != 0 && a.map_state == IsViewable;
    }

    // Screen coordinates of a point inside a window.
    void ToScreen(Window w, int x, int y, int* sx, int* sy) const {
        Window child = 0;
        XTranslateCoordinates(display, w, Root(), x, y, sx, sy, &child);
    }

    // The user's hand: moves, buttons and keys through XTest.
    void MoveTo(Window w, int x, int y) {
        int sx = 0, sy = 0;
        ToScreen(w, x, y, &sx, &sy);
        XTestFakeMotionEvent(display, -1, sx, sy, 0);
        XSync(display, False);
    }
    void Button(unsigned button, bool down) {
        XTestFakeButtonEvent(display, button, down ? True : False, 0);
        XSync(display, False);
    }
    void Click(Window w, int x, int y, unsigned button = 1) {
        MoveTo(w, x, y);
        Button(button, true);
        Button(button, false);
    }
    void Key(KeySym key, bool down) {
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), down ? True : False, 0);
        XSync(display, False);
    }

    // The window's pixels as 0xRRGGBB values, row by row.
    std::vector<unsigned> Pixels(Window w, int width, int height) const {
        std::vector<unsigned> pixels;
        XImage* image = XGetImage(display, w, 0, 0, static_cast<unsigned>(width),
                                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
        if (image == nullptr) return pixels;
        pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels.push_back(static_cast<unsigned>(XGetPixel(image, x, y) & 0xFFFFFF));
        XDestroyImage(image);
        return pixels;
    }

private:
    Display* display = nullptr;
};

// Runs step (the host's idle) until done answers true, or about two seconds have passed.
inline bool Until(const std::function<void()>& step, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (;;) {
        step();
        if (done()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        usleep(2000);
    }
}

// The process's open file descriptors: an editor that closes leaves their number as it was.
inline std::size_t OpenFiles() {
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

}  // namespace X11Harness
