// How both builds' status lines draw their text: one line, at the bottom of the control.
#pragma once

#include "EditorCommon/Win32/Win32.h"

namespace EditorCommon::Win32 {

// The status line's font: normal weight, ANSI, antialiased, proportional; null on failure.
HFONT CreateStatusFont(int height, const char* face);

// Draws text over what graphics already holds, in font (the device context's when null) and
// colour, onto window's client area less its bottom row of pixels.
void DrawStatusText(Gdiplus::GpGraphics* graphics, HWND window, HFONT font, COLORREF colour,
                    const char* text);

}  // namespace EditorCommon::Win32
