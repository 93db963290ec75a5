// The two kinds of window the editor opens on top of the host: a popup menu and a small box
// with buttons (the About box, the confirmation before clearing every binding). X has no
// native menus or message boxes, so both are drawn here. Neither runs a loop of its own: the
// editor keeps handling events on the host's idle, and its owner reads the result once Done().
//
// Tools find their parts by name: each menu item and each button is a window whose WM_NAME is
// its text.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "EditorCommon/MenuItem.h"
#include "LinuxToolkit/Image.h"
#include "LinuxToolkit/Widget.h"

namespace LinuxToolkit {

class PopupMenu : public Widget {
public:
    static constexpr const char* kClassName = "QuellinLinuxToolkitMenu";
    static constexpr const char* kItemClassName = "QuellinLinuxToolkitMenuItem";

    // Opens at a screen position and takes the pointer and keyboard, so a click anywhere else
    // dismisses it.
    PopupMenu(Connection& display, std::vector<EditorCommon::MenuItem> entries, int rootX,
              int rootY);
    ~PopupMenu() override;

    bool Done() const { return done; }
    // The chosen item's identifier; 0 when dismissed.
    unsigned Chosen() const { return chosen; }

    void Draw(cairo_t* cr) override;
    void OnButtonPress(int button, int px, int py, Keys keys) override;
    void OnButtonRelease(int button, int px, int py) override;
    void OnMotion(int px, int py, bool leftDown, Keys keys) override;
    void OnKey(Key key) override;

private:
    int ItemAt(int px, int py) const;
    void Finish(unsigned id);
    void Highlight(int index);

    std::vector<EditorCommon::MenuItem> items;
    std::vector<xcb_window_t> itemWindows;
    int highlighted = -1;
    bool pressedInside = false;
    bool done = false;
    unsigned chosen = 0;
};

class Box;

class BoxButton : public Widget {
public:
    static constexpr const char* kClassName = "QuellinLinuxToolkitButton";
    BoxButton(Connection& display, Box& owner, unsigned identifier, std::string text)
        : Widget(display), box(owner), id(identifier), caption(std::move(text)) {}
    void Draw(cairo_t* cr) override;
    void OnButtonPress(int button, int px, int py, Keys keys) override;
    void OnKey(Key key) override;

private:
    Box& box;
    unsigned id;
    std::string caption;
};

// A top-level box with a caption, a picture or a text, and buttons.
class Box : public Widget {
public:
    static constexpr const char* kClassName = "QuellinLinuxToolkitBox";
    struct ButtonPlace {
        unsigned id;
        const char* caption;
        int x, y, w, h;
    };

    // centreOver: a window to centre on; defaultId answers Return, cancelId Escape and the
    // close box.
    Box(Connection& display, xcb_window_t centreOver, const char* caption, int w, int h,
        const Image* picture, std::string message, const std::vector<ButtonPlace>& places,
        unsigned defaultId, unsigned cancelId);

    bool Done() const { return done; }
    unsigned Result() const { return result; }
    // Buttons that act without closing the box (Visit Website) report here and clear it.
    unsigned TakeAction() { return std::exchange(action, 0u); }
    void Press(unsigned id);
    void SetStaysOpen(unsigned id) { staysOpen = id; }

    void Draw(cairo_t* cr) override;
    void OnKey(Key key) override;
    void OnClose() override { Press(cancel); }

private:
    const Image* image;  // not owned
    std::string text;
    std::vector<std::unique_ptr<BoxButton>> buttons;
    unsigned defaultButton;
    unsigned cancel;
    unsigned staysOpen = 0;
    unsigned action = 0;
    bool done = false;
    unsigned result = 0;
};

}  // namespace LinuxToolkit
