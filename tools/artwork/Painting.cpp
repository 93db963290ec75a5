#include "Painting.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "Artwork.h"

#ifndef QC_ARTWORK_FONT_DIR
#define QC_ARTWORK_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace artwork {

void setColour(cairo_t* cr, Rgb colour, double alpha) {
    cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, alpha);
}

void addGradientStop(cairo_pattern_t* pattern, double offset, Rgb colour, double alpha) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, colour.r, colour.g, colour.b, alpha);
}

void roundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius) {
    const double quarter = M_PI / 2.0;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + width - radius, y + radius, radius, -quarter, 0.0);
    cairo_arc(cr, x + width - radius, y + height - radius, radius, 0.0, quarter);
    cairo_arc(cr, x + radius, y + height - radius, radius, quarter, 2.0 * quarter);
    cairo_arc(cr, x + radius, y + radius, radius, 2.0 * quarter, 3.0 * quarter);
    cairo_close_path(cr);
}

namespace {

const char* const kFontFiles[] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf",
                                  "DejaVuSansCondensed.ttf", "DejaVuSansCondensed-Bold.ttf"};

const cairo_user_data_key_t kFaceKey = {};

void releaseFace(void* face) {
    FT_Done_Face(static_cast<FT_Face>(face));
}

// Splits UTF-8 text into its characters, each kept as its own UTF-8 string.
std::vector<std::string> characters(const std::string& utf8) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 1;
        if (lead >= 0xf0) {
            length = 4;
        } else if (lead >= 0xe0) {
            length = 3;
        } else if (lead >= 0xc0) {
            length = 2;
        }
        result.push_back(utf8.substr(i, length));
        i += length;
    }
    return result;
}

}  // namespace

Fonts::Fonts() {
    // One FreeType library for the whole process: faces cairo still caches refer to it, so
    // it must outlive every Fonts object.
    static FT_Library library = nullptr;
    if (library == nullptr && FT_Init_FreeType(&library) != 0) {
        library = nullptr;
        error_ = "cannot initialise FreeType";
        return;
    }
    for (int i = 0; i < kStyles; ++i) {
        const std::string path = std::string(QC_ARTWORK_FONT_DIR) + "/" + kFontFiles[i];
        FT_Face face = nullptr;
        if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
            error_ = "cannot load font " + path + " (Debian package fonts-dejavu-core)";
            return;
        }
        faces_[i] = cairo_ft_font_face_create_for_ft_face(face, 0);
        // cairo may keep the face in its caches after we let go of it, so the FreeType face
        // is released only when cairo drops its last reference.
        if (cairo_font_face_set_user_data(faces_[i], &kFaceKey, face, releaseFace) !=
            CAIRO_STATUS_SUCCESS) {
            FT_Done_Face(face);
            error_ = "cannot attach font face";
            return;
        }
    }
}

Fonts::~Fonts() {
    for (cairo_font_face_t* face : faces_) {
        if (face != nullptr) cairo_font_face_destroy(face);
    }
}

void Fonts::use(cairo_t* cr, FontStyle style, double size) const {
    cairo_set_font_face(cr, faces_[static_cast<int>(style)]);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

double textWidth(cairo_t* cr, const std::string& utf8, double tracking) {
    double width = 0.0;
    const std::vector<std::string> parts = characters(utf8);
    for (const std::string& part : parts) {
        cairo_text_extents_t extents;
        cairo_text_extents(cr, part.c_str(), &extents);
        width += extents.x_advance;
    }
    if (!parts.empty()) width += tracking * static_cast<double>(parts.size() - 1);
    return width;
}

void drawText(cairo_t* cr, const std::string& utf8, double x, double baseline, Align align,
              double tracking) {
    const double width = textWidth(cr, utf8, tracking);
    double left = x;
    if (align == Align::Centre) left = x - width / 2.0;
    if (align == Align::Right) left = x - width;
    // Whole-pixel origins keep the hinted glyphs sharp.
    left = std::round(left);
    baseline = std::round(baseline);
    if (tracking == 0.0) {
        cairo_move_to(cr, left, baseline);
        cairo_show_text(cr, utf8.c_str());
        return;
    }
    for (const std::string& part : characters(utf8)) {
        cairo_move_to(cr, left, baseline);
        cairo_show_text(cr, part.c_str());
        cairo_text_extents_t extents;
        cairo_text_extents(cr, part.c_str(), &extents);
        left += extents.x_advance + tracking;
    }
}

void addGrain(cairo_surface_t* surface, std::uint32_t seed, int amplitude) {
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    std::uint32_t state = seed == 0 ? 0x9e3779b9u : seed;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    const int span = 2 * amplitude + 1;
    for (int y = 0; y < height; ++y) {
        // A slight per-row offset on top of the per-pixel grain reads as a brushed finish.
        const int row = static_cast<int>(next() % 3u) - 1;
        auto* pixels = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = pixels[x];
            if ((pixel >> 24) != 0xffu) continue;  // keep translucent edges untouched
            const int delta =
                static_cast<int>(next() % static_cast<std::uint32_t>(span)) - amplitude + row;
            std::uint32_t result = 0xff000000u;
            for (int shift = 0; shift <= 16; shift += 8) {
                int channel = static_cast<int>((pixel >> shift) & 0xffu) + delta;
                channel = channel < 0 ? 0 : (channel > 255 ? 255 : channel);
                result |= static_cast<std::uint32_t>(channel) << shift;
            }
            pixels[x] = result;
        }
    }
    cairo_surface_mark_dirty(surface);
}

