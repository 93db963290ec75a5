#include "SynthToolkit/Gui/Knob.h"

#include <cmath>

#include "SynthToolkit/Gui/AppMessages.h"

namespace SynthToolkit {
namespace Gui {
namespace {
UINT pictureHeight(Gdiplus::GpBitmap* picture) {
    UINT height = 0;
    if (picture != nullptr) Gdip::GdipGetImageHeight(picture, &height);
    return height;
}
UINT pictureWidth(Gdiplus::GpBitmap* picture) {
    UINT width = 0;
    if (picture != nullptr) Gdip::GdipGetImageWidth(picture, &width);
    return width;
}
}  // namespace

Knob::Knob(HWND parentDialog, int id, Gdiplus::GpBitmap* picture, Gdiplus::GpBitmap* strip,
           int frames)
    : CustomControl(parentDialog, id, picture),
      filmstrip(strip),
      frameCount(frames),
      frameHeight(frames > 0 ? static_cast<int>(pictureHeight(strip)) / frames : 0) {
    InvalidateRect(hwnd, nullptr, FALSE);
}

void Knob::leftButtonDown(WPARAM keys, int, int y) {
    if ((keys & MK_CONTROL) != 0) post(WM_APP_RESET_VALUE);
    SetCapture(hwnd);
    dragging = true;
    lastY = y;
}

void Knob::leftButtonUp(WPARAM, int, int) {
    ReleaseCapture();
    dragging = false;
}

void Knob::mouseMove(WPARAM keys, int, int y) {
    if ((keys & MK_LBUTTON) == 0 || !dragging) {
        trackMouse();
        return;
    }
    float delta = static_cast<float>(lastY - y);  // upwards is positive
    if ((keys & MK_SHIFT) != 0) delta *= 0.1f;
    knobPosition += delta;
    if (knobPosition < 0.0f) knobPosition = 0.0f;
    if (knobPosition > 100.0f) knobPosition = 100.0f;
    // Every move while dragging reports, also when held at a limit.
    post(WM_APP_VALUE_CHANGED, static_cast<LPARAM>(floatBits(knobPosition * 0.01f)));
    InvalidateRect(hwnd, nullptr, FALSE);
    lastY = y;
}

void Knob::setValue(float value) {
    knobPosition = value * 100.0f;
    InvalidateRect(hwnd, nullptr, FALSE);
}

int Knob::frame() const {
    if (frameCount <= 0) return 0;
    const double scaled = std::floor(static_cast<double>(knobPosition) * 0.01 * frameCount);
    // The top value shows the last frame, not one past it; nothing shows outside the strip.
    if (!(scaled > 0.0)) return 0;
    return scaled >= frameCount ? frameCount - 1 : static_cast<int>(scaled);
}

void Knob::drawForeground(Gdiplus::GpGraphics* graphics) {
    if (filmstrip == nullptr || frameHeight <= 0) return;
    Gdip::GdipDrawImagePointRectI(graphics, filmstrip, 0, 0, 0, frame() * frameHeight,
                                  static_cast<INT>(pictureWidth(filmstrip)), frameHeight,
                                  Gdiplus::UnitPixel);
}

}  // namespace Gui
}  // namespace SynthToolkit
