// The Windows and GDI+ headers as the dialog GUI uses them: no min/max macros, and the flat
// GDI+ API under a short name.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// GDI+ needs the full Windows headers first.
#include <gdiplus.h>

namespace Gdip = Gdiplus::DllExports;

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
