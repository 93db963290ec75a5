// PNG pictures stored as resources of the DLL, decoded by GDI+. GDI+ reads a picture through a
// stream over a global-memory copy of the resource, so the copy lives as long as the picture.
#pragma once

#include <memory>

#include "SynthToolkit/Gui/Win32.h"

namespace SynthToolkit {
namespace Gui {

class PngPicture {
public:
    PngPicture(Gdiplus::GpBitmap* decoded, HGLOBAL copy) : picture(decoded), memory(copy) {}
    ~PngPicture();
    PngPicture(const PngPicture&) = delete;
    PngPicture& operator=(const PngPicture&) = delete;

    Gdiplus::GpBitmap* bitmap() const { return picture; }

private:
    Gdiplus::GpBitmap* picture;
    HGLOBAL memory;
};

// The named resource decoded, or null when it is missing or cannot be decoded.
std::unique_ptr<PngPicture> loadPngResource(HINSTANCE instance, const char* name, const char* type);

}  // namespace Gui
}  // namespace SynthToolkit
