// A picture decoded from bytes built into the plug-in: PNG through cairo, or an uncompressed
// 24- or 32-bit BMP. An image that failed to decode is empty: 0 × 0, and draws nothing.
#pragma once

#include <cairo/cairo.h>

#include <cstddef>

namespace LinuxToolkit {

class Image {
public:
    Image() = default;
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    bool LoadPng(const unsigned char* bytes, std::size_t size);
    bool LoadBmp(const unsigned char* bytes, std::size_t size);

    cairo_surface_t* Surface() const { return surface; }
    int Width() const;
    int Height() const;
    // Paints the part (sx, sy, w, h) of the image at (dx, dy).
    void DrawPart(cairo_t* cr, int sx, int sy, int w, int h, int dx, int dy) const;

private:
    void Reset(cairo_surface_t* replacement);
    cairo_surface_t* surface = nullptr;
};

// Equal frames of a control stacked in one image, top to bottom or left to right.
class ImageStrip {
public:
    ImageStrip(const Image* picture, unsigned frames, bool stackedVertically)
        : image(picture), frameCount(frames), vertical(stackedVertically) {}

    unsigned FrameCount() const { return frameCount; }
    bool IsVertical() const { return vertical; }
    int FrameWidth() const;
    int FrameHeight() const;
    void DrawFrame(cairo_t* cr, int index) const;

private:
    const Image* image;  // not owned
    unsigned frameCount;
    bool vertical;
};

}  // namespace LinuxToolkit
