#include "WindowsToolkit/Knob.h"

namespace WindowsToolkit {

namespace {
constexpr int kControlRow = 117;
}

Knob* Knob::Create(const ResourceImage* viewBackground, int parameter, float resetValue,
                   float initialValue, const ImageStrip* frames, int x, HWND parent,
                   HINSTANCE module) {
    const int w = static_cast<int>(frames->FrameWidth());
    const int h = static_cast<int>(frames->FrameHeight());
    auto* knob = new Knob(viewBackground, parameter, resetValue, frames);
    if (!knob->CreateChild(kClassName, x, kControlRow, w, h, parent, module)) return nullptr;
    knob->SetValue(initialValue, false);
    return knob;
}

void Knob::UpdateFrame() {
    if (strip->FrameCount() == 0) return;
    frame = static_cast<int>(static_cast<float>(strip->FrameCount() - 1) * (position * 0.01f));
}

void Knob::SetValue(float value, bool notify) {
    position = value * 100.0f;
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
    position = position + delta;
    if (!(position >= 0.0f))
        position = 0.0f;
    else if (position > 100.0f)
        position = 100.0f;
    UpdateFrame();
    PostValueChanged();  // every step, even when clamped in place
    Repaint();
}

int Knob::OnLeftButtonDown(WPARAM keys, POINT point) {
    if ((keys & MK_CONTROL) != 0) ResetToDefault();
    SetCapture(hwnd);
    lastY = point.y;
    return 1;
}

int Knob::OnMouseMove(WPARAM keys, POINT point) {
    if ((keys & MK_LBUTTON) != 0 && HasCapture()) {
        float delta = static_cast<float>(lastY - point.y);  // upwards increases
        if ((keys & MK_SHIFT) != 0) delta *= 0.1f;
        Step(delta);
        lastY = point.y;
        return 1;
    }
    TrackMouse();
    return 1;
}

int Knob::OnMouseWheel(unsigned keys, unsigned delta, POINT) {
    if (mouseOutside) return 0;
    float step = static_cast<short>(delta) >= 1 ? 1.0f : -1.0f;
    if ((keys & MK_SHIFT) != 0) step *= 0.1f;
    Step(step);
    return 1;
}

}  // namespace WindowsToolkit
