#include <cmath>

#include "Artwork.h"
#include "Pictures.h"

namespace artwork {

namespace {

using namespace layout;

constexpr double kWaveTop = 152.0;
constexpr double kWaveBottom = 236.0;

void drawBackdrop(cairo_t* cr) {
    const double w = kAboutWidth;
    const double h = kAboutHeight;
    cairo_pattern_t* base = cairo_pattern_create_radial(w / 2, 40, 10, w / 2, 120, 260);
    addGradientStop(base, 0.0, rgb(0x30333a));
    addGradientStop(base, 1.0, rgb(0x0f1013));
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_set_source(cr, base);
    cairo_fill(cr);
    cairo_pattern_destroy(base);
}

double waveAt(double t) {
    // A slow fundamental with a touch of second harmonic, swelling in and dying away.
    const double envelope = std::sin(M_PI * t) * std::exp(-0.8 * t);
    return envelope * (std::sin(2.0 * M_PI * 2.25 * t) + 0.22 * std::sin(2.0 * M_PI * 4.5 * t));
}

void tracePath(cairo_t* cr, double amplitude, double phase) {
    const double left = 18.0;
    const double right = kAboutWidth - 18.0;
    const double middle = (kWaveTop + kWaveBottom) / 2.0;
    const int steps = 240;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double x = left + (right - left) * t;
        const double y = middle - amplitude * waveAt(std::fmod(t + phase, 1.0));
        if (i == 0) {
            cairo_move_to(cr, x, y);
        } else {
            cairo_line_to(cr, x, y);
        }
    }
}

void drawWave(cairo_t* cr) {
    const double middle = (kWaveTop + kWaveBottom) / 2.0;
    const double amplitude = (kWaveBottom - kWaveTop) / 2.0 - 4.0;

    // A faint scope grid behind the trace.
    cairo_set_line_width(cr, 1.0);
    setColour(cr, rgb(0xffffff), 0.05);
    for (int i = 0; i <= 4; ++i) {
        const double y = std::round(kWaveTop + (kWaveBottom - kWaveTop) * i / 4.0) + 0.5;
        cairo_move_to(cr, 18, y);
        cairo_line_to(cr, kAboutWidth - 18, y);
    }
    for (int i = 0; i <= 8; ++i) {
        const double x = std::round(18 + (kAboutWidth - 36) * i / 8.0) + 0.5;
        cairo_move_to(cr, x, kWaveTop);
        cairo_line_to(cr, x, kWaveBottom + 1);
    }
    cairo_stroke(cr);
    setColour(cr, rgb(0xffffff), 0.10);
    cairo_move_to(cr, 18, std::round(middle) + 0.5);
    cairo_line_to(cr, kAboutWidth - 18, std::round(middle) + 0.5);
    cairo_stroke(cr);

    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    // Two fainter echoes, then the glowing main trace.
    tracePath(cr, amplitude * 0.55, 0.06);
    setColour(cr, rgb(0x6f8fa8), 0.35);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    tracePath(cr, amplitude * 0.78, 0.03);
    setColour(cr, palette::kAccentDeep, 0.45);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);

    for (double width : {9.0, 5.0}) {
        tracePath(cr, amplitude, 0.0);
        setColour(cr, palette::kAccent, width > 6.0 ? 0.08 : 0.18);
        cairo_set_line_width(cr, width);
        cairo_stroke(cr);
    }
    tracePath(cr, amplitude, 0.0);
    setColour(cr, rgb(0xffc977));
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
}

}  // namespace

bool writeAbout(const Fonts& fonts, const std::string& version, const std::string& path,
                std::string& error) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kAboutWidth, kAboutHeight);
    cairo_t* cr = cairo_create(surface);
    const double centre = kAboutWidth / 2.0;

    drawBackdrop(cr);
    cairo_surface_flush(surface);
    addGrain(surface, 0xab0a7f3du, 2);

    drawEmblem(cr, centre, 58, 32);

    fonts.use(cr, FontStyle::Bold, 25.0);
    setColour(cr, rgb(0x000000), 0.5);
    drawText(cr, "Quellin Corvane", centre + 1, 124, Align::Centre);
    setColour(cr, rgb(0xeceef2));
    drawText(cr, "Quellin Corvane", centre, 123, Align::Centre);

    fonts.use(cr, FontStyle::Regular, 10.5);
    setColour(cr, palette::kAccent, 0.95);
    drawText(cr, "Quellin Sound Design", centre, 141, Align::Centre, 1.8);

    drawWave(cr);

    fonts.use(cr, FontStyle::Condensed, 11.0);
    setColour(cr, palette::kScale);
    drawText(cr, "Version " + version, centre, 266, Align::Centre, 0.3);

    // Raised-plate edge, as on the panel.
    cairo_set_line_width(cr, 1.0);
    setColour(cr, rgb(0xffffff), 0.12);
    cairo_move_to(cr, 0.5, kAboutHeight);
    cairo_line_to(cr, 0.5, 0.5);
    cairo_line_to(cr, kAboutWidth, 0.5);
    cairo_stroke(cr);
    setColour(cr, rgb(0x000000), 0.7);
    cairo_move_to(cr, kAboutWidth - 0.5, 0);
    cairo_line_to(cr, kAboutWidth - 0.5, kAboutHeight - 0.5);
    cairo_line_to(cr, 0, kAboutHeight - 0.5);
    cairo_stroke(cr);

    cairo_destroy(cr);
    const bool ok = writeBmp(surface, path, error);
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace artwork
