// The value arithmetic of the editor's controls, the same on every platform: a knob keeps a
// position 0..100 and shows one frame of its strip; a switch selects one of its strip's frames,
// each owning a horizontal or vertical slice of the control. The window code only turns mouse
// and wheel input into these calls and repaints.
#pragma once

#include <vector>

namespace EditorCommon {

// Left and top inclusive, right and bottom exclusive.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool Empty() const { return right <= left || bottom <= top; }
    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
};

// Mouse and wheel modifiers that change a control's behaviour.
struct Keys {
    bool shift = false;    // fine steps
    bool control = false;  // reset to the default
};

// Knob: one pixel of vertical travel is one percent of the range, a tenth with Shift.
namespace KnobMath {
inline float PositionOf(float value) {
    return value * 100.0f;  // not clamped: values from the host are shown as they come
}
// Truncated in single precision, so 0.1 shows frame 8 of 91 (10 * 0.01 lies just below 0.1).
inline int FrameOf(unsigned frameCount, float position) {
    return static_cast<int>(static_cast<float>(frameCount - 1) * (position * 0.01f));
}
// A drag or wheel step; NaN and anything below 0 become 0.
inline float Step(float position, float delta) {
    position = position + delta;
    if (!(position >= 0.0f)) return 0.0f;
    return position > 100.0f ? 100.0f : position;
}
// Moving the mouse up increases the value.
inline float DragDelta(int lastY, int y, Keys keys) {
    float delta = static_cast<float>(lastY - y);
    if (keys.shift) delta *= 0.1f;
    return delta;
}
// One wheel notch is one step whatever its size.
inline float WheelStep(bool up, Keys keys) {
    const float step = up ? 1.0f : -1.0f;
    return keys.shift ? step * 0.1f : step;
}
}  // namespace KnobMath

// Switch: n positions over value 0..1; position 0 is the bottom (or left) slice.
namespace SwitchMath {
inline float ValueOf(int selected, unsigned count) {
    if (count < 2) return 0.0f;
    return static_cast<float>(selected) / static_cast<float>(count - 1);
}
// -1 when the switch has no positions; values a conforming host never sends still pick a
// position that exists.
inline int PositionOf(float value, unsigned count) {
    if (count == 0) return -1;
    const float scaled = value / (1.0f / static_cast<float>(count));
    int n = scaled > 0.0f ? (scaled < static_cast<float>(count) ? static_cast<int>(scaled)
                                                                : static_cast<int>(count))
                          : 0;
    if (n == static_cast<int>(count)) n = static_cast<int>(count) - 1;
    return n;
}
// Slices of a frame of width x height; rows (or columns) left over by the division belong to
// no position and sit at the top of a vertical switch.
inline std::vector<Rect> Slices(int width, int height, unsigned count, bool vertical) {
    std::vector<Rect> slices(count);
    if (count == 0) return slices;
    const int n = static_cast<int>(count);
    for (int i = 0; i < n; ++i) {
        if (vertical) {
            const int slice = height / n;
            const int top = height - slice * n + slice * (n - 1 - i);
            slices[static_cast<unsigned>(i)] = {0, top, width, top + slice};
        } else {
            const int slice = width / n;
            slices[static_cast<unsigned>(i)] = {slice * i, 0, slice * (i + 1), height};
        }
    }
    return slices;
}
// The first slice holding the point, or -1.
inline int PositionAt(const std::vector<Rect>& slices, int x, int y) {
    for (std::size_t i = 0; i < slices.size(); ++i)
        if (slices[i].Contains(x, y)) return static_cast<int>(i);
    return -1;
}
// The position one wheel notch selects; the same position at either end.
inline int WheelTarget(int selected, unsigned count, bool up) {
    if (up) return selected + 1 < static_cast<int>(count) ? selected + 1 : selected;
    return selected > 0 ? selected - 1 : selected;
}
}  // namespace SwitchMath

}  // namespace EditorCommon
