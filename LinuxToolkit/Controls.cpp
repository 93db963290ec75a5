#include "LinuxToolkit/Controls.h"

namespace LinuxToolkit {

namespace KnobMath = EditorCommon::KnobMath;
namespace SwitchMath = EditorCommon::SwitchMath;

void ParameterControl::Draw(cairo_t* cr) {
    if (background != nullptr) background->DrawPart(cr, x, y, width, height, 0, 0);
    strip->DrawFrame(cr, GetFrame());
}

void ParameterControl::OnButtonPress(int button, int px, int py, Keys keys) {
    switch (button) {
        case kLeft:
            if (!inGesture) {
                inGesture = true;
                listener.OnControlGestureBegan(*this);
            }
            OnLeftDown(px, py, keys);
            break;
        case kRight: listener.OnControlRightClicked(*this); break;
        case kWheelUp:
        case kWheelDown:
            if (!mouseOutside) OnWheel(button == kWheelUp, keys);
            break;
        default: break;
    }
}

void ParameterControl::OnButtonRelease(int button, int, int) {
    if (button != kLeft) return;
    OnLeftUp();
    if (!inGesture) return;
    inGesture = false;
    listener.OnControlGestureEnded(*this);
}

void ParameterControl::OnMotion(int px, int py, bool leftDown, Keys keys) {
    if (hoverPending) {
        hoverPending = false;
        listener.OnControlHover(*this);
    }
    OnPointerMove(px, py, leftDown, keys);
}

void ParameterControl::OnEnter() {
    mouseOutside = false;
    hoverPending = true;
}

void ParameterControl::OnLeave() {
    mouseOutside = true;
    hoverPending = false;
    listener.OnControlLeave(*this);
}

void Knob::SetValue(float value, bool notify) {
    position = KnobMath::PositionOf(value);
    if (strip->FrameCount() != 0) frame = KnobMath::FrameOf(strip->FrameCount(), position);
    Invalidate();
    if (notify) listener.OnControlValueChanged(*this);
}

void Knob::Step(float delta) {
    position = KnobMath::Step(position, delta);
    if (strip->FrameCount() != 0) frame = KnobMath::FrameOf(strip->FrameCount(), position);
    Changed();  // every step, even when clamped in place
}

void Knob::OnLeftDown(int, int py, Keys keys) {
    if (keys.control) ResetToDefault();
    // The server keeps sending this window the pointer's moves until the button is up.
    dragging = true;
    lastY = py;
}

void Knob::OnPointerMove(int, int py, bool leftDown, Keys keys) {
    if (!dragging || !leftDown) return;
    Step(KnobMath::DragDelta(lastY, py, keys));
    lastY = py;
}

void Knob::OnWheel(bool up, Keys keys) {
    Step(KnobMath::WheelStep(up, keys));
}

Multiswitch::Multiswitch(Connection& display, ControlListener& owner, const Image* viewBackground,
                         const ImageStrip* frames, int parameter, float resetValue)
    : ParameterControl(display, owner, viewBackground, frames, parameter, resetValue),
      slices(SwitchMath::Slices(frames->FrameWidth(), frames->FrameHeight(), frames->FrameCount(),
                                frames->IsVertical())) {}

float Multiswitch::GetValue() const {
    return SwitchMath::ValueOf(selected, strip->FrameCount());
}

void Multiswitch::SetValue(float value, bool notify) {
    const int n = SwitchMath::PositionOf(value, strip->FrameCount());
    if (n < 0 || n == selected) return;
    selected = n;
    Invalidate();
    if (notify) listener.OnControlValueChanged(*this);
}

void Multiswitch::Select(int position) {
    if (position < 0 || position == selected) return;
    selected = position;
    Changed();
}

void Multiswitch::OnLeftDown(int px, int py, Keys keys) {
    if (keys.control)
        ResetToDefault();
    else
        Select(SwitchMath::PositionAt(slices, px, py));
    dragging = true;
}

void Multiswitch::OnPointerMove(int px, int py, bool leftDown, Keys) {
    if (dragging && leftDown) Select(SwitchMath::PositionAt(slices, px, py));
}

void Multiswitch::OnWheel(bool up, Keys) {
    Select(SwitchMath::WheelTarget(selected, strip->FrameCount(), up));
}

void StatusLine::SetText(const char* newText) {
    text = newText != nullptr ? newText : "";
    if (text.size() > 511) text.resize(511);
    SetName(text);
    Invalidate();  // the same text again still repaints
}

void StatusLine::Draw(cairo_t* cr) {
    if (background != nullptr) background->DrawPart(cr, x, y, width, height, 0, 0);
    // A 15-pixel cell, bottom-aligned one pixel above the edge, in white.
    SelectFont(cr, 13.0);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_move_to(cr, 0.0, height - 1 - font.descent);
    cairo_show_text(cr, text.c_str());
}

}  // namespace LinuxToolkit
