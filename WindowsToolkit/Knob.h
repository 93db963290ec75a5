// A rotary control drawn from a strip of frames: dragging vertically turns it by one percent
// per pixel (a tenth with Shift), the wheel by one percent per message, Ctrl+click resets it.
#pragma once

#include "WindowsToolkit/ParameterControl.h"

namespace WindowsToolkit {

class Knob : public GraphicsParameterControl {
public:
    static constexpr const char* kClassName = "QuellinWindowsToolkitKnob";

    // The knob's window at x in the control row, one frame in size; null when it cannot be made.
    static Knob* Create(const ResourceImage* viewBackground, int parameter, float resetValue,
                        float initialValue, const ImageStrip* frames, int x, HWND parent,
                        HINSTANCE module);

    float GetValue() override { return position * 0.01f; }
    void SetValue(float value, bool notify) override;
    int GetFrame() override { return frame; }
    void SetFrame(int index, bool notify) override;
    int GetMaximumFrame() override { return static_cast<int>(strip->FrameCount()) - 1; }
    void Draw(Gdiplus::GpGraphics* graphics) override { strip->DrawFrame(graphics, frame); }

    int OnLeftButtonDown(WPARAM keys, POINT point) override;
    int OnMouseMove(WPARAM keys, POINT point) override;
    int OnMouseWheel(unsigned keys, unsigned delta, POINT point) override;

    float GetPosition() const { return position; }

private:
    using GraphicsParameterControl::GraphicsParameterControl;

    // Moves by delta percent, clamped to 0..100, and reports it.
    void Step(float delta);
    void UpdateFrame();

    float position = 0.0f;  // 0..100
    int lastY = 0;
    int frame = 0;
};

}  // namespace WindowsToolkit
