// The x86 build's editor: a fixed 513 x 221 panel built from dialog 101 and three PNG pictures,
// which the editor owns for the plug-in's lifetime.
#pragma once

#include <memory>

#include "SynthToolkit/Gui/PngResource.h"
#include "SynthToolkit/Vst/Editor.h"

namespace QuellinCorvaneX86 {

class QuellinCorvaneEditor : public SynthToolkit::Vst::GdiplusEditor {
public:
    QuellinCorvaneEditor(HINSTANCE instance, AudioEffect* effect, SynthToolkit::Model* model);
    ~QuellinCorvaneEditor() override;

    bool getRect(ERect** rect) override;

protected:
    std::unique_ptr<SynthToolkit::Gui::View> createView(HINSTANCE instance, HWND parentWindow,
                                                        SynthToolkit::Model* model) override;

private:
    ERect rect = {0, 0, 221, 513};
    std::unique_ptr<SynthToolkit::Gui::PngPicture> background;
    std::unique_ptr<SynthToolkit::Gui::PngPicture> knob;
    std::unique_ptr<SynthToolkit::Gui::PngPicture> thumb;
};

}  // namespace QuellinCorvaneX86
