// Drawing helpers and the pieces several pictures share (palette, fonts, text, the switch and
// the logo emblem), so that the panel, the strips and the About picture look like one set.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

namespace artwork {

struct Rgb {
    double r, g, b;
};

constexpr Rgb rgb(std::uint32_t hex) {
    return {((hex >> 16) & 0xff) / 255.0, ((hex >> 8) & 0xff) / 255.0, (hex & 0xff) / 255.0};
}

namespace palette {
constexpr Rgb kPanelTop = rgb(0x2c2f34);
constexpr Rgb kPanelBottom = rgb(0x1c1e22);
constexpr Rgb kRecess = rgb(0x141518);
constexpr Rgb kCaption = rgb(0xd9dbe0);
constexpr Rgb kScale = rgb(0xa4a9b2);
constexpr Rgb kAccent = rgb(0xf0a43a);
constexpr Rgb kAccentDeep = rgb(0xc8702a);
constexpr Rgb kPointer = rgb(0xf6f3ec);
}  // namespace palette

void setColour(cairo_t* cr, Rgb colour, double alpha = 1.0);
void addGradientStop(cairo_pattern_t* pattern, double offset, Rgb colour, double alpha = 1.0);
void roundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius);

enum class FontStyle { Regular, Bold, Condensed, CondensedBold };
enum class Align { Left, Centre, Right };

// Loads the DejaVu faces straight from their files rather than through fontconfig, so local
// font configuration cannot change which face or rendering options the pictures get.
class Fonts {
public:
    Fonts();
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    // Selects a face and size on cr with fixed antialiasing and hinting.
    void use(cairo_t* cr, FontStyle style, double size) const;

private:
    static constexpr int kStyles = 4;
    cairo_font_face_t* faces_[kStyles] = {};
    std::string error_;
};

// Width of text in the current font, including the extra tracking between characters.
double textWidth(cairo_t* cr, const std::string& utf8, double tracking = 0.0);
// Draws text on a baseline; tracking adds space between characters (in pixels).
void drawText(cairo_t* cr, const std::string& utf8, double x, double baseline, Align align,
              double tracking = 0.0);

// Adds a faint, seeded grain to an image surface so large flat areas do not look synthetic.
void addGrain(cairo_surface_t* surface, std::uint32_t seed, int amplitude);

// The switch's recessed slot (kSwitchWidth x kSwitchHeight) with its top-left corner at x, y.
void drawSwitchSlot(cairo_t* cr, double x, double y);
// The switch thumb (kThumbSize square) with its top-left corner at x, y.
void drawSwitchThumb(cairo_t* cr, double x, double y);
// The round product mark: a ring holding a slow, decaying wave.
void drawEmblem(cairo_t* cr, double centreX, double centreY, double radius);

bool writePng(cairo_surface_t* surface, const std::string& path, std::string& error);
// Writes a 32-bit BI_RGB bitmap (bottom-up rows) from an ARGB32 surface.
bool writeBmp(cairo_surface_t* surface, const std::string& path, std::string& error);

}  // namespace artwork
