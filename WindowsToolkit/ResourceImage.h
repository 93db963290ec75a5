// A PNG resource of the DLL decoded by GDI+. GDI+ reads the image through a stream over a
// global-memory copy of the resource, so the copy stays allocated and locked while the bitmap
// lives. An empty image draws nothing and is 0 x 0.
#pragma once

#include "WindowsToolkit/Win32.h"

namespace WindowsToolkit {

class ResourceImage {
public:
    ResourceImage() = default;
    ~ResourceImage() { Release(); }
    ResourceImage(const ResourceImage&) = delete;
    ResourceImage& operator=(const ResourceImage&) = delete;

    // Loads the "PNG" resource id of module; on failure the image keeps what it held.
    bool Load(int id, HINSTANCE module);
    void Release();

    Gdiplus::GpBitmap* Bitmap() const { return bitmap; }
    unsigned Width() const;
    unsigned Height() const;

private:
    HGLOBAL memory = nullptr;
    Gdiplus::GpBitmap* bitmap = nullptr;
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
