#include "WindowsToolkit/Multiswitch.h"

namespace WindowsToolkit {

namespace {
constexpr int kControlRow = 117;
}

Multiswitch::Multiswitch(const ResourceImage* viewBackground, int parameter, float resetValue,
                         const ImageStrip* frames)
    : GraphicsParameterControl(viewBackground, parameter, resetValue, frames) {
    const unsigned count = strip->FrameCount();
    if (count == 0) return;
    const LONG w = static_cast<LONG>(strip->FrameWidth());
    const LONG h = static_cast<LONG>(strip->FrameHeight());
    positionRects.resize(count);
    for (unsigned i = 0; i < count; ++i) {
        RECT& r = positionRects[i];
        if (strip->IsVertical()) {
            // Rows left over by the division, at the top, belong to no position.
            const LONG slice = h / static_cast<LONG>(count);
            const LONG leftover = h - slice * static_cast<LONG>(count);
            r = {0, leftover + slice * static_cast<LONG>(count - 1 - i), w, 0};
            r.bottom = r.top + slice;
        } else {
            const LONG slice = w / static_cast<LONG>(count);
            r = {slice * static_cast<LONG>(i), 0, slice * static_cast<LONG>(i + 1), h};
        }
    }
}

Multiswitch* Multiswitch::Create(const ResourceImage* viewBackground, int parameter,
                                 float resetValue, float initialValue, const ImageStrip* frames,
                                 int x, HWND parent, HINSTANCE module) {
    const int w = static_cast<int>(frames->FrameWidth());
    const int h = static_cast<int>(frames->FrameHeight());
    auto* control = new Multiswitch(viewBackground, parameter, resetValue, frames);
    if (!control->CreateChild(kClassName, x, kControlRow, w, h, parent, module)) return nullptr;
    control->SetValue(initialValue, false);
    return control;
}

float Multiswitch::GetValue() {
    const unsigned count = strip->FrameCount();
    if (count < 2) return 0.0f;
    return static_cast<float>(selected) / static_cast<float>(count - 1);
}

void Multiswitch::SetValue(float value, bool notify) {
    const unsigned count = strip->FrameCount();
    if (count == 0) return;
    const float scaled = value / (1.0f / static_cast<float>(count));
    // Values a conforming host never sends still pick a position that exists.
    int n = scaled > 0.0f ? (scaled < static_cast<float>(count) ? static_cast<int>(scaled)
                                                                : static_cast<int>(count))
                          : 0;
    if (n == static_cast<int>(count)) n = static_cast<int>(count) - 1;
    if (n == selected) return;
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
    if ((keys & MK_CONTROL) != 0)
        ResetToDefault();
    else
        SelectAt(point);
    SetCapture(hwnd);
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
    if (static_cast<short>(delta) >= 1) {
        if (selected + 1 >= static_cast<int>(strip->FrameCount())) return 1;
        Select(selected + 1);
    } else {
        if (selected == 0) return 1;
        Select(selected - 1);
    }
    return 1;
}

}  // namespace WindowsToolkit
