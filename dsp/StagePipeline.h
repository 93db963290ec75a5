// A cascade of one to four filter stages on both channels, run as a pipeline in two SSE
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
// StageLanes is one register's four stages, one stage of one channel per lane:
//   StageLanes(const Stage* const (&lanes)[4])       takes each lane's coefficients and state;
//   __m128 Step(__m128 x)                            every lane takes x, returns the outputs;
//   static float StepOne(Stage& s, float x)          one lane's recursion, on one stage;
//   void TakeStageState(int k, const StageLanes& a)  stage k's lanes take their state from a;
//   void Store(Stage* const (&lanes)[4]) const       gives the state back (null lanes: skipped).
// Mixer combines the low bands with the input, and writes the output:
//   void MixGroupOfFour(int start, __m128 lowL, __m128 lowR)  samples start .. start + 3;
//   void MixSample(int i, float lowL, float lowR)             sample i.
#pragma once

#include <emmintrin.h>

#include <array>
#include <cstddef>
#include <utility>

namespace Dsp {

// The step at which each stage takes its first sample.
constexpr int kFirstStep[4] = {0, 1, 3, 4};

// into, with stage k's two lanes (left, right) replaced by those of from: the lower pair for
// stages 0 and 1, the upper pair for stages 2 and 3.
inline __m128 ReplaceStageLanes(int k, __m128 from, __m128 into) {
    const __m128d f = _mm_castps_pd(from), t = _mm_castps_pd(into);
    return _mm_castpd_ps(k < 2 ? _mm_move_sd(t, f) : _mm_move_sd(f, t));
}

// The mix runs kMixDelay samples behind the steps, one group of four after every fourth step:
// far enough back that the group's low bands are long computed, so the mix never waits on the
// recursion, and a group at a time, so it never holds the steps up in a burst. What is still
// behind after the last step is mixed then, which short blocks feel: the delay stays short.
constexpr int kMixDelay = 8;
// The outputs of the last stage's register, one per step: room for the delay and a group.
constexpr int kLastStageRing = 16;
static_assert(kMixDelay % 4 == 0 && kMixDelay + 4 <= kLastStageRing, "whole groups fit the ring");

// Whether a piece is long enough for the pipeline to hide its fill and drain.
constexpr bool UsesPipeline(int stages, int count) {
    return count >= 4 * stages;
}

// Runs count samples of both channels through the first Stages stages (1..4, UsesPipeline),
// handing every sample's low bands to the mixer in order, and leaves the stages' states where a
// stage-by-stage rendering would. A sample is mixed only once the stages are past its input for
// good; with a mixer that reads a group's inputs before writing its outputs, in-place and
// crossed buffers are fine.
//
// While the pipeline fills and drains, lanes without a sample step on whatever they are fed:
// cheaper than holding them still at every step. A stage's state is put back to where it
// started just before its first sample, and taken as final just after its last.
template <int Stages, typename StageLanes, typename Stage, typename Mixer>
void RunPipeline(Stage (&stages)[2][4], const float* inL, const float* inR, int count,
                 Mixer& mixer) {
    static_assert(Stages >= 1 && Stages <= 4, "one to four stages");
    constexpr int kLast = kFirstStep[Stages - 1];
    constexpr int kUpperEven = Stages > 2 ? 2 : 0;  // unused lanes run on copies
    constexpr int kUpperOdd = Stages > 3 ? 3 : 1;
    Stage* const evenLanes[4] = {&stages[0][0], &stages[1][0], &stages[0][kUpperEven],
                                 &stages[1][kUpperEven]};
    Stage* const oddLanes[4] = {&stages[0][1], &stages[1][1], &stages[0][kUpperOdd],
                                &stages[1][kUpperOdd]};
    const Stage* const evenSources[4] = {evenLanes[0], evenLanes[1], evenLanes[2], evenLanes[3]};
    const Stage* const oddSources[4] = {oddLanes[0], oddLanes[1], oddLanes[2], oddLanes[3]};
    StageLanes even(evenSources), odd(oddSources);
    const StageLanes evenStart = even, oddStart = odd;
    __m128 evenY = _mm_setzero_ps(), oddY = _mm_setzero_ps(), oddEarlier = _mm_setzero_ps();

    const auto step = [&](float left, float right) {
        const __m128 pair = _mm_unpacklo_ps(_mm_set_ss(left), _mm_set_ss(right));
        const __m128 evenIn = _mm_movelh_ps(pair, oddEarlier);
        if constexpr (Stages > 1) {
            const __m128 oddIn = evenY;
            oddEarlier = oddY;
            oddY = odd.Step(oddIn);
        }
        evenY = even.Step(evenIn);
    };

    // The last stage's register after each step, whole: the mix reads back exactly what was
    // stored, which the processor forwards without waiting for the store to complete.
    __m128 rows[kLastStageRing];
    constexpr bool kLastIsOdd = (Stages - 1) % 2 == 1;
    constexpr bool kLastIsUpper = Stages > 2;
    const auto row = [&](int i) { return rows[i & (kLastStageRing - 1)]; };
    const auto mixGroup = [&](int start) {
        const __m128 r0 = row(start), r1 = row(start + 1), r2 = row(start + 2), r3 = row(start + 3);
        // [L, R, L, R] of samples start, start + 1 and of start + 2, start + 3.
        const __m128 first = kLastIsUpper ? _mm_movehl_ps(r1, r0) : _mm_movelh_ps(r0, r1);
        const __m128 second = kLastIsUpper ? _mm_movehl_ps(r3, r2) : _mm_movelh_ps(r2, r3);
        mixer.MixGroupOfFour(start, _mm_shuffle_ps(first, second, _MM_SHUFFLE(2, 0, 2, 0)),
                             _mm_shuffle_ps(first, second, _MM_SHUFFLE(3, 1, 3, 1)));
    };
    const auto pushLow = [&](int i) {
        rows[i & (kLastStageRing - 1)] = kLastIsOdd ? oddY : evenY;
        if ((i & 3) == 3 && i >= kMixDelay + 3) mixGroup(i - 3 - kMixDelay);
    };
    // Gives stage k's lanes in target the state they have in from.
    const auto takeState = [](int k, StageLanes& evenTarget, StageLanes& oddTarget,
                              const StageLanes& evenFrom, const StageLanes& oddFrom) {
        if (k % 2 == 0)
            evenTarget.TakeStageState(k, evenFrom);
        else
            oddTarget.TakeStageState(k, oddFrom);
    };

    for (int j = 0; j <= kLast; ++j) {
        for (int k = 1; k < Stages; ++k)
            if (kFirstStep[k] == j) takeState(k, even, odd, evenStart, oddStart);
        if (j < kLast) step(inL[j], inR[j]);
    }
    for (int j = kLast; j < count; ++j) {
        step(inL[j], inR[j]);
        pushLow(j - kLast);
    }
    StageLanes evenFinal = even, oddFinal = odd;  // stage 0 is done
    for (int j = count; j < count + kLast; ++j) {
        step(0.0f, 0.0f);
        pushLow(j - kLast);
        for (int k = 1; k < Stages; ++k)
            if (count - 1 + kFirstStep[k] == j) takeState(k, evenFinal, oddFinal, even, odd);
    }

    // The samples the trailing mix has not reached: whole groups, then one by one.
    int next = count / 4 * 4 - kMixDelay;
    if (next < 0) next = 0;
    for (; next + 4 <= count; next += 4) mixGroup(next);
    for (; next < count; ++next) {
        alignas(16) float lanes[4];
        _mm_store_ps(lanes, row(next));
        mixer.MixSample(next, lanes[kLastIsUpper ? 2 : 0], lanes[kLastIsUpper ? 3 : 1]);
    }

    // Lanes of stages beyond the count ran on copies and are not stored.
    Stage* const evenStore[4] = {evenLanes[0], evenLanes[1], Stages > 2 ? evenLanes[2] : nullptr,
                                 Stages > 2 ? evenLanes[3] : nullptr};
    Stage* const oddStore[4] = {
        Stages > 1 ? oddLanes[0] : nullptr, Stages > 1 ? oddLanes[1] : nullptr,
        Stages > 3 ? oddLanes[2] : nullptr, Stages > 3 ? oddLanes[3] : nullptr};
    evenFinal.Store(evenStore);
    oddFinal.Store(oddStore);
}

// The same as RunPipeline, stage by stage: for pieces too short for the pipeline. The stages
// work on local copies so their state stays in registers: the output buffers are floats too,
// and could otherwise alias it.
// Copies of a channel's first stages, made without running Stage's constructor (which can
// cost a cosine and a sine per stage, on every short piece).
template <typename Stage, std::size_t... K>
std::array<Stage, sizeof...(K)> CopyStages(const Stage (&bank)[4], std::index_sequence<K...>) {
    return {bank[K]...};
}

template <int Stages, typename StageLanes, typename Stage, typename Mixer>
void RunStageByStage(Stage (&stages)[2][4], const float* inL, const float* inR, int count,
                     const Mixer& mixer) {
    auto left = CopyStages(stages[0], std::make_index_sequence<Stages>());
    auto right = CopyStages(stages[1], std::make_index_sequence<Stages>());
    for (int i = 0; i < count; ++i) {
        float lowL = inL[i];
        float lowR = inR[i];
        for (int k = 0; k < Stages; ++k) {
            lowL = StageLanes::StepOne(left[k], lowL);
            lowR = StageLanes::StepOne(right[k], lowR);
        }
        mixer.MixSample(i, lowL, lowR);
    }
    for (int k = 0; k < Stages; ++k) {
        stages[0][k] = left[k];
        stages[1][k] = right[k];
    }
}

// Either way the same samples: the pipeline only where it pays for its fill and drain. The
// stages past the first Stages keep their states.
template <int Stages, typename StageLanes, typename Stage, typename Mixer>
void RunCascade(Stage (&stages)[2][4], const float* inL, const float* inR, int count,
                Mixer& mixer) {
    if (UsesPipeline(Stages, count))
        RunPipeline<Stages, StageLanes>(stages, inL, inR, count, mixer);
    else
        RunStageByStage<Stages, StageLanes>(stages, inL, inR, count, mixer);
}

}  // namespace Dsp
