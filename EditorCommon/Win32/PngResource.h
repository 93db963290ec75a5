// A PNG picture stored as a resource of the DLL, decoded by GDI+. GDI+ reads the picture through
// a stream over a global-memory copy of the resource, so the copy stays allocated and locked
// while the bitmap lives.
#pragma once

#include "EditorCommon/Win32/Win32.h"

namespace EditorCommon::Win32 {

class PngResource {
public:
    PngResource() = default;
    ~PngResource() { Release(); }
    PngResource(const PngResource&) = delete;
    PngResource& operator=(const PngResource&) = delete;

    // Decodes resource name of the given type in module; on failure it keeps what it held.
    bool Load(HINSTANCE module, const char* name, const char* type);
    void Release();

    Gdiplus::GpBitmap* Bitmap() const { return bitmap; }

private:
    HGLOBAL memory = nullptr;
    Gdiplus::GpBitmap* bitmap = nullptr;
};

}  // namespace EditorCommon::Win32
