// The per-sample signal path. Each formula is evaluated in the order written: the output is
// specified sample for sample in single precision.
//
// A cascade of stages is rendered as a pipeline: the four stages of a channel sit in the four
// lanes of an SSE register, lane k working k samples behind lane 0, so every step advances all
// of them at once and four stages cost about what one does. Each lane performs exactly the
// scalar operations in the scalar order (no fused multiply-add), so the samples are the same.
#include <emmintrin.h>

#include <cstring>

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

// One channel's stages as lanes, lane k working 2k samples behind lane 0. Feeding lane k with
// what lane k-1 produced two steps earlier (not one) takes the lane shift and the input's add
// and multiply off the critical path: each step then waits only for a lane's own recursion,
// multiply, add, add, the same chain as a single stage.
struct StageLanes {
    __m128 b0, a1, x1, y1;
    __m128 y = _mm_setzero_ps();         // each lane's output of the latest step
    __m128 yEarlier = _mm_setzero_ps();  // and of the step before

    StageLanes(const FilterStage (&stages)[4], VstInt32 count) {
        alignas(16) float b[4], a[4], xs[4], ys[4];
        for (VstInt32 k = 0; k < 4; ++k) {
            // Lanes beyond the active stages run on copies and are never stored back.
            const FilterStage& stage = stages[k < count ? k : count - 1];
            b[k] = stage.b0;
            a[k] = stage.a1;
            xs[k] = stage.x1;
            ys[k] = stage.y1;
        }
        b0 = _mm_load_ps(b);
        a1 = _mm_load_ps(a);
        x1 = _mm_load_ps(xs);
        y1 = _mm_load_ps(ys);
    }

    // Lane 0 takes input, lane k the output lane k-1 made two steps ago.
    __m128 Inputs(float input) const {
        const __m128 shifted = _mm_shuffle_ps(yEarlier, yEarlier, _MM_SHUFFLE(2, 1, 0, 0));
        return _mm_move_ss(shifted, _mm_set_ss(input));
    }

    void Step(float input, __m128 antiDenormal) {
        const __m128 x = Inputs(input);
        __m128 t = _mm_add_ps(x, x1);
        t = _mm_mul_ps(t, b0);
        const __m128 u = _mm_mul_ps(a1, y1);
        yEarlier = y;
        y = _mm_add_ps(t, u);
        x1 = _mm_add_ps(x, antiDenormal);
        y1 = _mm_add_ps(y, antiDenormal);
    }

    // The same step for the lanes in active only; the others keep their state.
    void Step(float input, __m128 antiDenormal, __m128 active) {
        const __m128 x = Inputs(input);
        __m128 t = _mm_add_ps(x, x1);
        t = _mm_mul_ps(t, b0);
        const __m128 u = _mm_mul_ps(a1, y1);
        const __m128 next = _mm_add_ps(t, u);
        x1 = select(active, _mm_add_ps(x, antiDenormal), x1);
        y1 = select(active, _mm_add_ps(next, antiDenormal), y1);
        yEarlier = y;
        y = select(active, next, y);
    }

    template <VstInt32 Lane>
    float Output() const {
        return _mm_cvtss_f32(_mm_shuffle_ps(y, y, _MM_SHUFFLE(Lane, Lane, Lane, Lane)));
    }

    void Store(FilterStage (&stages)[4], VstInt32 count) const {
        alignas(16) float xs[4], ys[4];
        _mm_store_ps(xs, x1);
        _mm_store_ps(ys, y1);
        for (VstInt32 k = 0; k < count; ++k) {
            stages[k].x1 = xs[k];
            stages[k].y1 = ys[k];
        }
    }

    static __m128 select(__m128 mask, __m128 whenSet, __m128 otherwise) {
        return _mm_or_ps(_mm_and_ps(mask, whenSet), _mm_andnot_ps(mask, otherwise));
    }
};

// The lanes that have a sample while the pipeline fills (step j < kLag: lane k runs sample
// j - 2k, so lanes with 2k <= j) and while it drains (step count + e: lanes with 2k > e).
alignas(16) constexpr std::int32_t kFilling[6][4] = {
    {-1, 0, 0, 0}, {-1, 0, 0, 0}, {-1, -1, 0, 0}, {-1, -1, 0, 0}, {-1, -1, -1, 0}, {-1, -1, -1, 0}};
alignas(16) constexpr std::int32_t kDraining[6][4] = {
    {0, -1, -1, -1}, {0, -1, -1, -1}, {0, 0, -1, -1}, {0, 0, -1, -1}, {0, 0, 0, -1}, {0, 0, 0, -1}};

inline __m128 lanes(const std::int32_t (&bits)[4]) {
    return _mm_load_ps(reinterpret_cast<const float*>(bits));
}

// Stages 2..4 as a pipeline. Step j feeds input sample j to lane 0 and yields the low band of
// sample j - kLag from the last lane. The first and last kLag steps run with the lanes that
// have no sample masked off, so no stage runs a sample twice or skips one.
template <VstInt32 Mode, VstInt32 Stages>
void renderPipelined(FilterStage (&stages)[2][4], const Band& band) {
    constexpr VstInt32 kLag = 2 * (Stages - 1);
    const __m128 antiDenormal = _mm_set1_ps(kAntiDenormal);
    StageLanes left(stages[0], Stages), right(stages[1], Stages);
    const float s = band.spread;
    const float h = (s + 1.0f) * 0.5f;
    const float cross = 1.0f - s;
    const VstInt32 count = band.count;

    for (VstInt32 j = 0; j < kLag; ++j) {
        const __m128 active = lanes(kFilling[j]);
        left.Step(band.inL[j], antiDenormal, active);
        right.Step(band.inR[j], antiDenormal, active);
    }
    for (VstInt32 j = kLag; j < count; ++j) {
        // This step's input is read before the output kLag samples back is written, so
        // in-place buffers are fine.
        left.Step(band.inL[j], antiDenormal);
        right.Step(band.inR[j], antiDenormal);
        const VstInt32 i = j - kLag;
        writeOutput<Mode>(band, i, band.inL[i], band.inR[i], left.Output<Stages - 1>(),
                          right.Output<Stages - 1>(), cross, h);
    }
    for (VstInt32 j = count; j < count + kLag; ++j) {
        const __m128 active = lanes(kDraining[j - count]);
        left.Step(0.0f, antiDenormal, active);
        right.Step(0.0f, antiDenormal, active);
        const VstInt32 i = j - kLag;
        writeOutput<Mode>(band, i, band.inL[i], band.inR[i], left.Output<Stages - 1>(),
                          right.Output<Stages - 1>(), cross, h);
    }
    left.Store(stages[0], Stages);
    right.Store(stages[1], Stages);
}

// Short pieces (between MIDI events) gain nothing from the pipeline's fill and drain.
template <VstInt32 Mode, VstInt32 Stages>
void renderCascade(FilterStage (&stages)[2][4], const Band& band) {
    if (Stages > 1 && band.count >= 4 * Stages)
        renderPipelined<Mode, Stages>(stages, band);
    else
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
