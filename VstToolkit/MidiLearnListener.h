// Who hears what MIDI learn does on the audio thread: the VST 2.x Controller, or another
// format's boundary. Both calls come from the audio thread, inside Model::ProcessBlock, after
// the model has stored and applied the change.
#pragma once

#include "vst/VstInterface.h"

namespace VstToolkit {

class MidiLearnListener {
public:
    // A controller was bound to a parameter by MIDI learn.
    virtual void OnModelMidiLearned(VstInt32 controllerNumber, VstInt32 parameter) = 0;
    // A learned controller moved a parameter to value (normalised).
    virtual void OnModelParameterValueChanged(VstInt32 index, float value) = 0;

protected:
    virtual ~MidiLearnListener() = default;
};

}  // namespace VstToolkit