void drawSwitchSlot(cairo_t* cr, double x, double y) {
    using namespace layout;
    const double w = kSwitchWidth;
    const double h = kSwitchHeight;
    cairo_save(cr);
    cairo_translate(cr, x, y);

    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 0, h);
    addGradientStop(fill, 0.0, rgb(0x0c0d0f));
    addGradientStop(fill, 1.0, rgb(0x18191d));
    roundedRectangle(cr, 0, 0, w, h, 4);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);

    // Inner shadow along the top and a faint lit lip along the bottom: the slot reads as cut
    // into the panel with light from above.
    roundedRectangle(cr, 0.5, 0.5, w - 1, h - 1, 3.5);
    cairo_pattern_t* rim = cairo_pattern_create_linear(0, 0, 0, h);
    addGradientStop(rim, 0.0, rgb(0x000000), 0.9);
    addGradientStop(rim, 0.5, rgb(0x000000), 0.35);
    addGradientStop(rim, 1.0, rgb(0xffffff), 0.10);
    cairo_set_source(cr, rim);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_pattern_destroy(rim);

    // Centre channel the thumb rides in.
    roundedRectangle(cr, w / 2 - 2, 6, 4, h - 12, 2);
    setColour(cr, rgb(0x050506));
    cairo_fill(cr);

    // Detent marks at every position, so the unselected positions stay visible.
    setColour(cr, palette::kScale, 0.55);
    for (int position = 0; position < kSwitchPositions; ++position) {
        const double centre = thumbTop(position) + kThumbSize / 2.0;
        cairo_rectangle(cr, 3, centre - 0.5, 3, 1);
        cairo_rectangle(cr, w - 6, centre - 0.5, 3, 1);
    }
    cairo_fill(cr);
    cairo_restore(cr);
}

void drawSwitchThumb(cairo_t* cr, double x, double y) {
    const double size = layout::kThumbSize;
    cairo_save(cr);
    cairo_translate(cr, x, y);

    // Soft shadow below the cap.
    roundedRectangle(cr, 1, 2, size - 2, size - 2, 3.5);
    setColour(cr, rgb(0x000000), 0.55);
    cairo_fill(cr);

    cairo_pattern_t* body = cairo_pattern_create_linear(0, 1, 0, size - 1);
    addGradientStop(body, 0.0, rgb(0xa7abb3));
    addGradientStop(body, 0.45, rgb(0x7d8188));
    addGradientStop(body, 1.0, rgb(0x50535a));
    roundedRectangle(cr, 1, 1, size - 2, size - 3, 3);
    cairo_set_source(cr, body);
    cairo_fill(cr);
    cairo_pattern_destroy(body);

    // Bevel: bright top edge, dark bottom edge.
    roundedRectangle(cr, 1.5, 1.5, size - 3, size - 4, 2.5);
    cairo_pattern_t* bevel = cairo_pattern_create_linear(0, 1, 0, size - 2);
    addGradientStop(bevel, 0.0, rgb(0xffffff), 0.55);
    addGradientStop(bevel, 0.5, rgb(0xffffff), 0.05);
    addGradientStop(bevel, 1.0, rgb(0x000000), 0.45);
    cairo_set_source(cr, bevel);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_pattern_destroy(bevel);

    // Engraved grip lines above and below the lit centre line.
    for (double line : {5.0, 13.0}) {
        setColour(cr, rgb(0x2a2c30), 0.8);
        cairo_rectangle(cr, 5, line, size - 10, 1);
        cairo_fill(cr);
        setColour(cr, rgb(0xffffff), 0.25);
        cairo_rectangle(cr, 5, line + 1, size - 10, 1);
        cairo_fill(cr);
    }
    // The lit indicator marks exactly where the selected position is.
    roundedRectangle(cr, 3, 8, size - 6, 3, 1.5);
    setColour(cr, rgb(0x1a1208));
    cairo_fill(cr);
    roundedRectangle(cr, 4, 8.5, size - 8, 2, 1);
    setColour(cr, palette::kAccent);
    cairo_fill(cr);
    cairo_restore(cr);
}

