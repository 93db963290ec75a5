// A cascade of two to four filter stages on both channels, run as a pipeline in two SSE
// registers: the even stages of both channels in one ([L0, R0, L2, R2]), the odd stages in the
// other ([L1, R1, L3, R3]). Each stage works some samples behind the one before it:
//   stage 1 takes stage 0's output of the step before, lane for lane, so the odd register's
//     input is the even register's previous output as it stands;
//   stage 2 takes stage 1's output from two steps before, moved up two lanes, so that move
//     stays off the path from one step to the next;
//   stage 3 takes stage 2's output of the step before, lane for lane.
// A step then waits only for one stage's own recursion, and four stages on both channels cost
// about what one stage on one channel does. Each lane performs exactly the scalar operations in
// the scalar order, so the samples are the same as a stage-by-stage rendering.
//
// Arithmetic is the per-lane recursion of one register:
//   Arithmetic(const Stage* const (&lanes)[4])   takes each lane's coefficients and state;
//   __m128 Step(__m128 x)                        every lane takes x, returns the outputs;
//   void Keep(__m128 lanes, const Arithmetic& a)  the given lanes take their state from a;
//   void Store(Stage* const (&lanes)[4]) const    gives the state back (null lanes: skipped).
#pragma once

#include <emmintrin.h>

#include <cstdint>

namespace StagePipeline {

// The step at which each stage takes its first sample.
constexpr int kLag[4] = {0, 1, 3, 4};

// Stage k's two lanes (left, right) in its register.
alignas(16) constexpr std::int32_t kStageLanes[2][4] = {{-1, -1, 0, 0}, {0, 0, -1, -1}};

inline __m128 StageLanes(int stage) {
    return _mm_load_ps(reinterpret_cast<const float*>(kStageLanes[stage / 2]));
}

inline __m128 Select(__m128 mask, __m128 whenSet, __m128 otherwise) {
    return _mm_or_ps(_mm_and_ps(mask, whenSet), _mm_andnot_ps(mask, otherwise));
}

// Low bands of up to kChunk samples, gathered so that the mix with the input can work on
// several samples at once.
constexpr int kChunk = 64;
struct LowChunk {
    alignas(16) float left[kChunk];
    alignas(16) float right[kChunk];
};

// Worth it once a piece is long enough to hide the fill and drain.
constexpr bool Pays(int stages, int count) {
    return stages > 1 && count >= 4 * stages;
}

// Runs count samples of both channels through the first Stages stages (2..4, and Pays),
// calling mix(start, n, low) for each chunk of samples start .. start + n - 1 in order, and
// leaves the stages' states where a stage-by-stage rendering would. A chunk is mixed after all
// of its inputs and before any input past start + n + kLag[Stages - 1] was read, so in-place
// buffers are fine.
//
// While the pipeline fills and drains, lanes without a sample step on whatever they are fed:
// cheaper than holding them still at every step. A stage's state is put back to where it
// started just before its first sample, and taken as final just after its last.
template <int Stages, typename Arithmetic, typename Stage, typename Mix>
void Run(Stage (&stages)[2][4], const float* inL, const float* inR, int count, Mix&& mix) {
    static_assert(Stages >= 2 && Stages <= 4, "one stage needs no pipeline");
    constexpr int kLast = kLag[Stages - 1];
    constexpr int kUpperEven = Stages > 2 ? 2 : 0;  // unused lanes run on copies
    constexpr int kUpperOdd = Stages > 3 ? 3 : 1;
    Stage* const evenLanes[4] = {&stages[0][0], &stages[1][0], &stages[0][kUpperEven],
                                 &stages[1][kUpperEven]};
    Stage* const oddLanes[4] = {&stages[0][1], &stages[1][1], &stages[0][kUpperOdd],
                                &stages[1][kUpperOdd]};
    const Stage* const evenSources[4] = {evenLanes[0], evenLanes[1], evenLanes[2], evenLanes[3]};
    const Stage* const oddSources[4] = {oddLanes[0], oddLanes[1], oddLanes[2], oddLanes[3]};
    Arithmetic even(evenSources), odd(oddSources);
    const Arithmetic evenStart = even, oddStart = odd;
    __m128 evenY = _mm_setzero_ps(), oddY = _mm_setzero_ps(), oddEarlier = _mm_setzero_ps();

    const auto step = [&](float left, float right) {
        const __m128 pair = _mm_unpacklo_ps(_mm_set_ss(left), _mm_set_ss(right));
        const __m128 evenIn = _mm_movelh_ps(pair, oddEarlier);
        const __m128 oddIn = evenY;
        oddEarlier = oddY;
        evenY = even.Step(evenIn);
        oddY = odd.Step(oddIn);
    };
    LowChunk chunk;
    int filled = 0;
    const auto low = [&](int i) {
        constexpr int kSlot = 2 * ((Stages - 1) / 2);
        const __m128 y = (Stages - 1) % 2 == 0 ? evenY : oddY;
        const __m128 left = _mm_shuffle_ps(y, y, _MM_SHUFFLE(kSlot, kSlot, kSlot, kSlot));
        const __m128 right =
            _mm_shuffle_ps(y, y, _MM_SHUFFLE(kSlot + 1, kSlot + 1, kSlot + 1, kSlot + 1));
        chunk.left[filled] = _mm_cvtss_f32(left);
        chunk.right[filled] = _mm_cvtss_f32(right);
        if (++filled == kChunk || i + 1 == count) {
            mix(i + 1 - filled, filled, chunk);
            filled = 0;
        }
    };
    // Gives stage k's lanes in target the state they have in from.
    const auto keep = [](int k, Arithmetic& evenTarget, Arithmetic& oddTarget,
                         const Arithmetic& evenFrom, const Arithmetic& oddFrom) {
        if (k % 2 == 0)
            evenTarget.Keep(StageLanes(k), evenFrom);
        else
            oddTarget.Keep(StageLanes(k), oddFrom);
    };

    for (int j = 0; j <= kLast; ++j) {
        for (int k = 1; k < Stages; ++k)
            if (kLag[k] == j) keep(k, even, odd, evenStart, oddStart);
        if (j < kLast) step(inL[j], inR[j]);
    }
    for (int j = kLast; j < count; ++j) {
        step(inL[j], inR[j]);
        low(j - kLast);
    }
    Arithmetic evenFinal = even, oddFinal = odd;  // stage 0 is done
    for (int j = count; j < count + kLast; ++j) {
        step(0.0f, 0.0f);
        low(j - kLast);
        for (int k = 1; k < Stages; ++k)
            if (count - 1 + kLag[k] == j) keep(k, evenFinal, oddFinal, even, odd);
    }
    // Lanes of stages beyond the count ran on copies and are not stored.
    Stage* const evenStore[4] = {evenLanes[0], evenLanes[1], Stages > 2 ? evenLanes[2] : nullptr,
                                 Stages > 2 ? evenLanes[3] : nullptr};
    Stage* const oddStore[4] = {oddLanes[0], oddLanes[1], Stages > 3 ? oddLanes[2] : nullptr,
                                Stages > 3 ? oddLanes[3] : nullptr};
    evenFinal.Store(evenStore);
    oddFinal.Store(oddStore);
}

}  // namespace StagePipeline
