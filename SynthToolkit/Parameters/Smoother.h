// The per-sample glide behind a smoothed parameter: a stepwise target becomes a buffer of
// per-sample values that the signal path reads while it processes the same span.
//
// Threads: setTarget runs with the model's lock held on the thread that changes the parameter;
// smooth runs on the audio thread, and the plug-in holds the same lock around it and the
// processing of the span, so a span sees either the old or the new target.
#pragma once

#include <cstdint>

#include "SynthToolkit/IServiceProvider.h"

namespace SynthToolkit::Parameters {

enum SmootherState : std::int32_t { Ramping = 0, Arrived = 1, Steady = 2 };

class Smoother : public IResettable, public ISampleRateObserver, public ISmoothable {
public:
    static constexpr int kBufferSize = 16384;
    // The glide aims this far past the target so that it crosses it in finite time.
    static constexpr float kAimOffset = 0.0001f;

    // Registers as resettable, sample-rate observer and smoothable, in that order, and starts
    // at 0 with the whole buffer 0. The provider must outlive the smoother.
    explicit Smoother(IServiceProvider* provider);
    ~Smoother() override;
    Smoother(const Smoother&) = delete;
    Smoother& operator=(const Smoother&) = delete;

    // A NaN target is refused: it would end up in every sample of the buffer.
    void setTarget(float x);
    // Valid for the smoother's lifetime.
    const float* buffer() const { return values; }

    // current jumps to the target; state Steady. The buffer follows on the next smooth, which
    // writes only the frames it is asked for: a reset on the audio thread (every glide ends in
    // one) costs nothing until those frames are read.
    void reset() override;
    // The rate is read back from the provider, which has stored it already.
    void sampleRateChanged(float rate) override;
    // Fills buffer()[0 .. frames-1]; frames above kBufferSize are treated as kBufferSize.
    void smooth(int frames) override;

    float target() const { return targetValue; }
    float current() const { return currentValue; }
    float coefficient() const { return glideCoefficient; }
    SmootherState state() const { return smootherState; }

private:
    enum Direction : std::int32_t { Up = 0, Down = 1 };

    void updateCoefficient();

    float targetValue = 0.0f;
    float timeConstant = 0.1f;  // seconds
    SmootherState smootherState = Steady;
    std::int32_t direction = Up;
    float glideCoefficient = 0.0f;
    float currentValue = 0.0f;
    float aimValue = 0.0f;
    // While Steady, values[0 .. steadyFrames-1] already hold the target.
    int steadyFrames = 0;
    float values[kBufferSize];
    IServiceProvider* provider;
};

}  // namespace SynthToolkit::Parameters
