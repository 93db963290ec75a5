// The model's render side as the framework drives it: the user-interface thread's changes are
// taken at the start of each piece, on the thread that renders.
#pragma once

#include "effect/x64/QuellinCorvaneModel.h"

namespace TestSupport {

inline void processPiece(QuellinCorvane::QuellinCorvaneModel& model, float** inputs,
                         float** outputs, VstInt32 offset, VstInt32 count) {
    model.SyncRenderState();
    model.Process(inputs, outputs, offset, count);
}

// A host change, and the working values that follow from it.
inline void setAndSync(QuellinCorvane::QuellinCorvaneModel& model, VstInt32 index, float value) {
    model.SetParameterValue(index, value);
    model.SyncRenderState();
}

}  // namespace TestSupport
