#include "SynthToolkit/ServiceDispatcher.h"

#include <cmath>
#include <limits>

namespace SynthToolkit {

ServiceDispatcher::ServiceDispatcher()
    : songPosition(std::numeric_limits<float>::quiet_NaN()), controllers(&messages) {}

void ServiceDispatcher::setSampleRate(float rate) {
    if (!(rate > 0.0f) || !std::isfinite(rate) || rate == sampleRate) return;
    sampleRate = rate;
    sampleRateObservers.forEach([rate](ISampleRateObserver* o) { o->sampleRateChanged(rate); });
}

void ServiceDispatcher::setTempo(float beatsPerMinute) {
    if (!std::isfinite(beatsPerMinute) || beatsPerMinute == tempo) return;
    tempo = beatsPerMinute;
    tempoObservers.forEach(
        [beatsPerMinute](ITempoObserver* o) { o->tempoChanged(beatsPerMinute); });
}

void ServiceDispatcher::setSongPosition(float quarterNotes) {
    // The first position always differs: the stored NaN compares unequal to everything.
    if (!std::isfinite(quarterNotes) || quarterNotes == songPosition) return;
    songPosition = quarterNotes;
    songPositionObservers.forEach(
        [quarterNotes](ISongPositionObserver* o) { o->songPositionChanged(quarterNotes); });
}

void ServiceDispatcher::resetAll() {
    resettables.forEach([](IResettable* o) { o->reset(); });
}

void ServiceDispatcher::smoothAll(int frames) {
    smoothables.forEach([frames](ISmoothable* o) { o->smooth(frames); });
}

}  // namespace SynthToolkit
