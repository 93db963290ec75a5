#include "WindowsToolkit/ResourceImage.h"

#include <cstring>

namespace WindowsToolkit {

bool ResourceImage::Load(int id, HINSTANCE module) {
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), "PNG");
    if (resource == nullptr) return false;
    const DWORD size = SizeofResource(module, resource);
    if (size == 0) return false;
    HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return false;

    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr) return false;
    void* copy = GlobalLock(block);
    if (copy == nullptr) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(copy, bytes, size);
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(block, FALSE, &stream) != S_OK || stream == nullptr) {
        GlobalUnlock(block);
        GlobalFree(block);
        return false;
    }
    Gdiplus::GpBitmap* decoded = nullptr;
    const Gdiplus::GpStatus status = Gdip::GdipCreateBitmapFromStream(stream, &decoded);
    stream->Release();
    if (status != Gdiplus::Ok || decoded == nullptr) {
        if (decoded != nullptr) Gdip::GdipDisposeImage(decoded);
        GlobalUnlock(block);
        GlobalFree(block);
        return false;
    }
    Release();
    memory = block;
    bitmap = decoded;
    return true;
}

void ResourceImage::Release() {
    if (bitmap != nullptr) {
        Gdip::GdipDisposeImage(bitmap);
        bitmap = nullptr;
    }
    if (memory != nullptr) {
        GlobalUnlock(memory);
        GlobalFree(memory);
        memory = nullptr;
    }
}

unsigned ResourceImage::Width() const {
    UINT value = 0;
    if (bitmap != nullptr) Gdip::GdipGetImageWidth(bitmap, &value);
    return value;
}

unsigned ResourceImage::Height() const {
    UINT value = 0;
    if (bitmap != nullptr) Gdip::GdipGetImageHeight(bitmap, &value);
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
