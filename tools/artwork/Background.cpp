#include <algorithm>
#include <cmath>

#include "Artwork.h"
#include "Pictures.h"

namespace artwork {

namespace {

using namespace layout;

constexpr double kHeaderBottom = 72.0;
constexpr double kBayTop = 86.0;
constexpr double kBayBottom = 210.0;
constexpr double kCaptionBaseline = 107.0;
constexpr double kKnobScaleBaseline = 197.0;
constexpr double kMargin = 8.0;

// The status display is kept inside the panel's margin: the panel is narrower than the
// display's nominal right edge.
constexpr double kDisplayWidth = std::min<double>(kStatusWidth, kPanelWidth - kMargin - kStatusX);

void drawPanel(cairo_t* cr) {
    cairo_pattern_t* base = cairo_pattern_create_linear(0, 0, 0, kPanelHeight);
    addGradientStop(base, 0.0, palette::kPanelTop);
    addGradientStop(base, 1.0, palette::kPanelBottom);
    cairo_rectangle(cr, 0, 0, kPanelWidth, kPanelHeight);
    cairo_set_source(cr, base);
    cairo_fill(cr);
    cairo_pattern_destroy(base);

    // The header is a shade lighter and ends in an engraved line.
    cairo_pattern_t* header = cairo_pattern_create_linear(0, 0, 0, kHeaderBottom);
    addGradientStop(header, 0.0, rgb(0xffffff), 0.05);
    addGradientStop(header, 1.0, rgb(0xffffff), 0.015);
    cairo_rectangle(cr, 0, 0, kPanelWidth, kHeaderBottom);
    cairo_set_source(cr, header);
    cairo_fill(cr);
    cairo_pattern_destroy(header);

    setColour(cr, rgb(0x000000), 0.55);
    cairo_rectangle(cr, 0, kHeaderBottom, kPanelWidth, 1);
    cairo_fill(cr);
    setColour(cr, rgb(0xffffff), 0.07);
    cairo_rectangle(cr, 0, kHeaderBottom + 1, kPanelWidth, 1);
    cairo_fill(cr);
}

void drawFrame(cairo_t* cr) {
    // Light top and left edges, dark bottom and right ones: a raised plate.
    cairo_set_line_width(cr, 1.0);
    setColour(cr, rgb(0xffffff), 0.10);
    cairo_move_to(cr, 0.5, kPanelHeight);
    cairo_line_to(cr, 0.5, 0.5);
    cairo_line_to(cr, kPanelWidth, 0.5);
    cairo_stroke(cr);
    setColour(cr, rgb(0x000000), 0.6);
    cairo_move_to(cr, kPanelWidth - 0.5, 0);
    cairo_line_to(cr, kPanelWidth - 0.5, kPanelHeight - 0.5);
    cairo_line_to(cr, 0, kPanelHeight - 0.5);
    cairo_stroke(cr);
}

// A shallow well grouping related controls.
void drawBay(cairo_t* cr, double left, double right) {
    const double top = kBayTop;
    const double height = kBayBottom - kBayTop;
    roundedRectangle(cr, left, top, right - left, height, 7);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, top, 0, kBayBottom);
    addGradientStop(fill, 0.0, rgb(0x000000), 0.28);
    addGradientStop(fill, 1.0, rgb(0x000000), 0.14);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);

    roundedRectangle(cr, left + 0.5, top + 0.5, right - left - 1, height - 1, 6.5);
    cairo_pattern_t* edge = cairo_pattern_create_linear(0, top, 0, kBayBottom);
    addGradientStop(edge, 0.0, rgb(0x000000), 0.6);
    addGradientStop(edge, 0.6, rgb(0x000000), 0.15);
    addGradientStop(edge, 1.0, rgb(0xffffff), 0.09);
    cairo_set_source(cr, edge);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_pattern_destroy(edge);
}

void drawLogo(cairo_t* cr, const Fonts& fonts) {
    drawEmblem(cr, 34.5, 35.5, 21.0);
    fonts.use(cr, FontStyle::Bold, 22.0);
    setColour(cr, rgb(0x000000), 0.5);
    drawText(cr, "Quellin Corvane", 66, 36, Align::Left);
    setColour(cr, rgb(0xeceef2));
    drawText(cr, "Quellin Corvane", 65, 35, Align::Left);

    fonts.use(cr, FontStyle::Regular, 9.5);
    setColour(cr, palette::kAccent, 0.9);
    drawText(cr, "Quellin Sound Design", 66, 51, Align::Left, 1.6);
}

