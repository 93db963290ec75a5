#include "WindowsToolkit/StatusControl.h"

#include <cstring>

#include "EditorCommon/PanelLayout.h"
#include "EditorCommon/Win32/StatusText.h"
#include "WindowsToolkit/Composition.h"

namespace WindowsToolkit {

int GraphicsControl::OnPaint() {
    PaintOverBackground(hwnd, background, [this](Gdiplus::GpGraphics* g) { Draw(g); });
    return 1;
}

StatusControl::StatusControl(const ResourceImage* image) : GraphicsControl(image) {
    font = EditorCommon::Win32::CreateStatusFont(fontHeight, fontFace);
}

StatusControl::~StatusControl() {
    if (font != nullptr) DeleteObject(font);
}

StatusControl* StatusControl::Create(const ResourceImage* viewBackground, HWND parent,
                                     HINSTANCE module) {
    auto* control = new StatusControl(viewBackground);
    const EditorCommon::Rect& area = EditorCommon::kStatusLine;
    if (!control->CreateChild(kClassName, area.left, area.top, area.Width(), area.Height(), parent,
                              module))
        return nullptr;
    return control;
}

void StatusControl::SetText(const char* newText) {
    // Zero-padded like strncpy, but always terminated.
    std::memset(text, 0, sizeof(text));
    if (newText != nullptr) std::strncpy(text, newText, sizeof(text) - 1);
    if (hwnd != nullptr) InvalidateRect(hwnd, nullptr, TRUE);
}

void StatusControl::Draw(Gdiplus::GpGraphics* graphics) {
    EditorCommon::Win32::DrawStatusText(graphics, hwnd, font, textColour, text);
}

}  // namespace WindowsToolkit
