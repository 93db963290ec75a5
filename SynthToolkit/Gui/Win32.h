// The Windows and GDI+ headers both builds' editors use, and the dialog GUI's own drawing
// helper.
#pragma once

#include "EditorCommon/Win32/Win32.h"

namespace SynthToolkit {
namespace Gui {

// Draws a whole picture at (x, y) pixel for pixel, whatever resolution the file records.
inline void drawUnscaled(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, int x, int y) {
    UINT width = 0, height = 0;
    Gdip::GdipGetImageWidth(image, &width);
    Gdip::GdipGetImageHeight(image, &height);
    Gdip::GdipDrawImageRectI(graphics, image, x, y, static_cast<INT>(width),
                             static_cast<INT>(height));
}

}  // namespace Gui
}  // namespace SynthToolkit
