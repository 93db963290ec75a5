// Where every editor panel has its parameter controls and status line, in the view's
// coordinates: the Windows toolkit's controls put themselves there, the Linux view follows.
// The effect's view decides only how far right each control sits.
#pragma once

#include "EditorCommon/ControlMath.h"

namespace EditorCommon {

constexpr int kControlRow = 117;                  // the y of every parameter control
constexpr Rect kStatusLine = {320, 15, 520, 45};  // reaches past the panel's right edge

}  // namespace EditorCommon