void drawDisplay(cairo_t* cr) {
    const double x = kStatusX;
    const double y = kStatusY;
    const double w = kDisplayWidth;
    const double h = kStatusHeight;

    // Lit lip below the cut-out.
    roundedRectangle(cr, x - 1, y - 1, w + 2, h + 2, 5);
    cairo_pattern_t* lip = cairo_pattern_create_linear(0, y - 1, 0, y + h + 1);
    addGradientStop(lip, 0.0, rgb(0x000000), 0.5);
    addGradientStop(lip, 1.0, rgb(0xffffff), 0.14);
    cairo_set_source(cr, lip);
    cairo_fill(cr);
    cairo_pattern_destroy(lip);

    roundedRectangle(cr, x, y, w, h, 4);
    cairo_pattern_t* glass = cairo_pattern_create_linear(0, y, 0, y + h);
    addGradientStop(glass, 0.0, rgb(0x07080a));
    addGradientStop(glass, 1.0, rgb(0x101317));
    cairo_set_source(cr, glass);
    cairo_fill(cr);
    cairo_pattern_destroy(glass);

    // Inner shadow at the top edge, then a faint reflection across the upper half.
    roundedRectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1, 3.5);
    cairo_pattern_t* inner = cairo_pattern_create_linear(0, y, 0, y + h);
    addGradientStop(inner, 0.0, rgb(0x000000), 0.9);
    addGradientStop(inner, 1.0, rgb(0x000000), 0.2);
    cairo_set_source(cr, inner);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_pattern_destroy(inner);

    roundedRectangle(cr, x + 2, y + 2, w - 4, h / 2 - 2, 2.5);
    setColour(cr, rgb(0xffffff), 0.025);
    cairo_fill(cr);
}

void drawSwitchGroup(cairo_t* cr, const Fonts& fonts, int index, const char* caption,
                     const char* const labels[kSwitchPositions]) {
    const double x = kSwitchX[index];
    const double y = kSwitchY;

    // Shadow and lit lip around the slot, outside the area the switch paints.
    roundedRectangle(cr, x - 1, y - 1, kSwitchWidth + 2, kSwitchHeight + 2, 5);
    cairo_pattern_t* lip = cairo_pattern_create_linear(0, y - 1, 0, y + kSwitchHeight + 1);
    addGradientStop(lip, 0.0, rgb(0x000000), 0.45);
    addGradientStop(lip, 1.0, rgb(0xffffff), 0.12);
    cairo_set_source(cr, lip);
    cairo_fill(cr);
    cairo_pattern_destroy(lip);
    drawSwitchSlot(cr, x, y);

    fonts.use(cr, FontStyle::CondensedBold, 11.0);
    setColour(cr, palette::kCaption);
    drawText(cr, caption, x + kSwitchWidth / 2.0, kCaptionBaseline, Align::Centre, 0.4);

    fonts.use(cr, FontStyle::Condensed, 9.5);
    for (int position = 0; position < kSwitchPositions; ++position) {
        const double centre = y + thumbTop(position) + kThumbSize / 2.0;
        setColour(cr, palette::kScale);
        drawText(cr, labels[position], x - 7, centre + 3.5, Align::Right);
        // Short leader from the label to the slot.
        setColour(cr, palette::kScale, 0.5);
        cairo_rectangle(cr, x - 5, std::floor(centre), 3, 1);
        cairo_fill(cr);
    }
}

void drawKnobGroup(cairo_t* cr, const Fonts& fonts, int index, const char* caption,
                   const char* minimum, const char* maximum) {
    const double x = kKnobX[index];
    const double centre = x + kKnobSize / 2.0;

    fonts.use(cr, FontStyle::CondensedBold, 11.0);
    setColour(cr, palette::kCaption);
    drawText(cr, caption, centre, kCaptionBaseline, Align::Centre, 0.4);

    // The end labels sit under the ends of the knob's sweep.
    const double reach = 22.0;
    fonts.use(cr, FontStyle::Condensed, 9.5);
    setColour(cr, palette::kScale);
    drawText(cr, minimum, centre - reach, kKnobScaleBaseline, Align::Centre);
    drawText(cr, maximum, centre + reach, kKnobScaleBaseline, Align::Centre);
}

}  // namespace

bool writeBackground(const Fonts& fonts, const std::string& path, std::string& error) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kPanelWidth, kPanelHeight);
    cairo_t* cr = cairo_create(surface);

    drawPanel(cr);
    cairo_surface_flush(surface);
    addGrain(surface, 0x51a7c0deu, 2);

    drawFrame(cr);
    drawBay(cr, 34, 172);
    drawBay(cr, 182, 478);
    drawLogo(cr, fonts);
    drawDisplay(cr);

    static const char* const kOutputLabels[kSwitchPositions] = {"off", "low", "high", "both"};
    static const char* const kSlopeLabels[kSwitchPositions] = {"\u22126", "\u221212", "\u221218",
                                                               "\u221224"};
    drawSwitchGroup(cr, fonts, 0, "Output", kOutputLabels);
    drawSwitchGroup(cr, fonts, 1, "Slope", kSlopeLabels);

    drawKnobGroup(cr, fonts, 0, "Cutoff Freq.", "0 Hz", "10 kHz");
    drawKnobGroup(cr, fonts, 1, "Spread", "mono", "stereo");
    drawKnobGroup(cr, fonts, 2, "Bass Amp.", "\u221210 dB", "+10 dB");

    cairo_destroy(cr);
    const bool ok = writePng(surface, path, error);
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace artwork
