// An object bound one-to-one to a Win32 window. All toolkit window classes share one window
// procedure, which turns messages into the virtual handlers below; a handler returns nonzero
// when it handled the message, otherwise DefaultHandler gets it. The window owns its object:
// WM_NCDESTROY deletes it.
//
// Threads: the user-interface thread that owns the windows, only.
#pragma once

#include "EditorCommon/Win32/Win32.h"

namespace WindowsToolkit {

class Window {
public:
    Window() = default;
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Never called by the toolkit.
    virtual int Initialize() { return 1; }
    // 0 refuses the creation.
    virtual int OnCreate(CREATESTRUCTA* create);
    virtual int OnSize(WPARAM type, unsigned width, unsigned height);
    virtual int OnMove(unsigned x, unsigned y);
    virtual int OnPaint();
    virtual int OnEraseBackground(WPARAM deviceContext);
    virtual int OnDrawItem(WPARAM wParam, LPARAM lParam);
    virtual int OnSetFocus(WPARAM previous);
    virtual int OnKillFocus(WPARAM next);
    virtual int OnShowWindow(WPARAM shown, LPARAM status);
    virtual int OnCommand(WPARAM wParam, LPARAM lParam);
    virtual int OnChar(WPARAM character, unsigned repeat, unsigned flags);
    virtual int OnKeyDown(WPARAM key, unsigned repeat, unsigned flags);
    virtual int OnKeyUp(WPARAM key, unsigned repeat, unsigned flags);
    virtual int OnLeftButtonDown(WPARAM keys, POINT point);
    virtual int OnLeftButtonUp(WPARAM keys, POINT point);
    virtual int OnRightButtonDown(WPARAM keys, POINT point);
    virtual int OnRightButtonUp(WPARAM keys, POINT point);
    virtual int OnMouseMove(WPARAM keys, POINT point);
    virtual int OnMouseHover(WPARAM keys, POINT point);
    virtual int OnMouseLeave();
    // delta is the raw high word; handlers read it as signed 16-bit.
    virtual int OnMouseWheel(unsigned keys, unsigned delta, POINT point);
    virtual int OnHScroll(unsigned request, unsigned position, LPARAM control);
    virtual int OnVScroll(unsigned request, unsigned position, LPARAM control);
    virtual int OnNotify(LPARAM header);
    virtual int OnClose();
    virtual int OnDestroy();
    virtual int OnNcDestroy();
    virtual LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

    HWND GetHwnd() const { return hwnd; }
    int GetX() const { return x; }
    int GetY() const { return y; }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }

    // Creates the window for this object: a visible child of parent at the given rectangle,
    // with the object as creation parameter. From then on the window owns the object. False
    // when no window came of it; the object is then gone too.
    bool CreateChild(const char* className, int left, int top, int w, int h, HWND parent,
                     HINSTANCE module);

    // The procedure every toolkit window class is registered with.
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

protected:
    HWND hwnd = nullptr;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

private:
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace WindowsToolkit
