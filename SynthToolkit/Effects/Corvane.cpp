// The per-sample signal path. Each formula is evaluated in the order written.
#include "SynthToolkit/Effects/Corvane.h"

#include <cmath>
#include <cstring>

namespace SynthToolkit::Effects {
namespace {

int clampIndex(int index) {
    return index < 0 ? 0 : (index > 3 ? 3 : index);
}

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

// The active stages work on local copies so their state stays in registers: the output buffers
// are floats too and could otherwise alias it. Stages above the slope keep their states.
template <int Mode, int Stages>
void Corvane::render(const float* inL, const float* inR, float* outL, float* outR, int frames) {
    LowPassStage left[Stages], right[Stages];
    for (int k = 0; k < Stages; ++k) {
        left[k] = stages[0][k];
        right[k] = stages[1][k];
    }
    for (int i = 0; i < frames; ++i) {
        // Both inputs are read before anything is written: in-place buffers are fine.
        const float xL = inL[i];
        const float xR = inR[i];
        float lowL = xL;
        float lowR = xR;
        for (int k = 0; k < Stages; ++k) {
            lowL = left[k].process(lowL);
            lowR = right[k].process(lowR);
        }
        const float highL = xL - lowL;
        const float highR = xR - lowR;
        if (Mode == kHigh) {
            outL[i] = highL;
            outR[i] = highR;
            continue;
        }
        const float s = spread[i];
        const float g = gain[i];
        const float h = (s + 1.0f) * 0.5f;
        // (((1 - s) x other) + own) x g x h, left to right.
        const float treatedL = (((1.0f - s) * lowR) + lowL) * g * h;
        const float treatedR = (((1.0f - s) * lowL) + lowR) * g * h;
        if (Mode == kLow) {
            outL[i] = treatedL;
            outR[i] = treatedR;
        } else {
            outL[i] = treatedL + highL;
            outR[i] = highR + treatedR;
        }
    }
    for (int k = 0; k < Stages; ++k) {
        stages[0][k] = left[k];
        stages[1][k] = right[k];
    }
}

}  // namespace SynthToolkit::Effects
