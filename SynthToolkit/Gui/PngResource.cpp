#include "SynthToolkit/Gui/PngResource.h"

#include <cstring>

namespace SynthToolkit {
namespace Gui {

PngPicture::~PngPicture() {
    Gdip::GdipDisposeImage(picture);
    GlobalUnlock(memory);
    GlobalFree(memory);
}

std::unique_ptr<PngPicture> loadPngResource(HINSTANCE instance, const char* name,
                                            const char* type) {
    HRSRC resource = FindResourceA(instance, name, type);
    if (resource == nullptr) return nullptr;
    const DWORD size = SizeofResource(instance, resource);
    if (size == 0) return nullptr;
    HGLOBAL loaded = LoadResource(instance, resource);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return nullptr;

    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr) return nullptr;
    void* copy = GlobalLock(block);
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (copy != nullptr) {
        std::memcpy(copy, bytes, size);
        IStream* stream = nullptr;
        if (CreateStreamOnHGlobal(block, FALSE, &stream) == S_OK && stream != nullptr) {
            if (Gdip::GdipCreateBitmapFromStream(stream, &bitmap) != Gdiplus::Ok &&
                bitmap != nullptr) {
                Gdip::GdipDisposeImage(bitmap);
                bitmap = nullptr;
            }
            stream->Release();
        }
    }
    if (bitmap == nullptr) {
        GlobalUnlock(block);
        GlobalFree(block);
        return nullptr;
    }
    return std::make_unique<PngPicture>(bitmap, block);
}

}  // namespace Gui
}  // namespace SynthToolkit
