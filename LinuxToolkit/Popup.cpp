#include "LinuxToolkit/Popup.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace LinuxToolkit {
namespace {

constexpr int kItemHeight = 22;
constexpr int kMenuPadding = 3;
constexpr double kTextSize = 13.0;
constexpr double kButtonTextSize = 11.0;  // the captions fit buttons of the Windows boxes' size
constexpr Colour kFace = {0.94, 0.94, 0.94};
constexpr Colour kEdge = {0.55, 0.55, 0.55};
constexpr Colour kHighlight = {0.0, 0.47, 0.84};
constexpr Colour kText = {0.0, 0.0, 0.0};

double TextWidth(const std::string& text) {
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(scratch);
    SelectFont(cr, kTextSize);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    cairo_destroy(cr);
    cairo_surface_destroy(scratch);
    return extents.x_advance;
}

int MenuWidth(const std::vector<EditorCommon::MenuItem>& items) {
    double widest = 0.0;
    for (const auto& item : items) widest = std::max(widest, TextWidth(item.text));
    return static_cast<int>(widest) + 48;
}

// Text centred vertically in a row of the given height, starting at x.
void ShowText(cairo_t* cr, const std::string& text, double left, double top, double rowHeight) {
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    cairo_move_to(cr, left, top + (rowHeight + font.ascent - font.descent) / 2.0);
    cairo_show_text(cr, text.c_str());
}

// Breaks a text into lines no wider than width.
std::vector<std::string> Wrap(cairo_t* cr, const std::string& text, double width) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
        const std::string candidate = line.empty() ? word : line + " " + word;
        cairo_text_extents_t extents;
        cairo_text_extents(cr, candidate.c_str(), &extents);
        if (extents.x_advance > width && !line.empty()) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace

PopupMenu::PopupMenu(Connection& display, std::vector<EditorCommon::MenuItem> entries, int rootX,
                     int rootY)
    : Widget(display), items(std::move(entries)) {
    const int h = static_cast<int>(items.size()) * kItemHeight + 2 * kMenuPadding;
    CreateTopLevel(rootX, rootY, MenuWidth(items), h, kClassName, true);
    xcb_connection_t* c = connection.Get();
    for (std::size_t i = 0; i < items.size(); ++i) {
        // Input-only windows carry the item texts; the menu itself paints and takes the input.
        const xcb_window_t item = xcb_generate_id(c);
        xcb_create_window(
            c, 0, item, window, 0,
            static_cast<std::int16_t>(kMenuPadding + static_cast<int>(i) * kItemHeight),
            static_cast<std::uint16_t>(width), kItemHeight, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
            XCB_COPY_FROM_PARENT, 0, nullptr);
        connection.SetText(item, XCB_ATOM_WM_NAME, items[i].text);
        std::string itemClass = std::string(kItemClassName) + '\0' + kItemClassName + '\0';
        connection.SetText(item, XCB_ATOM_WM_CLASS, itemClass);
        xcb_map_window(c, item);
        itemWindows.push_back(item);
    }
    xcb_map_window(c, window);
    // The grab reports every click to the menu, wherever it lands; a host holding the pointer
    // already leaves the menu to plain clicks on it.
    const auto mask =
        static_cast<std::uint16_t>(XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                                   XCB_EVENT_MASK_POINTER_MOTION);
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::free(xcb_grab_pointer_reply(
            c,
            xcb_grab_pointer(c, 0, window, mask, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE,
                             XCB_NONE, XCB_CURRENT_TIME),
            nullptr));
    }
    std::free(xcb_grab_keyboard_reply(
        c,
        xcb_grab_keyboard(c, 0, window, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr));
}

PopupMenu::~PopupMenu() {
    xcb_ungrab_pointer(connection.Get(), XCB_CURRENT_TIME);
    xcb_ungrab_keyboard(connection.Get(), XCB_CURRENT_TIME);
}

int PopupMenu::ItemAt(int px, int py) const {
    if (px < 0 || px >= width || py < kMenuPadding) return -1;
    const int index = (py - kMenuPadding) / kItemHeight;
    return index < static_cast<int>(items.size()) ? index : -1;
}

void PopupMenu::Finish(unsigned id) {
    if (done) return;
    done = true;
    chosen = id;
    xcb_ungrab_pointer(connection.Get(), XCB_CURRENT_TIME);
    xcb_ungrab_keyboard(connection.Get(), XCB_CURRENT_TIME);
    xcb_unmap_window(connection.Get(), window);
}

void PopupMenu::Highlight(int index) {
    if (index == highlighted) return;
    highlighted = index;
    Invalidate();
}

void PopupMenu::OnButtonPress(int, int px, int py, Keys) {
    const bool inside = px >= 0 && py >= 0 && px < width && py < height;
    if (!inside) {
        Finish(0);
        return;
    }
    pressedInside = true;
    const int index = ItemAt(px, py);
    if (index >= 0) Finish(items[static_cast<std::size_t>(index)].id);
}

void PopupMenu::OnButtonRelease(int, int px, int py) {
    // The release of the click that opened the menu chooses nothing.
    if (!pressedInside) return;
    const int index = ItemAt(px, py);
    if (index >= 0) Finish(items[static_cast<std::size_t>(index)].id);
}

void PopupMenu::OnMotion(int px, int py, bool, Keys) {
    Highlight(ItemAt(px, py));
}

void PopupMenu::OnKey(Key key) {
    const int count = static_cast<int>(items.size());
    switch (key) {
        case Key::kEscape: Finish(0); break;
        case Key::kDown: Highlight((highlighted + 1) % count); break;
        case Key::kUp: Highlight(highlighted <= 0 ? count - 1 : highlighted - 1); break;
        case Key::kReturn:
            if (highlighted >= 0) Finish(items[static_cast<std::size_t>(highlighted)].id);
            break;
        default: break;
    }
}

void PopupMenu::Draw(cairo_t* cr) {
    SetColour(cr, kEdge);
    cairo_paint(cr);
    SetColour(cr, kFace);
    cairo_rectangle(cr, 1, 1, width - 2, height - 2);
    cairo_fill(cr);
    SelectFont(cr, kTextSize);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int top = kMenuPadding + static_cast<int>(i) * kItemHeight;
        if (static_cast<int>(i) == highlighted) {
            SetColour(cr, kHighlight);
            cairo_rectangle(cr, 2, top, width - 4, kItemHeight);
            cairo_fill(cr);
            cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
        } else {
            SetColour(cr, kText);
        }
        ShowText(cr, items[i].text, 24.0, top, kItemHeight);
    }
}

