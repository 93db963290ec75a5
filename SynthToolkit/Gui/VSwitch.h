// A vertical multi-position switch set by clicking. Position 0 is at the top and stands for
// the value 1.0; the bottom stands for 0.0. A click reports the click height as 1 - f, and
// the view's parameter then picks the position; there is no drag and no capture.
#pragma once

#include "SynthToolkit/Gui/CustomControl.h"

namespace SynthToolkit {
namespace Gui {

class VSwitch : public CustomControl {
public:
    VSwitch(HWND parentDialog, int id, int positions, Gdiplus::GpBitmap* background,
            Gdiplus::GpBitmap* thumb);

    void sizeChanged(WPARAM type, int width, int height) override;
    void leftButtonDown(WPARAM keys, int x, int y) override;
    void mouseMove(WPARAM keys, int x, int y) override;
    void setValue(float value) override;
    void drawForeground(Gdiplus::GpGraphics* graphics) override;

    int thumbTop() const { return top; }
    float value() const { return switchValue; }

private:
    // The thumb's top for the fraction f of the height, measured from the top.
    int thumbTopFor(float f) const;
    void invalidateThumb(int thumbTop);

    Gdiplus::GpBitmap* thumb;  // the editor's; not owned
    int thumbWidth = 0;
    int thumbHeight = 0;
    int top = 0;
    int positions;
    float switchValue = 1.0f;
};

}  // namespace Gui
}  // namespace SynthToolkit
