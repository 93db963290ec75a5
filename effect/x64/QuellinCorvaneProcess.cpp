// The per-sample signal path. Each formula is evaluated in the order written: the output is
// specified sample for sample in single precision.
//
// Cascades of two to four stages run as a pipeline in SSE lanes (StagePipeline), with the
// same samples as the stage-by-stage loop that short pieces keep. The low bands are gathered a
// chunk at a time and mixed with the input four samples at once, each lane doing the scalar
// formula's operations in its order.
#include <emmintrin.h>

#include <cstring>

#include "effect/x64/QuellinCorvaneModel.h"
#include "vst/dsp/StagePipeline.h"

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

// The mix of the two low bands with the input, for one output sample.
template <VstInt32 Mode>
inline void writeOutput(const Band& band, VstInt32 i, float xL, float xR, float lowL, float lowR,
                        float cross, float h) {
    if (Mode == kOutputHigh) {
        band.outL[i] = xL - lowL;
        band.outR[i] = xR - lowR;
        return;
    }
    const float treatedL = ((cross * lowR + lowL) * h) * band.gain;
    const float treatedR = ((cross * lowL + lowR) * h) * band.gain;
    if (Mode == kOutputLow) {
        band.outL[i] = treatedL;
        band.outR[i] = treatedR;
    } else {
        band.outL[i] = treatedL + (xL - lowL);
        band.outR[i] = treatedR + (xR - lowR);
    }
}

using StagePipeline::kChunk;
using StagePipeline::LowChunk;

// Mixes samples start .. start + n - 1, whose low bands the chunk holds from its beginning.
// Each group's inputs are read before its outputs are written: in-place and crossed buffers
// are fine, as the chunk's inputs were all read before its first output.
template <VstInt32 Mode>
void mixChunk(const Band& band, VstInt32 start, VstInt32 n, const LowChunk& low) {
    const float h = (band.spread + 1.0f) * 0.5f;
    const float cross = 1.0f - band.spread;
    const __m128 h4 = _mm_set1_ps(h), cross4 = _mm_set1_ps(cross), gain4 = _mm_set1_ps(band.gain);
    VstInt32 k = 0;
    for (; k + 4 <= n; k += 4) {
        const VstInt32 i = start + k;
        const __m128 xL = _mm_loadu_ps(band.inL + i), xR = _mm_loadu_ps(band.inR + i);
        const __m128 lowL = _mm_load_ps(low.left + k), lowR = _mm_load_ps(low.right + k);
        __m128 outL, outR;
        if (Mode == kOutputHigh) {
            outL = _mm_sub_ps(xL, lowL);
            outR = _mm_sub_ps(xR, lowR);
        } else {
            outL = _mm_mul_ps(_mm_mul_ps(_mm_add_ps(_mm_mul_ps(cross4, lowR), lowL), h4), gain4);
            outR = _mm_mul_ps(_mm_mul_ps(_mm_add_ps(_mm_mul_ps(cross4, lowL), lowR), h4), gain4);
            if (Mode == kOutputBoth) {
                outL = _mm_add_ps(outL, _mm_sub_ps(xL, lowL));
                outR = _mm_add_ps(outR, _mm_sub_ps(xR, lowR));
            }
        }
        _mm_storeu_ps(band.outL + i, outL);
        _mm_storeu_ps(band.outR + i, outR);
    }
    for (; k < n; ++k)
        writeOutput<Mode>(band, start + k, band.inL[start + k], band.inR[start + k], low.left[k],
                          low.right[k], cross, h);
}

// One mode and stage count, fixed at compile time. The stages work on local copies so their
// state stays in registers: the output buffers are floats too, and could otherwise alias it.
template <VstInt32 Mode, VstInt32 Stages>
void renderBand(FilterStage (&stages)[2][4], const Band& band) {
    FilterStage left[Stages], right[Stages];
    for (VstInt32 k = 0; k < Stages; ++k) {
        left[k] = stages[0][k];
        right[k] = stages[1][k];
    }
    LowChunk low;
    for (VstInt32 start = 0; start < band.count; start += kChunk) {
        const VstInt32 n = band.count - start < kChunk ? band.count - start : kChunk;
        for (VstInt32 i = 0; i < n; ++i) {
            float lowL = band.inL[start + i];
            float lowR = band.inR[start + i];
            for (VstInt32 k = 0; k < Stages; ++k) {
                lowL = left[k].Process(lowL);
                lowR = right[k].Process(lowR);
            }
            low.left[i] = lowL;
            low.right[i] = lowR;
        }
        mixChunk<Mode>(band, start, n, low);
    }
    for (VstInt32 k = 0; k < Stages; ++k) {
        stages[0][k] = left[k];
        stages[1][k] = right[k];
    }
}

