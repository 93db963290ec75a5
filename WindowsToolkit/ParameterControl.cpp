#include "WindowsToolkit/ParameterControl.h"

#include "EditorCommon/PanelLayout.h"
#include "WindowsToolkit/Composition.h"
#include "WindowsToolkit/RegisteredMessages.h"

namespace WindowsToolkit {
namespace {
constexpr DWORD kHoverMilliseconds = 50;
}

int ParameterControl::OnCreate(CREATESTRUCTA*) {
    trackMouse.cbSize = sizeof(trackMouse);
    trackMouse.dwFlags = TME_HOVER | TME_LEAVE;
    trackMouse.hwndTrack = hwnd;
    trackMouse.dwHoverTime = kHoverMilliseconds;
    return 1;
}

void ParameterControl::Post(UINT message) {
    PostMessageA(GetParent(hwnd), message,
                 static_cast<WPARAM>(static_cast<INT_PTR>(parameterIndex)),
                 reinterpret_cast<LPARAM>(this));
}

void ParameterControl::PostValueChanged() {
    Post(Messages().valueChanged);
}

void ParameterControl::BeginDrag() {
    if (!HasCapture()) Post(Messages().gestureBegan);
    SetCapture(hwnd);
}

int ParameterControl::OnLeftButtonUp(WPARAM, POINT) {
    if (HasCapture()) Post(Messages().gestureEnded);
    ReleaseCapture();
    return 1;
}

int ParameterControl::OnRightButtonDown(WPARAM, POINT) {
    Post(Messages().rightClicked);
    return 1;
}

int ParameterControl::OnMouseHover(WPARAM, POINT) {
    previousFocus = SetFocus(hwnd);
    Post(Messages().hover);
    mouseOutside = false;
    return 1;
}

int ParameterControl::OnMouseLeave() {
    Post(Messages().leave);
    if (previousFocus != nullptr) {
        SetFocus(previousFocus);
        previousFocus = nullptr;
    }
    mouseOutside = true;
    return 1;
}

bool GraphicsParameterControl::Place(GraphicsParameterControl* control, const char* className,
                                     int x, float initialValue, HWND parent, HINSTANCE module) {
    const int w = static_cast<int>(control->strip->FrameWidth());
    const int h = static_cast<int>(control->strip->FrameHeight());
    if (!control->CreateChild(className, x, EditorCommon::kControlRow, w, h, parent, module))
        return false;
    control->SetValue(initialValue, false);
    return true;
}

int GraphicsParameterControl::OnPaint() {
    PaintOverBackground(hwnd, background, [this](Gdiplus::GpGraphics* g) { Draw(g); });
    return 1;
}

}  // namespace WindowsToolkit
