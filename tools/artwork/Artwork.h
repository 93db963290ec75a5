// Renders the editor's bitmaps. Every picture comes from code alone (no external images), and
// the same build always produces byte-identical files so regenerated artwork diffs cleanly.
#pragma once

#include <string>

namespace artwork {

// Editor layout the pictures are drawn for; the editor places its controls at these spots.
namespace layout {
constexpr int kPanelWidth = 512;
constexpr int kPanelHeight = 224;

constexpr int kKnobSize = 67;
constexpr int kKnobFrames = 91;
constexpr int kKnobX[3] = {194, 295, 396};
constexpr int kKnobY = 117;

constexpr int kSwitchWidth = 20;
constexpr int kSwitchHeight = 66;
constexpr int kSwitchPositions = 4;
constexpr int kSwitchX[2] = {73, 136};
constexpr int kSwitchY = 117;
constexpr int kThumbSize = 20;

constexpr int kStatusX = 320;
constexpr int kStatusY = 15;
constexpr int kStatusWidth = 200;
constexpr int kStatusHeight = 30;

constexpr int kAboutWidth = 303;
constexpr int kAboutHeight = 295;

// Top edge of the thumb inside the slot for a switch position; position 0 sits at the bottom.
// Rounded to whole pixels so the thumb's edges stay sharp in every frame.
constexpr int thumbTop(int position) {
    return ((kSwitchPositions - 1 - position) * (kSwitchHeight - kThumbSize) +
            (kSwitchPositions - 1) / 2) /
           (kSwitchPositions - 1);
}
}  // namespace layout

// Names of the files generateAll() writes.
constexpr const char* kBackgroundFile = "Background.png";
constexpr const char* kKnobStripFile = "KnobStrip.png";
constexpr const char* kSwitchStripFile = "SwitchStrip.png";
constexpr const char* kSwitchThumbFile = "SwitchThumb.png";
constexpr const char* kAboutFile = "About.bmp";

// Writes all pictures into outputDir (which must exist). Returns false and sets error on
// failure.
bool generateAll(const std::string& outputDir, const std::string& version, std::string& error);

}  // namespace artwork
