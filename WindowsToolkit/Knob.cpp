#include "WindowsToolkit/Knob.h"

#include "EditorCommon/ControlMath.h"

namespace WindowsToolkit {

namespace {
namespace KnobMath = EditorCommon::KnobMath;

EditorCommon::Keys KeysOf(WPARAM keys) {
    return {(keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0};
}
}  // namespace

Knob* Knob::Create(const ResourceImage* viewBackground, int parameter, float resetValue,
                   float initialValue, const ImageStrip* frames, int x, HWND parent,
                   HINSTANCE module) {
    auto* knob = new Knob(viewBackground, parameter, resetValue, frames);
    return Place(knob, kClassName, x, initialValue, parent, module) ? knob : nullptr;
}

void Knob::UpdateFrame() {
    if (strip->FrameCount() == 0) return;
    frame = KnobMath::FrameOf(strip->FrameCount(), position);
}

void Knob::SetValue(float value, bool notify) {
    position = KnobMath::PositionOf(value);
    UpdateFrame();
    Repaint();
    if (notify) PostValueChanged();
}

void Knob::SetFrame(int index, bool notify) {
    frame = index;
    Repaint();
    if (notify) PostValueChanged();
}

void Knob::Step(float delta) {
    position = KnobMath::Step(position, delta);
    UpdateFrame();
    PostValueChanged();  // every step, even when clamped in place
    Repaint();
}

int Knob::OnLeftButtonDown(WPARAM keys, POINT point) {
    BeginDrag();
    if ((keys & MK_CONTROL) != 0) ResetToDefault();
    lastY = point.y;
    return 1;
}

int Knob::OnMouseMove(WPARAM keys, POINT point) {
    if ((keys & MK_LBUTTON) != 0 && HasCapture()) {
        Step(KnobMath::DragDelta(lastY, point.y, KeysOf(keys)));
        lastY = point.y;
        return 1;
    }
    TrackMouse();
    return 1;
}

int Knob::OnMouseWheel(unsigned keys, unsigned delta, POINT) {
    if (mouseOutside) return 0;
    Step(KnobMath::WheelStep(static_cast<short>(delta) >= 1, KeysOf(keys)));
    return 1;
}

}  // namespace WindowsToolkit
