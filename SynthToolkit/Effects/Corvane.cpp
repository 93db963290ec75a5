// The per-sample signal path. Each formula is evaluated in the order written. The stages run as
// a pipeline in SSE lanes (StagePipeline), with the same samples as the stage-by-stage loop
// that short pieces keep.
#include "SynthToolkit/Effects/Corvane.h"

#include <cmath>
#include <cstring>

#include "dsp/StagePipeline.h"

namespace SynthToolkit::Effects {
namespace {

int clampIndex(int index) {
    return index < 0 ? 0 : (index > 3 ? 3 : index);
}

// LowPassStage::process, one stage per lane.
struct LowPassStageLanes {
    __m128 coefficient, state;
    __m128 antiDenormal = _mm_set1_ps(LowPassStage::kAntiDenormal);

    // Lane by lane into registers: four scalar stores read back as one vector would wait for
    // the stores to complete, and the first step waits for the state.
    explicit LowPassStageLanes(const LowPassStage* const (&lanes)[4])
        : coefficient(_mm_setr_ps(lanes[0]->coefficient, lanes[1]->coefficient,
                                  lanes[2]->coefficient, lanes[3]->coefficient)),
          state(_mm_setr_ps(lanes[0]->state, lanes[1]->state, lanes[2]->state, lanes[3]->state)) {}

    __m128 Step(__m128 x) {
        const __m128 change = _mm_mul_ps(_mm_sub_ps(x, state), coefficient);
        state = _mm_add_ps(_mm_add_ps(state, change), antiDenormal);
        return state;
    }
    static float StepOne(LowPassStage& stage, float x) { return stage.process(x); }
    void TakeStageState(int k, const LowPassStageLanes& from) {
        state = Dsp::ReplaceStageLanes(k, from.state, state);
    }

    void Store(LowPassStage* const (&lanes)[4]) const {
        alignas(16) float s[4];
        _mm_store_ps(s, state);
        for (int k = 0; k < 4; ++k)
            if (lanes[k] != nullptr) lanes[k]->state = s[k];
    }
};

}  // namespace

const float Corvane::zeroValues[Corvane::kMaxFrames] = {};

Corvane::Corvane(IServiceProvider* services) : serviceProvider(services) {
    if (serviceProvider == nullptr) return;
    serviceProvider->addResettable(this);
    serviceProvider->addSampleRateObserver(this);
}

Corvane::~Corvane() {
    if (serviceProvider == nullptr) return;
    serviceProvider->removeResettable(this);
    serviceProvider->removeSampleRateObserver(this);
}

void Corvane::reset() {
    for (auto& channel : stages)
        for (LowPassStage& s : channel) s.reset();
}

void Corvane::sampleRateChanged(float rate) {
    for (int k = 0; k < kStageCount; ++k) {
        stages[0][k].setSampleRate(rate);
        stages[1][k].setSampleRate(rate);
    }
}

void Corvane::setOutputMode(int index) {
    mode = clampIndex(index);
}
void Corvane::setSlope(int index) {
    slope = clampIndex(index);
}

void Corvane::setCutoff(float frequency) {
    if (std::isnan(frequency)) return;
    for (int k = 0; k < kStageCount; ++k) {
        stages[0][k].setCutoff(frequency);
        stages[1][k].setCutoff(frequency);
    }
}

void Corvane::setSpreadValues(const float* values) {
    spread = values != nullptr ? values : zeroValues;
}

void Corvane::setGainValues(const float* values) {
    gain = values != nullptr ? values : zeroValues;
}

void Corvane::process(const float* inL, const float* inR, float* outL, float* outR, int frames) {
    if (inL == nullptr || inR == nullptr || outL == nullptr || outR == nullptr || frames <= 0)
        return;
    if (frames > kMaxFrames) frames = kMaxFrames;
    switch (mode) {
        case kOff:
            // The stages are frozen while the input passes untouched.
            if (outL != inL)
                std::memmove(outL, inL, sizeof(float) * static_cast<std::size_t>(frames));
            if (outR != inR)
                std::memmove(outR, inR, sizeof(float) * static_cast<std::size_t>(frames));
            break;
        case kLow: renderMode<kLow>(inL, inR, outL, outR, frames); break;
        case kHigh: renderMode<kHigh>(inL, inR, outL, outR, frames); break;
        default: renderMode<kBoth>(inL, inR, outL, outR, frames); break;
    }
}

// Mode and stage count fixed at compile time, so the per-sample loop has no decisions left.
template <int Mode>
void Corvane::renderMode(const float* inL, const float* inR, float* outL, float* outR, int frames) {
    switch (slope) {
        case 0: render<Mode, 1>(inL, inR, outL, outR, frames); break;
        case 1: render<Mode, 2>(inL, inR, outL, outR, frames); break;
        case 2: render<Mode, 3>(inL, inR, outL, outR, frames); break;
        default: render<Mode, 4>(inL, inR, outL, outR, frames); break;
    }
}

namespace {

// The treated low band mixed with the high band, four samples at a time or one; spread and
// gain come per sample. Each lane of MixGroupOfFour performs MixSample's operations in its
// order. Inputs are read before outputs are written: in-place and crossed buffers are fine.
template <int Mode>
struct Mixer {
    const float* inL;
    const float* inR;
    const float* spread;
    const float* gain;
    float* outL;
    float* outR;
    __m128 one = _mm_set1_ps(1.0f), half = _mm_set1_ps(0.5f);

