#include "SynthToolkit/Parameters/Smoother.h"

#include <cmath>

namespace SynthToolkit::Parameters {

Smoother::Smoother(IServiceProvider* serviceProvider) : provider(serviceProvider) {
    if (provider != nullptr) {
        provider->addResettable(this);
        provider->addSampleRateObserver(this);
        provider->addSmoothable(this);
    }
    updateCoefficient();
    reset();
}

Smoother::~Smoother() {
    if (provider == nullptr) return;
    provider->removeResettable(this);
    provider->removeSampleRateObserver(this);
    provider->removeSmoothable(this);
}

void Smoother::setTarget(float x) {
    if (std::isnan(x)) return;
    targetValue = x;
    if (x < currentValue) {
        aimValue = x - kAimOffset;
        direction = Down;
    } else {
        aimValue = x + kAimOffset;
        direction = Up;
    }
    smootherState = Ramping;
}

void Smoother::reset() {
    currentValue = targetValue;
    steadyFrames = 0;
    direction = Up;
    smootherState = Steady;
}

void Smoother::sampleRateChanged(float) {
    updateCoefficient();
}

void Smoother::updateCoefficient() {
    const double rate = provider != nullptr ? provider->currentSampleRate() : 44100.0;
    // A one-pole glide with the time constant plus one sample.
    glideCoefficient = static_cast<float>(1.0 - std::exp(-1.0 / (rate * timeConstant + 1.0)));
}

void Smoother::smooth(int frames) {
    if (smootherState == Arrived) reset();
    if (frames <= 0) return;
    if (frames > kBufferSize) frames = kBufferSize;
    if (smootherState == Steady) {
        for (; steadyFrames < frames; ++steadyFrames) values[steadyFrames] = targetValue;
        return;
    }
    int k = 0;
    for (; k < frames; ++k) {
        const bool reached =
            direction == Down ? !(targetValue < currentValue) : !(targetValue > currentValue);
        if (reached) break;
        const float next = currentValue + (aimValue - currentValue) * glideCoefficient;
        // Close to the target the step can fall below half a unit in the last place, so the
        // float stops moving short of it; without this the glide would never arrive.
        if (next == currentValue) break;
        currentValue = next;
        // The aim lies past the target; the overshoot never reaches the output.
        if (direction == Down)
            values[k] = currentValue > targetValue ? currentValue : targetValue;
        else
            values[k] = currentValue < targetValue ? currentValue : targetValue;
    }
    if (k == frames) return;
    for (; k < frames; ++k) values[k] = targetValue;
    smootherState = Arrived;
}

}  // namespace SynthToolkit::Parameters
