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
    : Editor(moduleInstance, plugin, state) {
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    if (Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr) != Gdiplus::Ok) gdiplusToken = 0;
}

GdiplusEditor::~GdiplusEditor() {
    // The view (and the pictures a subclass owns) go before GDI+ does.
    close();
    if (gdiplusToken != 0) Gdiplus::GdiplusShutdown(gdiplusToken);
}

}  // namespace Vst
}  // namespace SynthToolkit
