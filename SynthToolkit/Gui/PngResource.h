// PNG pictures stored as resources of the DLL, decoded by GDI+. GDI+ reads a picture through a
// stream over a global-memory copy of the resource, so the copy lives as long as the picture.
#pragma once

#include <memory>

#include "EditorCommon/Win32/PngResource.h"

namespace SynthToolkit {
namespace Gui {

class PngPicture {
public:
    Gdiplus::GpBitmap* bitmap() const { return png.Bitmap(); }

private:
    friend std::unique_ptr<PngPicture> loadPngResource(HINSTANCE, const char*, const char*);

    EditorCommon::Win32::PngResource png;
};

// The named resource decoded, or null when it is missing or cannot be decoded.
std::unique_ptr<PngPicture> loadPngResource(HINSTANCE instance, const char* name, const char* type);

}  // namespace Gui
}  // namespace SynthToolkit
