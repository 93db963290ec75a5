#include "effect/x86/QuellinCorvaneEditor.h"

#include "SynthToolkit/Gui/CustomControl.h"
#include "effect/x86/QuellinCorvaneView.h"

namespace QuellinCorvaneX86 {

QuellinCorvaneEditor::QuellinCorvaneEditor(HINSTANCE moduleInstance, AudioEffect* plugin,
                                           SynthToolkit::Model* state)
    : GdiplusEditor(moduleInstance, plugin, state) {
    using SynthToolkit::Gui::loadPngResource;
    background = loadPngResource(instance, "Background", "PNG");
    knob = loadPngResource(instance, "Knob", "PNG");
    thumb = loadPngResource(instance, "SwitchThumb", "PNG");
    for (const char* name : {"VSwitch", "Knob", "StatusControl"})
        SynthToolkit::Gui::registerControlClass(instance, name);
}

QuellinCorvaneEditor::~QuellinCorvaneEditor() {
    // The view's controls draw from the pictures: it goes first.
    close();
}

bool QuellinCorvaneEditor::getRect(ERect** rectangle) {
    if (rectangle == nullptr) return false;
    *rectangle = &rect;
    return true;
}

std::unique_ptr<SynthToolkit::Gui::View> QuellinCorvaneEditor::createView(
    HINSTANCE moduleInstance, HWND parentWindow, SynthToolkit::Model* state) {
    auto bitmap = [](const std::unique_ptr<SynthToolkit::Gui::PngPicture>& picture) {
        return picture != nullptr ? picture->bitmap() : nullptr;
    };
    auto view = std::make_unique<QuellinCorvaneView>(
        moduleInstance, parentWindow, state, bitmap(background), bitmap(thumb), bitmap(knob));
    if (view->window() == nullptr) return nullptr;
    return view;
}

}  // namespace QuellinCorvaneX86
