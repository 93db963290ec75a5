// A filmstrip knob turned by vertical dragging: one percent of the range per pixel, a tenth
// with Shift. Ctrl+click asks the view to reset the parameter and still starts a drag.
#pragma once

#include "SynthToolkit/Gui/CustomControl.h"

namespace SynthToolkit {
namespace Gui {

class Knob : public CustomControl {
public:
    Knob(HWND parentDialog, int id, Gdiplus::GpBitmap* background, Gdiplus::GpBitmap* filmstrip,
         int frameCount);

    void leftButtonDown(WPARAM keys, int x, int y) override;
    void leftButtonUp(WPARAM keys, int x, int y) override;
    void mouseMove(WPARAM keys, int x, int y) override;
    void setValue(float value) override;
    void drawForeground(Gdiplus::GpGraphics* graphics) override;

    float position() const { return knobPosition; }
    // The filmstrip frame that the current position shows.
    int frame() const;

private:
    Gdiplus::GpBitmap* filmstrip;  // the editor's; not owned
    int frameCount;
    int frameHeight;
    int lastY = 0;
    float knobPosition = 0.0f;  // 0..100
    bool dragging = false;
};

}  // namespace Gui
}  // namespace SynthToolkit
