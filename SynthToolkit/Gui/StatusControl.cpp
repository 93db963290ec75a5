#include "SynthToolkit/Gui/StatusControl.h"

#include <cstdio>

#include "EditorCommon/Win32/StatusText.h"
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
    HFONT font = EditorCommon::Win32::CreateStatusFont(fontHeight, fontFace);
    EditorCommon::Win32::DrawStatusText(graphics, hwnd, font, textColour, shown);
    if (font != nullptr) DeleteObject(font);
}

}  // namespace Gui
}  // namespace SynthToolkit
