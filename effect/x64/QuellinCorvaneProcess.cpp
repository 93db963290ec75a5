// The per-sample signal path. Each formula is evaluated in the order written: the output is
// specified sample for sample in single precision.
//
// The stages run as a pipeline in SSE lanes (StagePipeline), with the same samples as the
// stage-by-stage loop that short pieces keep. The low bands are mixed with the input four
// samples at once, each lane doing the scalar formula's operations in its order.
#include <emmintrin.h>

#include <cstring>

#include "dsp/StagePipeline.h"
#include "effect/x64/QuellinCorvaneModel.h"

namespace QuellinCorvane {
namespace {

struct Band {
    const float* inL;
    const float* inR;
    float* outL;
    float* outR;
    int count;
    float spread;
    float gain;
};

// The mix of the two low bands with the input, four samples at a time or one. Each lane of
// MixGroupOfFour performs MixSample's operations in its order. Inputs are read before outputs
// are written: in-place and crossed buffers are fine.
template <int Mode>
struct Mixer {
    Band band;
    float h, cross;
    __m128 h4, cross4, gain4;

    explicit Mixer(const Band& b)
        : band(b),
          h((b.spread + 1.0f) * 0.5f),
          cross(1.0f - b.spread),
          h4(_mm_set1_ps(h)),
          cross4(_mm_set1_ps(cross)),
          gain4(_mm_set1_ps(b.gain)) {}

    void MixGroupOfFour(int i, __m128 lowL, __m128 lowR) const {
        const __m128 xL = _mm_loadu_ps(band.inL + i), xR = _mm_loadu_ps(band.inR + i);
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

    void MixSample(int i, float lowL, float lowR) const {
        const float xL = band.inL[i], xR = band.inR[i];
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
};

// The stage recursion of FilterStage::Process, one stage of one channel per lane.
struct FilterStageLanes {
    __m128 b0, a1, x1, y1;
    __m128 antiDenormal = _mm_set1_ps(kAntiDenormal);

    // Lane by lane into registers: four scalar stores read back as one vector would wait for
    // the stores to complete, and the first step waits for x1 and y1.
    explicit FilterStageLanes(const FilterStage* const (&lanes)[4])
        : b0(_mm_setr_ps(lanes[0]->b0, lanes[1]->b0, lanes[2]->b0, lanes[3]->b0)),
          a1(_mm_setr_ps(lanes[0]->a1, lanes[1]->a1, lanes[2]->a1, lanes[3]->a1)),
          x1(_mm_setr_ps(lanes[0]->x1, lanes[1]->x1, lanes[2]->x1, lanes[3]->x1)),
          y1(_mm_setr_ps(lanes[0]->y1, lanes[1]->y1, lanes[2]->y1, lanes[3]->y1)) {}

    __m128 Step(__m128 x) {
        __m128 t = _mm_add_ps(x, x1);
        t = _mm_mul_ps(t, b0);
        const __m128 u = _mm_mul_ps(a1, y1);
        const __m128 y = _mm_add_ps(t, u);
        x1 = _mm_add_ps(x, antiDenormal);
        y1 = _mm_add_ps(y, antiDenormal);
        return y;
    }
    static float StepOne(FilterStage& stage, float x) { return stage.Process(x); }
    void TakeStageState(int k, const FilterStageLanes& from) {
        x1 = Dsp::ReplaceStageLanes(k, from.x1, x1);
        y1 = Dsp::ReplaceStageLanes(k, from.y1, y1);
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

// One mode and stage count, fixed at compile time.
template <int Mode, int Stages>
void renderCascade(FilterStage (&stages)[2][4], const Band& band) {
    Mixer<Mode> mixer(band);
    Dsp::RunCascade<Stages, FilterStageLanes>(stages, band.inL, band.inR, band.count, mixer);
}

using Renderer = void (*)(FilterStage (&)[2][4], const Band&);

template <int Mode>
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
            for (int i = 0; i < count; ++i) {
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
