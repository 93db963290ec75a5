#include "WindowsToolkit/Window.h"

#include "vst/platform/Trace.h"

namespace WindowsToolkit {
namespace {

constexpr const char* kObjectProperty = "object";

// Set when OnCreate refused and the procedure deleted the object, so CreateChild knows whether
// the object still exists after a failed CreateWindowExA.
thread_local bool refusedDuringCreation = false;

POINT pointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

int Window::OnCreate(CREATESTRUCTA*) {
    return 1;
}
int Window::OnSize(WPARAM, unsigned, unsigned) {
    return 0;
}
int Window::OnMove(unsigned, unsigned) {
    return 0;
}
int Window::OnPaint() {
    return 0;
}
int Window::OnEraseBackground(WPARAM) {
    return 0;
}
int Window::OnDrawItem(WPARAM, LPARAM) {
    return 0;
}
int Window::OnSetFocus(WPARAM) {
    return 0;
}
int Window::OnKillFocus(WPARAM) {
    return 0;
}
int Window::OnShowWindow(WPARAM, LPARAM) {
    return 0;
}
int Window::OnCommand(WPARAM, LPARAM) {
    return 0;
}
int Window::OnChar(WPARAM, unsigned, unsigned) {
    return 0;
}
int Window::OnKeyDown(WPARAM, unsigned, unsigned) {
    return 0;
}
int Window::OnKeyUp(WPARAM, unsigned, unsigned) {
    return 0;
}
int Window::OnLeftButtonDown(WPARAM, POINT) {
    return 0;
}
int Window::OnLeftButtonUp(WPARAM, POINT) {
    return 0;
}
int Window::OnRightButtonDown(WPARAM, POINT) {
    return 0;
}
int Window::OnRightButtonUp(WPARAM, POINT) {
    return 0;
}
int Window::OnMouseMove(WPARAM, POINT) {
    return 0;
}
int Window::OnMouseHover(WPARAM, POINT) {
    return 0;
}
int Window::OnMouseLeave() {
    return 0;
}
int Window::OnMouseWheel(unsigned, unsigned, POINT) {
    return 0;
}
int Window::OnHScroll(unsigned, unsigned, LPARAM) {
    return 0;
}
int Window::OnVScroll(unsigned, unsigned, LPARAM) {
    return 0;
}
int Window::OnNotify(LPARAM) {
    return 0;
}
int Window::OnClose() {
    return 0;
}
int Window::OnDestroy() {
    return 0;
}
int Window::OnNcDestroy() {
    return 0;
}

LRESULT Window::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool Window::CreateChild(const char* className, int left, int top, int w, int h, HWND parent,
                         HINSTANCE module) {
    x = left;
    y = top;
    width = w;
    height = h;
    refusedDuringCreation = false;
    if (CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, left, top, w, h, parent, nullptr,
                        module, this) != nullptr)
        return true;
    if (!refusedDuringCreation) delete this;
    refusedDuringCreation = false;
    return false;
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    int handled = 0;
    switch (message) {
        case WM_CREATE: handled = OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam)); break;
        case WM_SIZE: handled = OnSize(wParam, LOWORD(lParam), HIWORD(lParam)); break;
        case WM_MOVE: handled = OnMove(LOWORD(lParam), HIWORD(lParam)); break;
        case WM_PAINT: handled = OnPaint(); break;
        case WM_ERASEBKGND: handled = OnEraseBackground(wParam); break;
        case WM_DRAWITEM: handled = OnDrawItem(wParam, lParam); break;
        case WM_SETFOCUS: handled = OnSetFocus(wParam); break;
        case WM_KILLFOCUS: handled = OnKillFocus(wParam); break;
        case WM_SHOWWINDOW: handled = OnShowWindow(wParam, lParam); break;
        case WM_COMMAND: handled = OnCommand(wParam, lParam); break;
        case WM_CHAR: handled = OnChar(wParam, LOWORD(lParam), HIWORD(lParam)); break;
        case WM_KEYDOWN: handled = OnKeyDown(wParam, LOWORD(lParam), HIWORD(lParam)); break;
        case WM_KEYUP: handled = OnKeyUp(wParam, LOWORD(lParam), HIWORD(lParam)); break;
        case WM_LBUTTONDOWN: handled = OnLeftButtonDown(wParam, pointOf(lParam)); break;
        case WM_LBUTTONUP: handled = OnLeftButtonUp(wParam, pointOf(lParam)); break;
        case WM_RBUTTONDOWN: handled = OnRightButtonDown(wParam, pointOf(lParam)); break;
        case WM_RBUTTONUP: handled = OnRightButtonUp(wParam, pointOf(lParam)); break;
        case WM_MOUSEMOVE: handled = OnMouseMove(wParam, pointOf(lParam)); break;
        case WM_MOUSEHOVER: handled = OnMouseHover(wParam, pointOf(lParam)); break;
        case WM_MOUSELEAVE: handled = OnMouseLeave(); break;
        case WM_MOUSEWHEEL:
            handled = OnMouseWheel(LOWORD(wParam), HIWORD(wParam), pointOf(lParam));
            break;
        case WM_HSCROLL: handled = OnHScroll(LOWORD(wParam), HIWORD(wParam), lParam); break;
        case WM_VSCROLL: handled = OnVScroll(LOWORD(wParam), HIWORD(wParam), lParam); break;
        case WM_NOTIFY: handled = OnNotify(lParam); break;
        case WM_CLOSE: handled = OnClose(); break;
        case WM_DESTROY: handled = OnDestroy(); break;
        default: return DefaultHandler(message, wParam, lParam);
    }
    if (handled == 0) return DefaultHandler(message, wParam, lParam);
    const bool answersTrue =
        message == WM_ERASEBKGND || message == WM_DRAWITEM || message == WM_COMMAND;
    return answersTrue ? 1 : 0;
}

LRESULT CALLBACK Window::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) Platform::Trace("WM_INITDIALOG");
    auto* object = static_cast<Window*>(GetPropA(window, kObjectProperty));
    if (object == nullptr) {
        if (message != WM_CREATE) return DefWindowProcA(window, message, wParam, lParam);
        const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        object = create != nullptr ? static_cast<Window*>(create->lpCreateParams) : nullptr;
        if (object == nullptr) return 0;
        object->hwnd = window;
        if (object->OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam)) == 0) {
            object->hwnd = nullptr;
            delete object;
            refusedDuringCreation = true;
            return -1;
        }
        SetPropA(window, kObjectProperty, object);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        object->OnNcDestroy();
        object->hwnd = nullptr;
        RemovePropA(window, kObjectProperty);
        delete object;
        return 0;
    }
    return object->Dispatch(message, wParam, lParam);
}

}  // namespace WindowsToolkit