// The stage recursion of FilterStage::Process, one stage of one channel per lane.
struct StageArithmetic {
    __m128 b0, a1, x1, y1;
    __m128 antiDenormal = _mm_set1_ps(kAntiDenormal);

    explicit StageArithmetic(const FilterStage* const (&lanes)[4]) {
        alignas(16) float b[4], a[4], xs[4], ys[4];
        for (int k = 0; k < 4; ++k) {
            b[k] = lanes[k]->b0;
            a[k] = lanes[k]->a1;
            xs[k] = lanes[k]->x1;
            ys[k] = lanes[k]->y1;
        }
        b0 = _mm_load_ps(b);
        a1 = _mm_load_ps(a);
        x1 = _mm_load_ps(xs);
        y1 = _mm_load_ps(ys);
    }

    __m128 Step(__m128 x) {
        __m128 t = _mm_add_ps(x, x1);
        t = _mm_mul_ps(t, b0);
        const __m128 u = _mm_mul_ps(a1, y1);
        const __m128 y = _mm_add_ps(t, u);
        x1 = _mm_add_ps(x, antiDenormal);
        y1 = _mm_add_ps(y, antiDenormal);
        return y;
    }
    void Keep(__m128 lanes, const StageArithmetic& from) {
        x1 = StagePipeline::Select(lanes, from.x1, x1);
        y1 = StagePipeline::Select(lanes, from.y1, y1);
    }

    void Store(FilterStage* const (&lanes)[4]) const {
        alignas(16) float xs[4], ys[4];
        _mm_store_ps(xs, x1);
        _mm_store_ps(ys, y1);
        for (int k = 0; k < 4; ++k) {
            if (lanes[k] == nullptr) continue;
            lanes[k]->x1 = xs[k];
            lanes[k]->y1 = ys[k];
        }
    }
};

template <VstInt32 Mode, VstInt32 Stages>
void renderPipelined(FilterStage (&stages)[2][4], const Band& band) {
    StagePipeline::Run<Stages, StageArithmetic>(
        stages, band.inL, band.inR, band.count,
        [&](VstInt32 start, VstInt32 n, const LowChunk& low) {
            mixChunk<Mode>(band, start, n, low);
        });
}

// Short pieces (between MIDI events) gain nothing from the pipeline's fill and drain.
template <VstInt32 Mode, VstInt32 Stages>
void renderCascade(FilterStage (&stages)[2][4], const Band& band) {
    if constexpr (Stages > 1) {
        if (StagePipeline::Pays(Stages, band.count))
            return renderPipelined<Mode, Stages>(stages, band);
    }
    renderBand<Mode, Stages>(stages, band);
}

using Renderer = void (*)(FilterStage (&)[2][4], const Band&);

template <VstInt32 Mode>
constexpr Renderer kByStages[4] = {renderCascade<Mode, 1>, renderCascade<Mode, 2>,
                                   renderCascade<Mode, 3>, renderCascade<Mode, 4>};

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
        if (outL == inR || outR == inL) {
            // Crossed buffers: each sample's inputs are read before its outputs are written.
            for (VstInt32 i = 0; i < count; ++i) {
                const float left = inL[i];
                const float right = inR[i];
                outL[i] = left;
                outR[i] = right;
            }
        } else {
            const auto bytes = static_cast<std::size_t>(count) * sizeof(float);
            if (outL != inL) std::memmove(outL, inL, bytes);
            if (outR != inR) std::memmove(outR, inR, bytes);
        }
        return;
    }
    if (outputMode < kOutputLow || outputMode > kOutputBoth || slopeIndex < 0 ||
        slopeIndex >= kStageCount)
        return;
    kRenderers[outputMode][slopeIndex](stages, {inL, inR, outL, outR, count, spread, bassGain});
}

}  // namespace QuellinCorvane
