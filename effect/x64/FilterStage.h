// One first-order low-pass stage: the bilinear transform with a pre-warped cutoff (gain 1 at DC,
// 0 at half the sample rate, -3 dB at the cutoff). Every operation is single precision and in
// the order given, so the output is reproducible sample for sample.
#pragma once

#include <math.h>

namespace QuellinCorvane {

// 6.283186 (bits 0x40C90FDC): deliberately not the float nearest to 2 pi.
constexpr float kTwoPi = 0x1.921fb8p+2f;
// 3.141593 (bits 0x40490FDC), the angle the stages start from.
constexpr float kPi = 0x1.921fb8p+1f;
// 1e-25 (bits 0x15F79688), added to the stored state so it never decays into denormals.
constexpr float kAntiDenormal = 0x1.ef2d1p-84f;
// The pole closest to -1 that still decays (-0.99999994, the float next to -1).
constexpr float kMostNegativeStablePole = -0x1.fffffep-1f;

struct FilterStage {
    float sampleRate = 44100.0f;
    float cutoff = 22050.0f;
    float b0 = 0.0f;
    float a1 = 0.0f;
    float x1 = 0.0f;  // previous input, offset included
    float y1 = 0.0f;  // previous output, offset included
    float antiDenormal = kAntiDenormal;

    FilterStage() { SetAngle(kPi); }

    // A new cutoff in Hz, limited to half the sample rate; the state is kept.
    void SetCutoff(float frequency) {
        const float half = sampleRate * 0.5f;
        cutoff = frequency > half || frequency != frequency ? half : frequency;
        SetAngle((cutoff * kTwoPi) / sampleRate);
    }

    // A new sample rate; half and reciprocal are computed once by the caller for all stages.
    // The cutoff becomes the one last set, limited to half the new rate. Limiting the cutoff in
    // use instead would keep a lowered cutoff when the rate rose again, until the knob next
    // moved: the knob would show 10 kHz while 8 kHz played.
    void SetSampleRate(float rate, float half, float reciprocal, float cutoffAsSet) {
        sampleRate = rate;
        cutoff = half >= cutoffAsSet ? cutoffAsSet : half;
        SetAngle((cutoff * kTwoPi) * reciprocal);
    }

    void Reset() {
        x1 = 0.0f;
        y1 = 0.0f;
    }

    float Process(float x) {
        float t = x + x1;
        t = t * b0;
        const float u = a1 * y1;
        const float y = t + u;
        x1 = x + antiDenormal;
        y1 = y + antiDenormal;
        return y;
    }

private:
    // w is the cutoff's angular frequency in radians per sample. At half the sample rate the
    // angle comes out a hair above pi (kTwoPi is above 2 pi), sin(w) turns negative and the
    // pole lands just outside the unit circle: the stage would grow without bound over
    // minutes. Such a pole is moved to the nearest stable one; every other cutoff keeps its
    // coefficients bit for bit.
    void SetAngle(float w) {
        a1 = ::cosf(w) / (::sinf(w) + 1.0f);
        if (!(a1 > -1.0f)) a1 = kMostNegativeStablePole;
        b0 = (1.0f - a1) * 0.5f;
    }
};

static_assert(sizeof(FilterStage) == 28, "seven floats, no padding");

}  // namespace QuellinCorvane
