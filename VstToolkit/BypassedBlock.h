// One stereo block of a model through a bypass fade, as every plug-in format with a host bypass
// renders it: while the fade is idle the model renders straight into the outputs; otherwise the
// input is kept first (the host may process in place), the model renders from that copy and
// the fade mixes the copy back in.
#pragma once

#include <cstring>

#include "VstToolkit/Model.h"
#include "dsp/BypassFade.h"

namespace VstToolkit {

// dry holds frames samples for each of the two channels. Audio thread.
inline void RenderBypassedBlock(Model& model, Dsp::BypassFade& fade, float** inputs,
                                float** outputs, float* const (&dry)[2], VstInt32 frames) {
    if (fade.IsProcessing()) {
        model.ProcessBlock(inputs, outputs, frames);
        return;
    }
    float* kept[2] = {dry[0], dry[1]};
    for (int c = 0; c < 2; ++c) std::memcpy(kept[c], inputs[c], sizeof(float) * frames);
    model.ProcessBlock(kept, outputs, frames);
    fade.Mix(kept, outputs, 2, frames);
}

}  // namespace VstToolkit
