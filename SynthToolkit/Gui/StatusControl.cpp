#include "SynthToolkit/Gui/StatusControl.h"

#include <cstdio>

#include "SynthToolkit/Model.h"

namespace SynthToolkit {
namespace Gui {

StatusControl::StatusControl(HWND parentDialog, int id, Gdiplus::GpBitmap* picture, Model* observed,
                             int height, const char* face, COLORREF colour)
    : CustomControl(parentDialog, id, picture),
      model(observed),
      fontHeight(height),
      fontFace(face),
      textColour(colour) {
    model->addObserver(this);
    InvalidateRect(hwnd, nullptr, FALSE);
}

StatusControl::~StatusControl() {
    model->removeObserver(this);
}

void StatusControl::show(int index) {
    std::snprintf(shown, sizeof(shown), "%s: %s %s", model->parameterLongName(index),
                  model->parameterDisplayText(index), model->parameterLabel(index));
    InvalidateRect(hwnd, nullptr, FALSE);
}

void StatusControl::clear() {
    shown[0] = '\0';
    InvalidateRect(hwnd, nullptr, FALSE);
}

void StatusControl::drawForeground(Gdiplus::GpGraphics* graphics) {
    // Made and dropped on every paint, so no GDI object outlives a paint.
    HFONT font = CreateFontA(fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, FF_SWISS,
                             fontFace);
    HDC dc = nullptr;
    if (Gdip::GdipGetDC(graphics, &dc) == Gdiplus::Ok && dc != nullptr) {
        HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
        RECT area;
        GetClientRect(hwnd, &area);
        area.bottom -= 1;
        SetTextColor(dc, textColour);
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, shown, -1, &area, DT_SINGLELINE | DT_BOTTOM);
        if (previous != nullptr) SelectObject(dc, previous);
        Gdip::GdipReleaseDC(graphics, dc);
    }
    if (font != nullptr) DeleteObject(font);
}

}  // namespace Gui
}  // namespace SynthToolkit
