// The x86 build's panel: dialog 101 with two switches, three knobs and the status line bound to
// the effect's parameters, and the About box over the logo.
#pragma once

#include <memory>

#include "SynthToolkit/Gui/Knob.h"
#include "SynthToolkit/Gui/StatusControl.h"
#include "SynthToolkit/Gui/VSwitch.h"
#include "SynthToolkit/Gui/View.h"

namespace QuellinCorvaneX86 {

class QuellinCorvaneView : public SynthToolkit::Gui::GdiplusView {
public:
    QuellinCorvaneView(HINSTANCE instance, HWND parentWindow, SynthToolkit::Model* model,
                       Gdiplus::GpBitmap* background, Gdiplus::GpBitmap* thumb,
                       Gdiplus::GpBitmap* knob);
    ~QuellinCorvaneView() override;

    HWND window() override { return dialog; }
    INT_PTR leftButtonDown(WPARAM keys, int x, int y) override;
    void controlHover(int id) override;
    void controlLeave(int id) override;

    SynthToolkit::Gui::StatusControl* statusLine() const { return status.get(); }

private:
    HWND dialog = nullptr;
    std::unique_ptr<SynthToolkit::Gui::VSwitch> outputSwitch;
    std::unique_ptr<SynthToolkit::Gui::VSwitch> slopeSwitch;
    std::unique_ptr<SynthToolkit::Gui::Knob> cutoffKnob;
    std::unique_ptr<SynthToolkit::Gui::Knob> spreadKnob;
    std::unique_ptr<SynthToolkit::Gui::Knob> bassAmpKnob;
    std::unique_ptr<SynthToolkit::Gui::StatusControl> status;
};

}  // namespace QuellinCorvaneX86
