// Told about changes of the Model's state. Both calls run with the model's lock held, on the
// thread that made the change: the host's user-interface thread for host and editor changes,
// the audio thread for changes a MIDI controller causes.
#pragma once

namespace SynthToolkit {

class IModelObserver {
public:
    virtual ~IModelObserver() = default;
    // One parameter, by its global index, has a new value.
    virtual void parameterChanged(int index) = 0;
    // Any value may have changed: a program change or a chunk load.
    virtual void modelChanged() = 0;
};

}  // namespace SynthToolkit
