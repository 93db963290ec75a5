// A PNG resource of the DLL decoded by GDI+, by its numeric id. An empty image draws nothing and
// is 0 x 0.
#pragma once

#include "EditorCommon/Win32/PngResource.h"

namespace WindowsToolkit {

class ResourceImage {
public:
    // Loads the "PNG" resource id of module; on failure the image keeps what it held.
    bool Load(int id, HINSTANCE module) { return png.Load(module, MAKEINTRESOURCEA(id), "PNG"); }
    void Release() { png.Release(); }

    Gdiplus::GpBitmap* Bitmap() const { return png.Bitmap(); }
    unsigned Width() const;
    unsigned Height() const;

private:
    EditorCommon::Win32::PngResource png;
};

// Equal frames of one control stacked in one image, top to bottom or left to right.
class ImageStrip {
public:
    ImageStrip(const ResourceImage* source, unsigned frames, bool stackedVertically)
        : image(source), frameCount(frames), vertical(stackedVertically) {}

    unsigned FrameCount() const { return frameCount; }
    bool IsVertical() const { return vertical; }
    unsigned FrameWidth() const;
    unsigned FrameHeight() const;
    // Draws frame index at (0, 0).
    void DrawFrame(Gdiplus::GpGraphics* graphics, int index) const;

private:
    const ResourceImage* image;  // not owned
    unsigned frameCount;
    bool vertical;
};

}  // namespace WindowsToolkit