void BoxButton::Draw(cairo_t* cr) {
    SetColour(cr, kEdge);
    cairo_paint(cr);
    SetColour(cr, kFace);
    cairo_rectangle(cr, 1, 1, width - 2, height - 2);
    cairo_fill(cr);
    SelectFont(cr, kButtonTextSize);
    SetColour(cr, kText);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, caption.c_str(), &extents);
    ShowText(cr, caption, (width - extents.x_advance) / 2.0, 0.0, height);
}

void BoxButton::OnButtonPress(int button, int, int, Keys) {
    if (button == kLeft) box.Press(id);
}

void BoxButton::OnKey(Key key) {
    box.OnKey(key);
}

Box::Box(Connection& display, xcb_window_t centreOver, const char* caption, int w, int h,
         const Image* picture, std::string message, const std::vector<ButtonPlace>& places,
         unsigned defaultId, unsigned cancelId)
    : Widget(display),
      image(picture),
      text(std::move(message)),
      defaultButton(defaultId),
      cancel(cancelId) {
    int left = 0, top = 0;
    if (connection.RootPosition(centreOver, &left, &top)) {
        // Centred on the view, whose size the caller knows only roughly: the panel's.
        left += (512 - w) / 2;
        top += (224 - h) / 2;
    }
    CreateTopLevel(std::max(left, 0), std::max(top, 0), w, h, kClassName, false);
    SetName(caption);
    xcb_connection_t* c = connection.Get();
    const xcb_atom_t protocols = connection.Atom("WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = connection.Atom("WM_DELETE_WINDOW");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, protocols, XCB_ATOM_ATOM, 32, 1,
                        &deleteWindow);
    const xcb_atom_t dialogType = connection.Atom("_NET_WM_WINDOW_TYPE_DIALOG");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, connection.Atom("_NET_WM_WINDOW_TYPE"),
                        XCB_ATOM_ATOM, 32, 1, &dialogType);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_TRANSIENT_FOR,
                        XCB_ATOM_WINDOW, 32, 1, &centreOver);
    for (const ButtonPlace& place : places) {
        auto button = std::make_unique<BoxButton>(connection, *this, place.id, place.caption);
        button->CreateChild(window, place.x, place.y, place.w, place.h, BoxButton::kClassName);
        button->SetName(place.caption);
        buttons.push_back(std::move(button));
    }
    xcb_map_window(c, window);
    // Escape and Return reach the box; a window manager may move the focus on later.
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
}

void Box::Press(unsigned id) {
    if (done) return;
    if (id == staysOpen) {
        action = id;
        return;
    }
    done = true;
    result = id;
    xcb_unmap_window(connection.Get(), window);
}

void Box::OnKey(Key key) {
    if (key == Key::kEscape) Press(cancel);
    if (key == Key::kReturn) Press(defaultButton);
}

void Box::Draw(cairo_t* cr) {
    SetColour(cr, kFace);
    cairo_paint(cr);
    if (image != nullptr) image->DrawPart(cr, 0, 0, image->Width(), image->Height(), 0, 0);
    if (text.empty()) return;
    SelectFont(cr, kTextSize);
    SetColour(cr, kText);
    double top = 16.0;
    for (const std::string& line : Wrap(cr, text, width - 32.0)) {
        ShowText(cr, line, 16.0, top, 18.0);
        top += 18.0;
    }
}

}  // namespace LinuxToolkit
