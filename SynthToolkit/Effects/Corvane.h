// The signal path of the effect: each channel is split at the cutoff by one to four identical
// exponential low-pass stages; the low band is cross-fed between the channels ("Stereo
// Spread") and amplified ("Bass Amp"), both read per sample from smoother buffers; the output
// is the untouched input, the treated low band, the high band (input minus low band) or both.
//
// Threads: process runs on the audio thread with the model's lock held; the value callbacks run
// under the same lock on the thread that changes the parameter, so never inside a sub-block.
// reset and sampleRateChanged come from the services, under the lock as well.
#pragma once

#include "SynthToolkit/Effects/LowPassStage.h"
#include "SynthToolkit/IServiceProvider.h"
#include "SynthToolkit/Parameters/Smoother.h"

namespace SynthToolkit::Effects {

class Corvane : public IResettable, public ISampleRateObserver {
public:
    static constexpr int kStageCount = 4;
    static constexpr int kMaxFrames = Parameters::Smoother::kBufferSize;
    enum OutputMode : int { kOff = 0, kLow = 1, kHigh = 2, kBoth = 3 };

    // The cutoff parameter's transform: working value = 10000 x v^2 Hz (v = 0.1 gives 100 Hz).
    struct CutoffFrequencyTransform {
        static float toWorking(float v) { return 10000.0f * (v * v); }
    };

    // The effect's five parameters; defined in CorvaneParameterGroup.h.
    template <int Programs>
    class ParameterGroup;

    // What a detached smoothed parameter leaves behind, so the path never reads through null.
    static const float zeroValues[kMaxFrames];

    // Registers as resettable and sample-rate observer; services must outlive the object. It
    // does not ask for the current rate: the parameters deliver the cutoff right after.
    explicit Corvane(IServiceProvider* services);
    ~Corvane() override;
    Corvane(const Corvane&) = delete;
    Corvane& operator=(const Corvane&) = delete;

    // Clears the eight stage states.
    void reset() override;
    void sampleRateChanged(float rate) override;

    // Input and output may be the same buffers. frames above kMaxFrames are cut to it (the
    // smoother buffers hold no more); null buffers or frames <= 0 process nothing.
    void process(const float* inL, const float* inR, float* outL, float* outR, int frames);

    // Indices outside 0..3 are taken as the nearest valid one, so the stage arrays and the mode
    // switch are never left.
    void setOutputMode(int index);
    // A NaN frequency is ignored.
    void setCutoff(float frequency);
    void setSlope(int index);
    // Null means zeroValues.
    void setSpreadValues(const float* values);
    void setGainValues(const float* values);

    int outputMode() const { return mode; }
    int slopeIndex() const { return slope; }
    const float* spreadValues() const { return spread; }
    const float* gainValues() const { return gain; }
    const LowPassStage& stage(int channel, int k) const { return stages[channel & 1][k & 3]; }

private:
    template <int Mode>
    void renderMode(const float* inL, const float* inR, float* outL, float* outR, int frames);
    template <int Mode, int Stages>
    void render(const float* inL, const float* inR, float* outL, float* outR, int frames);

    int mode = kBoth;
    int slope = 0;
    const float* spread = zeroValues;
    const float* gain = zeroValues;
    LowPassStage stages[2][kStageCount];  // left, right
    IServiceProvider* serviceProvider;
};

}  // namespace SynthToolkit::Effects
