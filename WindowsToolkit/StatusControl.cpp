#include "WindowsToolkit/StatusControl.h"

#include <cstring>

#include "EditorCommon/PanelLayout.h"
#include "WindowsToolkit/Composition.h"

namespace WindowsToolkit {

int GraphicsControl::OnPaint() {
    PaintOverBackground(hwnd, background, [this](Gdiplus::GpGraphics* g) { Draw(g); });
    return 1;
}

StatusControl::StatusControl(const ResourceImage* image) : GraphicsControl(image) {
    font = CreateFontA(fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0,
                       ANTIALIASED_QUALITY, FF_SWISS | DEFAULT_PITCH, fontFace);
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
    HDC dc = nullptr;
    if (Gdip::GdipGetDC(graphics, &dc) != Gdiplus::Ok || dc == nullptr) return;
    HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
    RECT area;
    GetClientRect(hwnd, &area);
    area.bottom -= 1;
    SetTextColor(dc, textColour);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, -1, &area, DT_SINGLELINE | DT_BOTTOM);
    if (previous != nullptr) SelectObject(dc, previous);
    Gdip::GdipReleaseDC(graphics, dc);
}

}  // namespace WindowsToolkit
