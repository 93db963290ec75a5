// A switch with one frame per position, set by clicking or dragging over the positions' slices
// or by the wheel. In a vertical strip position 0 is the bottom slice.
#pragma once

#include <vector>

#include "WindowsToolkit/ParameterControl.h"

namespace WindowsToolkit {

class Multiswitch : public GraphicsParameterControl {
public:
    static constexpr const char* kClassName = "QuellinWindowsToolkitMultiswitch";

    // The switch's window at x in the control row, one frame in size; null if it cannot be made.
    static Multiswitch* Create(const ResourceImage* viewBackground, int parameter, float resetValue,
                               float initialValue, const ImageStrip* frames, int x, HWND parent,
                               HINSTANCE module);

    float GetValue() override;
    void SetValue(float value, bool notify) override;
    int GetFrame() override { return selected; }
    void SetFrame(int index, bool notify) override;
    int GetMaximumFrame() override { return static_cast<int>(strip->FrameCount()) - 1; }
    void Draw(Gdiplus::GpGraphics* graphics) override { strip->DrawFrame(graphics, selected); }

    int OnLeftButtonDown(WPARAM keys, POINT point) override;
    int OnMouseMove(WPARAM keys, POINT point) override;
    int OnMouseWheel(unsigned keys, unsigned delta, POINT point) override;

    const std::vector<RECT>& PositionRects() const { return positionRects; }

private:
    Multiswitch(const ResourceImage* viewBackground, int parameter, float resetValue,
                const ImageStrip* frames);

    void SelectAt(POINT point);
    void Select(int position);

    std::vector<RECT> positionRects;
    int selected = 0;
};

}  // namespace WindowsToolkit
