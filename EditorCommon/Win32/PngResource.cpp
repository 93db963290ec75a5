#include "EditorCommon/Win32/PngResource.h"

#include <cstring>

namespace EditorCommon::Win32 {

bool PngResource::Load(HINSTANCE module, const char* name, const char* type) {
    HRSRC resource = FindResourceA(module, name, type);
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

void PngResource::Release() {
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

}  // namespace EditorCommon::Win32
