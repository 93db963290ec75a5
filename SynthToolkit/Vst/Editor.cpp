#include "SynthToolkit/Vst/Editor.h"

namespace SynthToolkit {
namespace Vst {

Editor::Editor(HINSTANCE moduleInstance, AudioEffect* plugin, Model* state)
    : AEffEditor(plugin), instance(moduleInstance), model(state) {}

Editor::~Editor() {
    close();
}

bool Editor::open(void* parentWindow) {
    if (openView != nullptr) close();
    systemWindow = parentWindow;
    openView = createView(instance, static_cast<HWND>(parentWindow), model);
    if (openView == nullptr) return false;
    openView->show();
    return true;
}

void Editor::close() {
    openView.reset();
    systemWindow = nullptr;
}

void Editor::idle() {
    if (openView != nullptr) openView->processPendingUpdates();
}

GdiplusEditor::GdiplusEditor(HINSTANCE moduleInstance, AudioEffect* plugin, Model* state)
    : Editor(moduleInstance, plugin, state) {}

GdiplusEditor::~GdiplusEditor() {
    // The view (and the pictures a subclass owns) go before GDI+ does.
    close();
}

}  // namespace Vst
}  // namespace SynthToolkit
