#include "SynthToolkit/Gui/VSwitch.h"

#include <cmath>

#include "SynthToolkit/Gui/AppMessages.h"

namespace SynthToolkit {
namespace Gui {

VSwitch::VSwitch(HWND parentDialog, int id, int count, Gdiplus::GpBitmap* picture,
                 Gdiplus::GpBitmap* thumbPicture)
    : CustomControl(parentDialog, id, picture), thumb(thumbPicture), positions(count) {
    if (thumb != nullptr) {
        UINT w = 0, h = 0;
        Gdip::GdipGetImageWidth(thumb, &w);
        Gdip::GdipGetImageHeight(thumb, &h);
        thumbWidth = static_cast<int>(w);
        thumbHeight = static_cast<int>(h);
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

int VSwitch::thumbTopFor(float f) const {
    if (positions <= 0) return 0;
    const double scaled = std::floor(static_cast<double>(positions) * f);
    int k = !(scaled > 0.0) ? 0 : (scaled >= positions ? positions - 1 : static_cast<int>(scaled));
    return (clientHeight() / positions) * k;
}

void VSwitch::invalidateThumb(int thumbTop) {
    RECT band = {clientRect.left, thumbTop, clientRect.right, thumbTop + thumbHeight};
    InvalidateRect(hwnd, &band, FALSE);
}

void VSwitch::sizeChanged(WPARAM, int, int) {
    GetClientRect(hwnd, &clientRect);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void VSwitch::leftButtonDown(WPARAM keys, int, int y) {
    if ((keys & MK_CONTROL) != 0) {
        post(WM_APP_RESET_VALUE);
        return;
    }
    const int height = clientHeight();
    if (y < 0 || y > height || height <= 0) return;
    const float f = static_cast<float>(y) / static_cast<float>(height);
    const int newTop = thumbTopFor(f);
    if (newTop == top) return;
    const int oldTop = top;
    top = newTop;
    switchValue = 1.0f - f;
    post(WM_APP_VALUE_CHANGED, static_cast<LPARAM>(floatBits(switchValue)));
    invalidateThumb(oldTop);
    invalidateThumb(top);
}

void VSwitch::mouseMove(WPARAM, int, int) {
    trackMouse();
}

void VSwitch::setValue(float newValue) {
    switchValue = newValue;
    const int newTop = thumbTopFor(1.0f - newValue);
    if (newTop == top) return;
    const int oldTop = top;
    top = newTop;
    invalidateThumb(oldTop);
    invalidateThumb(top);
}

void VSwitch::drawForeground(Gdiplus::GpGraphics* graphics) {
    if (thumb != nullptr) drawUnscaled(graphics, thumb, 0, top);
}

}  // namespace Gui
}  // namespace SynthToolkit
