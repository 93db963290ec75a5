// Flicker-free painting of a control: an off-screen ARGB bitmap receives the piece of the view's
// background under the control, then the control's own drawing, and goes to the screen in one
// piece. Transparent pixels of the control so show the background.
#pragma once

#include "WindowsToolkit/ResourceImage.h"

namespace WindowsToolkit {

template <typename Draw>
void PaintOverBackground(HWND window, const ResourceImage* background, Draw draw) {
    RECT client;
    GetClientRect(window, &client);
    Gdiplus::GpBitmap* offscreen = nullptr;
    Gdip::GdipCreateBitmapFromScan0(client.right, client.bottom, 0, PixelFormat32bppARGB, nullptr,
                                    &offscreen);
    Gdiplus::GpGraphics* composed = nullptr;
    if (offscreen != nullptr) Gdip::GdipGetImageGraphicsContext(offscreen, &composed);

    RECT onScreen;
    GetWindowRect(window, &onScreen);
    POINT corner = {onScreen.left, onScreen.top};
    ScreenToClient(GetParent(window), &corner);
    if (composed != nullptr && background != nullptr && background->Bitmap() != nullptr)
        Gdip::GdipDrawImagePointRectI(composed, background->Bitmap(), 0, 0, corner.x, corner.y,
                                      client.right, client.bottom, Gdiplus::UnitPixel);
    if (composed != nullptr) draw(composed);

    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    Gdiplus::GpGraphics* screen = nullptr;
    Gdip::GdipCreateFromHDC(dc, &screen);
    if (screen != nullptr && offscreen != nullptr)
        Gdip::GdipDrawImageRectI(screen, offscreen, 0, 0, client.right, client.bottom);
    EndPaint(window, &paint);
    if (screen != nullptr) Gdip::GdipDeleteGraphics(screen);
    if (composed != nullptr) Gdip::GdipDeleteGraphics(composed);
    if (offscreen != nullptr) Gdip::GdipDisposeImage(offscreen);
}

}  // namespace WindowsToolkit