void drawEmblem(cairo_t* cr, double centreX, double centreY, double radius) {
    cairo_save(cr);
    cairo_translate(cr, centreX, centreY);

    cairo_pattern_t* disc =
        cairo_pattern_create_radial(0, -radius * 0.4, radius * 0.1, 0, 0, radius);
    addGradientStop(disc, 0.0, rgb(0x2b2d33));
    addGradientStop(disc, 1.0, rgb(0x101114));
    cairo_arc(cr, 0, 0, radius, 0, 2 * M_PI);
    cairo_set_source(cr, disc);
    cairo_fill(cr);
    cairo_pattern_destroy(disc);

    cairo_pattern_t* ring = cairo_pattern_create_linear(0, -radius, 0, radius);
    addGradientStop(ring, 0.0, palette::kAccent);
    addGradientStop(ring, 1.0, palette::kAccentDeep);
    cairo_set_source(cr, ring);
    cairo_set_line_width(cr, radius * 0.12);
    cairo_arc(cr, 0, 0, radius * 0.92, 0, 2 * M_PI);
    cairo_stroke(cr);

    // One and a half periods of a wave whose swing dies away: a slow bass note ringing out.
    const double span = radius * 0.62;
    const int steps = 80;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double px = -span + 2 * span * t;
        const double py = -std::sin(t * 3.0 * M_PI) * radius * 0.46 * std::exp(-1.6 * t);
        if (i == 0) {
            cairo_move_to(cr, px, py);
        } else {
            cairo_line_to(cr, px, py);
        }
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, radius * 0.14);
    cairo_set_source(cr, ring);
    cairo_stroke(cr);
    cairo_pattern_destroy(ring);
    cairo_restore(cr);
}

bool writePng(cairo_surface_t* surface, const std::string& path, std::string& error) {
    // libpng rather than cairo's writer: cairo stores fully opaque images as RGB, and every
    // picture here must be RGBA so the editor can load them all the same way.
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4);
    std::size_t out = 0;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) {
            // cairo keeps colour premultiplied by alpha; PNG wants it straight.
            const std::uint32_t pixel = row[x];
            const std::uint32_t alpha = pixel >> 24;
            for (int shift = 16; shift >= 0; shift -= 8) {
                const std::uint32_t channel = (pixel >> shift) & 0xffu;
                rgba[out++] = static_cast<unsigned char>(
                    alpha == 0 ? 0 : (channel * 255u + alpha / 2u) / alpha);
            }
            rgba[out++] = static_cast<unsigned char>(alpha);
        }
    }

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    if (png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr) == 0) {
        error = "cannot write " + path + ": " + image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

namespace {

void put16(std::vector<unsigned char>& out, std::uint32_t value) {
    out.push_back(static_cast<unsigned char>(value & 0xffu));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xffu));
}

void put32(std::vector<unsigned char>& out, std::uint32_t value) {
    put16(out, value & 0xffffu);
    put16(out, value >> 16);
}

}  // namespace

bool writeBmp(cairo_surface_t* surface, const std::string& path, std::string& error) {
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const std::uint32_t fileHeader = 14;
    const std::uint32_t infoHeader = 40;
    const auto imageSize = static_cast<std::uint32_t>(width * height * 4);

    std::vector<unsigned char> out;
    out.reserve(fileHeader + infoHeader + imageSize);
    out.push_back('B');
    out.push_back('M');
    put32(out, fileHeader + infoHeader + imageSize);
    put32(out, 0);  // reserved
    put32(out, fileHeader + infoHeader);
    put32(out, infoHeader);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));  // positive: rows run bottom-up
    put16(out, 1);                                   // planes
    put16(out, 32);                                  // bits per pixel
    put32(out, 0);                                   // BI_RGB
    put32(out, imageSize);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, 0);  // colours used
    put32(out, 0);  // important colours
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) {
            // The picture is opaque, so premultiplied ARGB is plain ARGB; written as B, G, R
            // and a fully set fourth byte that readers of BI_RGB ignore.
            const std::uint32_t pixel = row[x];
            out.push_back(static_cast<unsigned char>(pixel & 0xffu));
            out.push_back(static_cast<unsigned char>((pixel >> 8) & 0xffu));
            out.push_back(static_cast<unsigned char>((pixel >> 16) & 0xffu));
            out.push_back(0xff);
        }
    }

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot open " + path;
        return false;
    }
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace artwork
