// Where everything sits on the effect's panel, in the view's coordinates; both platforms' views
// build from this table.
#pragma once

#include "EditorCommon/PanelLayout.h"
#include "effect/x64/QuellinCorvaneModel.h"

namespace QuellinCorvane::Layout {

constexpr int kWidth = 512;  // the background's size
constexpr int kHeight = 224;
using EditorCommon::kControlRow;
using EditorCommon::kStatusLine;
constexpr unsigned kKnobFrames = 91;
constexpr unsigned kSwitchPositions = 4;
constexpr EditorCommon::Rect kMenuArea = {10, 10, 290, 60};  // over the logo

struct ControlPlacement {
    bool knob;
    VstInt32 parameter;
    int x;
};

// Creation order is layout order.
constexpr ControlPlacement kControls[] = {
    {true, kCutoffFrequency, 194}, {true, kStereoSpread, 295}, {true, kBassAmp, 396},
    {false, kOutput, 73},          {false, kFilterSlope, 136},
};

}  // namespace QuellinCorvane::Layout
