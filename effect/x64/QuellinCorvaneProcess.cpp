// The per-sample signal path. Each formula is evaluated in the order written: the output is
// specified sample for sample in single precision.
#include "effect/x64/QuellinCorvaneModel.h"

namespace QuellinCorvane {
namespace {

struct Band {
    const float* inL;
    const float* inR;
    float* outL;
    float* outR;
    VstInt32 count;
    float spread;
    float gain;
};

// One mode and stage count, fixed at compile time. The stages work on local copies so their
// state stays in registers: the output buffers are floats too, and could otherwise alias it.
template <VstInt32 Mode, VstInt32 Stages>
void renderBand(FilterStage (&stages)[2][4], const Band& band) {
    FilterStage left[Stages], right[Stages];
    for (VstInt32 k = 0; k < Stages; ++k) {
        left[k] = stages[0][k];
        right[k] = stages[1][k];
    }
    const float s = band.spread;
    const float g = band.gain;
    const float h = (s + 1.0f) * 0.5f;
    const float cross = 1.0f - s;
    for (VstInt32 i = 0; i < band.count; ++i) {
        // Both inputs are read before anything is written: in-place buffers are fine.
        const float xL = band.inL[i];
        const float xR = band.inR[i];
        float lowL = xL;
        float lowR = xR;
        for (VstInt32 k = 0; k < Stages; ++k) {
            lowL = left[k].Process(lowL);
            lowR = right[k].Process(lowR);
        }
        if (Mode == kOutputHigh) {
            band.outL[i] = xL - lowL;
            band.outR[i] = xR - lowR;
            continue;
        }
        // ((1 - s) * other + own) * h * g, left to right.
        const float treatedL = ((cross * lowR + lowL) * h) * g;
        const float treatedR = ((cross * lowL + lowR) * h) * g;
        if (Mode == kOutputLow) {
            band.outL[i] = treatedL;
            band.outR[i] = treatedR;
        } else {
            band.outL[i] = treatedL + (xL - lowL);
            band.outR[i] = treatedR + (xR - lowR);
        }
    }
    for (VstInt32 k = 0; k < Stages; ++k) {
        stages[0][k] = left[k];
        stages[1][k] = right[k];
    }
}

using Renderer = void (*)(FilterStage (&)[2][4], const Band&);

template <VstInt32 Mode>
constexpr Renderer kByStages[4] = {renderBand<Mode, 1>, renderBand<Mode, 2>, renderBand<Mode, 3>,
                                   renderBand<Mode, 4>};

constexpr const Renderer* kRenderers[4] = {nullptr, kByStages<kOutputLow>, kByStages<kOutputHigh>,
                                           kByStages<kOutputBoth>};

}  // namespace

void QuellinCorvaneModel::Process(float** inputs, float** outputs, VstInt32 offset,
                                  VstInt32 count) {
    if (count <= 0) return;
    const float* inL = inputs[0] + offset;
    const float* inR = inputs[1] + offset;
    float* outL = outputs[0] + offset;
    float* outR = outputs[1] + offset;

    if (outputMode == kOutputOff) {
        // A plain copy: the stages neither run nor change.
        for (VstInt32 i = 0; i < count; ++i) {
            const float left = inL[i];
            const float right = inR[i];
            outL[i] = left;
            outR[i] = right;
        }
        return;
    }
    if (outputMode < kOutputLow || outputMode > kOutputBoth || slopeIndex < 0 ||
        slopeIndex >= kStageCount)
        return;
    kRenderers[outputMode][slopeIndex](stages, {inL, inR, outL, outR, count, spread, bassGain});
}

}  // namespace QuellinCorvane