    void MixGroupOfFour(int i, __m128 lowL, __m128 lowR) const {
        const __m128 highL = _mm_sub_ps(_mm_loadu_ps(inL + i), lowL);
        const __m128 highR = _mm_sub_ps(_mm_loadu_ps(inR + i), lowR);
        if (Mode == Corvane::kHigh) {
            _mm_storeu_ps(outL + i, highL);
            _mm_storeu_ps(outR + i, highR);
            return;
        }
        const __m128 s = _mm_loadu_ps(spread + i), g = _mm_loadu_ps(gain + i);
        const __m128 h = _mm_mul_ps(_mm_add_ps(s, one), half);
        const __m128 cross = _mm_sub_ps(one, s);
        const __m128 treatedL =
            _mm_mul_ps(_mm_mul_ps(_mm_add_ps(_mm_mul_ps(cross, lowR), lowL), g), h);
        const __m128 treatedR =
            _mm_mul_ps(_mm_mul_ps(_mm_add_ps(_mm_mul_ps(cross, lowL), lowR), g), h);
        if (Mode == Corvane::kLow) {
            _mm_storeu_ps(outL + i, treatedL);
            _mm_storeu_ps(outR + i, treatedR);
        } else {
            _mm_storeu_ps(outL + i, _mm_add_ps(treatedL, highL));
            _mm_storeu_ps(outR + i, _mm_add_ps(highR, treatedR));
        }
    }

    void MixSample(int i, float lowL, float lowR) const {
        const float highL = inL[i] - lowL;
        const float highR = inR[i] - lowR;
        if (Mode == Corvane::kHigh) {
            outL[i] = highL;
            outR[i] = highR;
            return;
        }
        const float s = spread[i];
        const float h = (s + 1.0f) * 0.5f;
        // (((1 - s) x other) + own) x g x h, left to right.
        const float treatedL = (((1.0f - s) * lowR) + lowL) * gain[i] * h;
        const float treatedR = (((1.0f - s) * lowL) + lowR) * gain[i] * h;
        if (Mode == Corvane::kLow) {
            outL[i] = treatedL;
            outR[i] = treatedR;
        } else {
            outL[i] = treatedL + highL;
            outR[i] = highR + treatedR;
        }
    }
};

}  // namespace

template <int Mode, int Stages>
void Corvane::render(const float* inL, const float* inR, float* outL, float* outR, int frames) {
    Mixer<Mode> mixer{inL, inR, spread, gain, outL, outR};
    Dsp::RunCascade<Stages, LowPassStageLanes>(stages, inL, inR, frames, mixer);
}

}  // namespace SynthToolkit::Effects
