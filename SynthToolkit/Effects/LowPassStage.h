// One exponential one-pole low-pass stage: a sampled RC filter whose step response matches the
// analogue one at the sample instants, with unity gain at DC.
#pragma once

#include <cmath>

namespace SynthToolkit::Effects {

struct LowPassStage {
    // Keeps the recursion out of denormal numbers when the input falls silent.
    static constexpr float kAntiDenormal = 1e-25f;
    static constexpr float kTwoPi = 6.283185f;

    float sampleRate = 44100.0f;
    float cutoff = 22050.0f;
    float coefficient = 0.0f;
    float state = 0.0f;

    LowPassStage() { updateCoefficient(); }

    // 1 - exp(cutoff / sampleRate x -2 pi); 0 Hz gives 0 (the stage holds its state).
    void updateCoefficient() {
        const double exponent = static_cast<double>(cutoff / sampleRate * -kTwoPi);
        coefficient = static_cast<float>(1.0 - std::exp(exponent));
    }
    // Stored unchanged, also above half the rate: the coefficient stays below 1 and the
    // recursion stable. The state carries on.
    void setCutoff(float frequency) {
        cutoff = frequency;
        updateCoefficient();
    }
    // A cutoff above half the new rate is lowered to it (a NaN cutoff stays) and stays lowered
    // until the next setCutoff.
    void setSampleRate(float rate) {
        sampleRate = rate;
        const float half = rate * 0.5f;
        if (half < cutoff) cutoff = half;
        updateCoefficient();
    }
    void reset() { state = 0.0f; }
    float process(float x) {
        const float y = state + (x - state) * coefficient + kAntiDenormal;
        state = y;
        return y;
    }
};

static_assert(sizeof(LowPassStage) == 16, "four floats, in their documented order");

}  // namespace SynthToolkit::Effects
