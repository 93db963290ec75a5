#include <cmath>

#include "Artwork.h"
#include "Pictures.h"

namespace artwork {

namespace {

constexpr double kSweepDegrees = 270.0;
constexpr double kTrackRadius = 29.5;
constexpr double kSkirtRadius = 23.0;
constexpr double kFaceRadius = 18.5;
constexpr int kRidges = 36;

// Clockwise angle from 12 o'clock for a value in 0..1, converted to cairo's convention
// (radians clockwise from 3 o'clock, because y grows downwards).
double angleFor(double value) {
    const double degrees = -kSweepDegrees / 2.0 + kSweepDegrees * value;
    return (degrees - 90.0) * M_PI / 180.0;
}

void drawKnob(cairo_t* cr, double value) {
    const double c = layout::kKnobSize / 2.0;
    const double start = angleFor(0.0);
    const double pointer = angleFor(value);

    // Groove the value arc runs in.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 4.0);
    setColour(cr, rgb(0x0a0b0d));
    cairo_arc(cr, c, c, kTrackRadius, start, angleFor(1.0));
    cairo_stroke(cr);

    if (value > 0.0) {
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        cairo_set_line_width(cr, 6.5);
        setColour(cr, palette::kAccent, 0.16);
        cairo_arc(cr, c, c, kTrackRadius, start, pointer);
        cairo_stroke(cr);
        cairo_set_line_width(cr, 2.6);
        setColour(cr, palette::kAccent);
        cairo_arc(cr, c, c, kTrackRadius, start, pointer);
        cairo_stroke(cr);
    }

    // Drop shadow, offset downwards as if lit from above.
    cairo_pattern_t* shadow =
        cairo_pattern_create_radial(c, c + 2.5, kSkirtRadius - 3, c, c + 2.5, kSkirtRadius + 3.5);
    addGradientStop(shadow, 0.0, rgb(0x000000), 0.65);
    addGradientStop(shadow, 1.0, rgb(0x000000), 0.0);
    cairo_arc(cr, c, c + 2.5, kSkirtRadius + 3.5, 0, 2 * M_PI);
    cairo_set_source(cr, shadow);
    cairo_fill(cr);
    cairo_pattern_destroy(shadow);

    // Knurled skirt.
    cairo_pattern_t* skirt = cairo_pattern_create_linear(0, c - kSkirtRadius, 0, c + kSkirtRadius);
    addGradientStop(skirt, 0.0, rgb(0x55585f));
    addGradientStop(skirt, 1.0, rgb(0x1c1e22));
    cairo_arc(cr, c, c, kSkirtRadius, 0, 2 * M_PI);
    cairo_set_source(cr, skirt);
    cairo_fill(cr);
    cairo_pattern_destroy(skirt);

    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_width(cr, 1.0);
    for (int i = 0; i < kRidges; ++i) {
        // The ridges turn with the knob, which makes small changes of value visible.
        const double a = pointer + 2.0 * M_PI * i / kRidges;
        const double ca = std::cos(a);
        const double sa = std::sin(a);
        cairo_move_to(cr, c + ca * (kFaceRadius + 1.5), c + sa * (kFaceRadius + 1.5));
        cairo_line_to(cr, c + ca * (kSkirtRadius - 0.5), c + sa * (kSkirtRadius - 0.5));
    }
    setColour(cr, rgb(0x000000), 0.35);
    cairo_stroke(cr);

    cairo_arc(cr, c, c, kSkirtRadius - 0.5, 0, 2 * M_PI);
    cairo_pattern_t* rim = cairo_pattern_create_linear(0, c - kSkirtRadius, 0, c + kSkirtRadius);
    addGradientStop(rim, 0.0, rgb(0xffffff), 0.30);
    addGradientStop(rim, 0.5, rgb(0xffffff), 0.0);
    addGradientStop(rim, 1.0, rgb(0x000000), 0.5);
    cairo_set_source(cr, rim);
    cairo_stroke(cr);
    cairo_pattern_destroy(rim);

    // Slightly domed cap.
    cairo_pattern_t* face = cairo_pattern_create_linear(0, c - kFaceRadius, 0, c + kFaceRadius);
    addGradientStop(face, 0.0, rgb(0x62656d));
    addGradientStop(face, 1.0, rgb(0x2f3237));
    cairo_arc(cr, c, c, kFaceRadius, 0, 2 * M_PI);
    cairo_set_source(cr, face);
    cairo_fill(cr);
    cairo_pattern_destroy(face);

    cairo_pattern_t* sheen = cairo_pattern_create_radial(c - 4, c - 7, 1, c, c, kFaceRadius);
    addGradientStop(sheen, 0.0, rgb(0xffffff), 0.16);
    addGradientStop(sheen, 1.0, rgb(0xffffff), 0.0);
    cairo_arc(cr, c, c, kFaceRadius, 0, 2 * M_PI);
    cairo_set_source(cr, sheen);
    cairo_fill(cr);
    cairo_pattern_destroy(sheen);

    cairo_arc(cr, c, c, kFaceRadius - 0.5, 0, 2 * M_PI);
    cairo_pattern_t* edge = cairo_pattern_create_linear(0, c - kFaceRadius, 0, c + kFaceRadius);
    addGradientStop(edge, 0.0, rgb(0xffffff), 0.35);
    addGradientStop(edge, 0.6, rgb(0xffffff), 0.0);
    addGradientStop(edge, 1.0, rgb(0x000000), 0.35);
    cairo_set_source(cr, edge);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_pattern_destroy(edge);

    // Pointer: a light line over a dark outline so it stands out at any angle.
    const double ca = std::cos(pointer);
    const double sa = std::sin(pointer);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, c + ca * 6.0, c + sa * 6.0);
    cairo_line_to(cr, c + ca * 16.0, c + sa * 16.0);
    cairo_set_line_width(cr, 4.6);
    setColour(cr, rgb(0x000000), 0.45);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 2.6);
    setColour(cr, palette::kPointer);
    cairo_stroke(cr);
}

}  // namespace

bool writeKnobStrip(const std::string& path, std::string& error) {
    using namespace layout;
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kKnobSize, kKnobSize * kKnobFrames);
    cairo_t* cr = cairo_create(surface);
    for (int frame = 0; frame < kKnobFrames; ++frame) {
        cairo_save(cr);
        cairo_translate(cr, 0, frame * kKnobSize);
        cairo_rectangle(cr, 0, 0, kKnobSize, kKnobSize);
        cairo_clip(cr);
        drawKnob(cr, static_cast<double>(frame) / (kKnobFrames - 1));
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    const bool ok = writePng(surface, path, error);
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace artwork
