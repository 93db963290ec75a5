// The small interfaces through which objects ask the services to be reset, told about host
// changes, or smoothed once per processed span.
#pragma once

namespace SynthToolkit {

// Called by ServiceDispatcher::resetAll: after the model is built, on resume and after every
// program change, on the thread of that host call, with the model's lock held.
class IResettable {
public:
    virtual ~IResettable() = default;
    virtual void reset() = 0;
};

// Called when the host sets a sample rate that differs from the stored one; on the host's
// calling thread (usually its user-interface thread) with the model's lock held.
class ISampleRateObserver {
public:
    virtual ~ISampleRateObserver() = default;
    virtual void sampleRateChanged(float rate) = 0;
};

// Called on the audio thread before every processing span of at most 16384 frames, with the
// model's lock held, so the smoothed values for exactly those frames are ready.
class ISmoothable {
public:
    virtual ~ISmoothable() = default;
    virtual void smooth(int frames) = 0;
};

// Called on the audio thread at the start of a block when the host's tempo changed.
class ITempoObserver {
public:
    virtual ~ITempoObserver() = default;
    virtual void tempoChanged(float beatsPerMinute) = 0;
};

// Called on the audio thread at the start of a block when the host's position changed.
class ISongPositionObserver {
public:
    virtual ~ISongPositionObserver() = default;
    virtual void songPositionChanged(float quarterNotes) = 0;
};

}  // namespace SynthToolkit
