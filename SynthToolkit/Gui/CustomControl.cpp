#include "SynthToolkit/Gui/CustomControl.h"

#include "SynthToolkit/Gui/AppMessages.h"

namespace SynthToolkit {
namespace Gui {
namespace {
constexpr DWORD kHoverMilliseconds = 200;

CustomControl* attached(HWND window) {
    return reinterpret_cast<CustomControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}
}  // namespace

CustomControl::CustomControl(HWND parentDialog, int id, Gdiplus::GpBitmap* picture)
    : parent(parentDialog), hwnd(GetDlgItem(parentDialog, id)), itemId(id), background(picture) {
    tracking.cbSize = sizeof(tracking);
    tracking.dwFlags = TME_HOVER | TME_LEAVE;
    tracking.hwndTrack = hwnd;
    tracking.dwHoverTime = kHoverMilliseconds;
    if (hwnd == nullptr) return;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    GetClientRect(hwnd, &clientRect);
    TrackMouseEvent(&tracking);
}

CustomControl::~CustomControl() {
    // The window normally goes first, with its dialog; if not, it must not call back here.
    if (hwnd != nullptr && IsWindow(hwnd) && attached(hwnd) == this)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
}

void CustomControl::post(UINT message, LPARAM lParam) {
    PostMessageA(parent, message, static_cast<WPARAM>(itemId), lParam);
}

void CustomControl::mouseHover(WPARAM, int, int) {
    post(WM_APP_HOVER);
}
void CustomControl::mouseLeave() {
    post(WM_APP_LEAVE);
}

void CustomControl::paint(HDC dc) {
    GetClientRect(hwnd, &clientRect);
    const int w = clientRect.right - clientRect.left;
    const int h = clientRect.bottom - clientRect.top;
    Gdiplus::GpBitmap* offscreen = nullptr;
    Gdip::GdipCreateBitmapFromScan0(w, h, 0, PixelFormat32bppARGB, nullptr, &offscreen);
    if (offscreen == nullptr) return;
    Gdiplus::GpGraphics* composed = nullptr;
    Gdip::GdipGetImageGraphicsContext(offscreen, &composed);
    if (composed != nullptr) {
        RECT onScreen;
        GetWindowRect(hwnd, &onScreen);
        POINT corner = {onScreen.left, onScreen.top};
        ScreenToClient(parent, &corner);
        if (background != nullptr)
            Gdip::GdipDrawImagePointRectI(composed, background, 0, 0, corner.x, corner.y, w, h,
                                          Gdiplus::UnitPixel);
        drawForeground(composed);
        Gdiplus::GpGraphics* screen = nullptr;
        Gdip::GdipCreateFromHDC(dc, &screen);
        if (screen != nullptr) {
            drawUnscaled(screen, offscreen, 0, 0);
            Gdip::GdipDeleteGraphics(screen);
        }
        Gdip::GdipDeleteGraphics(composed);
    }
    Gdip::GdipDisposeImage(offscreen);
}

LRESULT CALLBACK CustomControl::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    CustomControl* control = attached(window);
    if (control == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (message) {
        case WM_SIZE: control->sizeChanged(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
        case WM_SETFOCUS: return 0;
        case WM_PAINT: {
            PAINTSTRUCT paintStruct;
            HDC dc = BeginPaint(window, &paintStruct);
            control->paint(dc);
            EndPaint(window, &paintStruct);
            return 0;
        }
        case WM_MOUSEMOVE: control->mouseMove(wParam, x, y); return 0;
        case WM_LBUTTONDOWN:
            SetFocus(window);
            control->leftButtonDown(wParam, x, y);
            return 0;
        case WM_LBUTTONUP: control->leftButtonUp(wParam, x, y); return 0;
        case WM_RBUTTONDOWN:
            SetFocus(window);
            control->rightButtonDown(wParam, x, y);
            return 0;
        case WM_RBUTTONUP: control->rightButtonUp(wParam, x, y); return 0;
        case WM_MOUSEWHEEL:
            control->mouseWheel(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), x, y);
            return 0;
        case WM_MOUSEHOVER: control->mouseHover(wParam, x, y); return 0;
        case WM_MOUSELEAVE: control->mouseLeave(); return 0;
        case WM_APP_SET_VALUE: control->setValue(floatFromBits(wParam)); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void registerControlClass(HINSTANCE instance, const char* className) {
    WNDCLASSA existing;
    if (GetClassInfoA(instance, className, &existing)) return;
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = CustomControl::windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
}

}  // namespace Gui
}  // namespace SynthToolkit
