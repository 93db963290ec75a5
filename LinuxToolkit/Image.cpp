#include "LinuxToolkit/Image.h"

#include <cstdint>
#include <cstring>

namespace LinuxToolkit {
namespace {

struct ByteSource {
    const unsigned char* bytes;
    std::size_t size;
    std::size_t at;
};

cairo_status_t ReadBytes(void* closure, unsigned char* data, unsigned int length) {
    auto* source = static_cast<ByteSource*>(closure);
    if (source->size - source->at < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, source->bytes + source->at, length);
    source->at += length;
    return CAIRO_STATUS_SUCCESS;
}

std::uint32_t Little(const unsigned char* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
    return value;
}

}  // namespace

Image::~Image() {
    Reset(nullptr);
}

void Image::Reset(cairo_surface_t* replacement) {
    if (surface != nullptr) cairo_surface_destroy(surface);
    surface = replacement;
}

bool Image::LoadPng(const unsigned char* bytes, std::size_t size) {
    ByteSource source{bytes, size, 0};
    cairo_surface_t* decoded = cairo_image_surface_create_from_png_stream(ReadBytes, &source);
    if (cairo_surface_status(decoded) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(decoded);
        return false;
    }
    Reset(decoded);
    return true;
}

bool Image::LoadBmp(const unsigned char* bytes, std::size_t size) {
    // BITMAPFILEHEADER (14 bytes), then a BITMAPINFOHEADER or a later version of it.
    if (size < 54 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const std::uint32_t offset = Little(bytes + 10, 4);
    const auto w = static_cast<std::int32_t>(Little(bytes + 18, 4));
    const auto h = static_cast<std::int32_t>(Little(bytes + 22, 4));
    const std::uint32_t bits = Little(bytes + 28, 2);
    const std::uint32_t compression = Little(bytes + 30, 4);
    // 3 (bit fields) with the usual BGRA masks reads the same as 0 for 32-bit pictures.
    if (w <= 0 || h == 0 || (bits != 24 && bits != 32) || (compression != 0 && compression != 3))
        return false;
    const int rows = h < 0 ? -h : h;
    const std::size_t stride = ((static_cast<std::size_t>(w) * bits / 8) + 3) & ~std::size_t{3};
    if (offset > size || (size - offset) / stride < static_cast<std::size_t>(rows)) return false;
    cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, rows);
    if (cairo_surface_status(picture) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(picture);
        return false;
    }
    cairo_surface_flush(picture);
    unsigned char* pixels = cairo_image_surface_get_data(picture);
    const int pitch = cairo_image_surface_get_stride(picture);
    for (int row = 0; row < rows; ++row) {
        // Positive heights are stored bottom-up.
        const int from = h > 0 ? rows - 1 - row : row;
        const unsigned char* in = bytes + offset + stride * static_cast<std::size_t>(from);
        auto* out = reinterpret_cast<std::uint32_t*>(pixels + pitch * row);
        for (int col = 0; col < w; ++col) {
            const unsigned char* p = in + col * static_cast<int>(bits / 8);
            out[col] = (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
        }
    }
    cairo_surface_mark_dirty(picture);
    Reset(picture);
    return true;
}

int Image::Width() const {
    return surface != nullptr ? cairo_image_surface_get_width(surface) : 0;
}

int Image::Height() const {
    return surface != nullptr ? cairo_image_surface_get_height(surface) : 0;
}

void Image::DrawPart(cairo_t* cr, int sx, int sy, int w, int h, int dx, int dy) const {
    if (surface == nullptr) return;
    cairo_save(cr);
    cairo_rectangle(cr, dx, dy, w, h);
    cairo_clip(cr);
    cairo_set_source_surface(cr, surface, dx - sx, dy - sy);
    cairo_paint(cr);
    cairo_restore(cr);
}

int ImageStrip::FrameWidth() const {
    if (frameCount == 0) return 0;
    return vertical ? image->Width() : image->Width() / static_cast<int>(frameCount);
}

int ImageStrip::FrameHeight() const {
    if (frameCount == 0) return 0;
    return vertical ? image->Height() / static_cast<int>(frameCount) : image->Height();
}

void ImageStrip::DrawFrame(cairo_t* cr, int index) const {
    const int w = FrameWidth();
    const int h = FrameHeight();
    image->DrawPart(cr, vertical ? 0 : index * w, vertical ? index * h : 0, w, h, 0, 0);
}

}  // namespace LinuxToolkit
