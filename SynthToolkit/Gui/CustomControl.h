// An owner-drawn child window of the editor dialog, driven by an object. The dialog creates
// the window from its template; the object attaches to it through GWLP_USERDATA, paints into
// an off-screen bitmap over the matching piece of the background picture (so the control
// looks transparent) and reports user actions by posting application messages to the dialog.
//
// Threads: the user-interface thread that owns the dialog.
#pragma once

#include "SynthToolkit/Gui/Win32.h"

namespace SynthToolkit {
namespace Gui {

class CustomControl {
public:
    // The control window must already exist as item id of parentDialog.
    CustomControl(HWND parentDialog, int id, Gdiplus::GpBitmap* background);
    virtual ~CustomControl();
    CustomControl(const CustomControl&) = delete;
    CustomControl& operator=(const CustomControl&) = delete;

    virtual void paint(HDC dc);
    virtual void sizeChanged(WPARAM, int, int) {}
    virtual void leftButtonDown(WPARAM, int, int) {}
    virtual void leftButtonUp(WPARAM, int, int) {}
    virtual void rightButtonDown(WPARAM, int, int) {}
    virtual void rightButtonUp(WPARAM, int, int) {}
    virtual void mouseMove(WPARAM, int, int) {}
    virtual void mouseHover(WPARAM keys, int x, int y);
    virtual void mouseLeave();
    virtual void mouseWheel(WPARAM, int, int, int) {}
    virtual void setValue(float) {}
    virtual void drawForeground(Gdiplus::GpGraphics*) {}

    HWND window() const { return hwnd; }
    int id() const { return itemId; }

    // The procedure of every control class.
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

protected:
    void post(UINT message, LPARAM lParam = 0);
    void trackMouse() { TrackMouseEvent(&tracking); }
    int clientHeight() const { return clientRect.bottom - clientRect.top; }

    HWND parent;
    HWND hwnd;
    RECT clientRect{};
    int itemId;
    TRACKMOUSEEVENT tracking{};
    Gdiplus::GpBitmap* background;  // the editor's; not owned
};

// Registers className with the controls' window procedure, once per module.
void registerControlClass(HINSTANCE instance, const char* className);

}  // namespace Gui
}  // namespace SynthToolkit
