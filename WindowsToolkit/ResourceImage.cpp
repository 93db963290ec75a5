#include "WindowsToolkit/ResourceImage.h"

namespace WindowsToolkit {

unsigned ResourceImage::Width() const {
    UINT value = 0;
    if (Bitmap() != nullptr) Gdip::GdipGetImageWidth(Bitmap(), &value);
    return value;
}

unsigned ResourceImage::Height() const {
    UINT value = 0;
    if (Bitmap() != nullptr) Gdip::GdipGetImageHeight(Bitmap(), &value);
    return value;
}

unsigned ImageStrip::FrameWidth() const {
    if (frameCount == 0 || image == nullptr) return 0;
    return vertical ? image->Width() : image->Width() / frameCount;
}

unsigned ImageStrip::FrameHeight() const {
    if (frameCount == 0 || image == nullptr) return 0;
    return vertical ? image->Height() / frameCount : image->Height();
}

void ImageStrip::DrawFrame(Gdiplus::GpGraphics* graphics, int index) const {
    if (image == nullptr || image->Bitmap() == nullptr) return;
    const int w = static_cast<int>(FrameWidth());
    const int h = static_cast<int>(FrameHeight());
    const int left = vertical ? 0 : index * w;
    const int top = vertical ? index * h : 0;
    Gdip::GdipDrawImagePointRectI(graphics, image->Bitmap(), 0, 0, left, top, w, h,
                                  Gdiplus::UnitPixel);
}

}  // namespace WindowsToolkit
