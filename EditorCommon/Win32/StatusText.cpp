#include "EditorCommon/Win32/StatusText.h"

namespace EditorCommon::Win32 {

HFONT CreateStatusFont(int height, const char* face) {
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                       FF_SWISS | DEFAULT_PITCH, face);
}

void DrawStatusText(Gdiplus::GpGraphics* graphics, HWND window, HFONT font, COLORREF colour,
                    const char* text) {
    HDC dc = nullptr;
    if (Gdip::GdipGetDC(graphics, &dc) != Gdiplus::Ok || dc == nullptr) return;
    HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
    RECT area;
    GetClientRect(window, &area);
    area.bottom -= 1;
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, -1, &area, DT_SINGLELINE | DT_BOTTOM);
    if (previous != nullptr) SelectObject(dc, previous);
    Gdip::GdipReleaseDC(graphics, dc);
}

}  // namespace EditorCommon::Win32
