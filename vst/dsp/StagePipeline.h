// A cascade of up to four filter stages per channel, run as a pipeline in the four lanes of an
// SSE register: lane k holds stage k and works 2k samples behind lane 0, fed with what lane
// k-1 produced two steps earlier. A step then waits only for one stage's own recursion; the
// lane shift and the work on a stage's input overlap with it, so four stages cost about what
// one does. Each lane performs exactly the scalar operations in the scalar order, so the
// samples are the same as a stage-by-stage rendering.
//
// Arithmetic is the per-lane recursion:
//   __m128 Step(__m128 x)                        every lane takes x, returns the lanes' outputs;
//   void Keep(__m128 lanes, const Arithmetic& a)  the given lanes take their state from a.
#pragma once

#include <emmintrin.h>

#include <cstdint>

namespace StagePipeline {

// One lane each.
alignas(16) constexpr std::int32_t kLane[4][4] = {
    {-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}, {0, 0, 0, -1}};

inline __m128 Lanes(const std::int32_t (&bits)[4]) {
    return _mm_load_ps(reinterpret_cast<const float*>(bits));
}

inline __m128 Select(__m128 mask, __m128 whenSet, __m128 otherwise) {
    return _mm_or_ps(_mm_and_ps(mask, whenSet), _mm_andnot_ps(mask, otherwise));
}

// One channel: its stages' arithmetic and each lane's latest two outputs.
template <typename Arithmetic>
struct Channel {
    Arithmetic stages;
    __m128 y = _mm_setzero_ps();         // each lane's output of the latest step
    __m128 yEarlier = _mm_setzero_ps();  // and of the step before

    // Lane 0 takes input, lane k the output lane k-1 made two steps ago.
    __m128 Inputs(float input) const {
        const __m128 shifted = _mm_shuffle_ps(yEarlier, yEarlier, _MM_SHUFFLE(2, 1, 0, 0));
        return _mm_move_ss(shifted, _mm_set_ss(input));
    }
    void Step(float input) {
        const __m128 next = stages.Step(Inputs(input));
        yEarlier = y;
        y = next;
    }
    template <int Lane>
    float Output() const {
        return _mm_cvtss_f32(_mm_shuffle_ps(y, y, _MM_SHUFFLE(Lane, Lane, Lane, Lane)));
    }
};

// Worth it once a piece is long enough to hide the fill and drain.
constexpr bool Pays(int stages, int count) {
    return stages > 1 && count >= 4 * stages;
}

// Runs count samples of both channels through Stages stages (2..4, and Pays), calling
// emit(i, lowLeft, lowRight) for every sample i in order. emit for sample i comes after input
// i + 2 (Stages - 1) was read and before any later input is, so in-place buffers are fine.
//
// While the pipeline fills and drains, lanes without a sample step on whatever they are fed:
// cheaper than keeping them still at every step. Lane k's state is put back to where it
// started just before its first sample (step 2k), and taken as final just after its last
// (step count - 1 + 2k).
template <int Stages, typename Arithmetic, typename Emit>
void Run(Channel<Arithmetic>& left, Channel<Arithmetic>& right, const float* inL, const float* inR,
         int count, Emit&& emit) {
    static_assert(Stages >= 2 && Stages <= 4, "one stage needs no pipeline");
    constexpr int kLag = 2 * (Stages - 1);
    const Arithmetic startLeft = left.stages, startRight = right.stages;
    for (int j = 0; j < kLag; ++j) {
        if (j > 0 && j % 2 == 0) {
            left.stages.Keep(Lanes(kLane[j / 2]), startLeft);
            right.stages.Keep(Lanes(kLane[j / 2]), startRight);
        }
        left.Step(inL[j]);
        right.Step(inR[j]);
    }
    // Lane Stages - 1 starts with the first sample emitted.
    left.stages.Keep(Lanes(kLane[Stages - 1]), startLeft);
    right.stages.Keep(Lanes(kLane[Stages - 1]), startRight);
    for (int j = kLag; j < count; ++j) {
        left.Step(inL[j]);
        right.Step(inR[j]);
        emit(j - kLag, left.template Output<Stages - 1>(), right.template Output<Stages - 1>());
    }
    Arithmetic finalLeft = left.stages, finalRight = right.stages;  // lane 0 is done
    for (int j = count; j < count + kLag; ++j) {
        left.Step(0.0f);
        right.Step(0.0f);
        emit(j - kLag, left.template Output<Stages - 1>(), right.template Output<Stages - 1>());
        if ((j - count) % 2 == 1) {
            const __m128 done = Lanes(kLane[(j - count + 1) / 2]);
            finalLeft.Keep(done, left.stages);
            finalRight.Keep(done, right.stages);
        }
    }
    left.stages = finalLeft;
    right.stages = finalRight;
}

}  // namespace StagePipeline
