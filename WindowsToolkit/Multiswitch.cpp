#include "WindowsToolkit/Multiswitch.h"

#include "EditorCommon/ControlMath.h"

namespace WindowsToolkit {

namespace {
namespace SwitchMath = EditorCommon::SwitchMath;
}  // namespace

Multiswitch::Multiswitch(const ResourceImage* viewBackground, int parameter, float resetValue,
                         const ImageStrip* frames)
    : GraphicsParameterControl(viewBackground, parameter, resetValue, frames) {
    const auto slices = SwitchMath::Slices(static_cast<int>(strip->FrameWidth()),
                                           static_cast<int>(strip->FrameHeight()),
                                           strip->FrameCount(), strip->IsVertical());
    for (const EditorCommon::Rect& slice : slices)
        positionRects.push_back({slice.left, slice.top, slice.right, slice.bottom});
}

Multiswitch* Multiswitch::Create(const ResourceImage* viewBackground, int parameter,
                                 float resetValue, float initialValue, const ImageStrip* frames,
                                 int x, HWND parent, HINSTANCE module) {
    auto* control = new Multiswitch(viewBackground, parameter, resetValue, frames);
    return Place(control, kClassName, x, initialValue, parent, module) ? control : nullptr;
}

float Multiswitch::GetValue() {
    return SwitchMath::ValueOf(selected, strip->FrameCount());
}

void Multiswitch::SetValue(float value, bool notify) {
    const int n = SwitchMath::PositionOf(value, strip->FrameCount());
    if (n < 0 || n == selected) return;
    selected = n;
    Repaint();
    if (notify) PostValueChanged();
}

void Multiswitch::SetFrame(int index, bool notify) {
    selected = index;
    Repaint();
    if (notify) PostValueChanged();
}

void Multiswitch::Select(int position) {
    if (position == selected) return;
    selected = position;
    PostValueChanged();
    Repaint();
}

void Multiswitch::SelectAt(POINT point) {
    for (std::size_t i = 0; i < positionRects.size(); ++i) {
        if (PtInRect(&positionRects[i], point)) {
            Select(static_cast<int>(i));
            return;
        }
    }
}

int Multiswitch::OnLeftButtonDown(WPARAM keys, POINT point) {
    BeginDrag();
    if ((keys & MK_CONTROL) != 0)
        ResetToDefault();
    else
        SelectAt(point);
    return 1;
}

int Multiswitch::OnMouseMove(WPARAM keys, POINT point) {
    if ((keys & MK_LBUTTON) != 0 && HasCapture()) {
        SelectAt(point);
        return 1;
    }
    TrackMouse();
    return 1;
}

int Multiswitch::OnMouseWheel(unsigned, unsigned delta, POINT) {
    if (mouseOutside) return 0;
    Select(SwitchMath::WheelTarget(selected, strip->FrameCount(), static_cast<short>(delta) >= 1));
    return 1;
}

}  // namespace WindowsToolkit
