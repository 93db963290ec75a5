// What a Model tells whoever drives it about the changes it makes itself: the Controller of the
// VST 2.x plug-in, or a VST3 processor that reports them to its host with the audio.
#pragma once

#include "vst/VstInterface.h"

namespace VstToolkit {

// The editor's MIDI learn actions as one value, so that another copy of the model (a VST3
// processor's, apart from its controller's) can be told to do the same.
struct MidiLearnCommand {
    enum Kind : VstInt32 {
        kStart = 0,     // value: the parameter to learn
        kCancel = 1,    // stop learning
        kForget = 2,    // value: the controller to unbind; stops learning
        kClearAll = 3,  // unbind every controller; stops learning
    };
    Kind kind;
    VstInt32 value;
};

class ModelObserver {
public:
    // A learned controller moved a parameter, at deltaFrames of the block. Audio thread.
    virtual void OnModelParameterValueChanged(VstInt32 index, float value,
                                              VstInt32 deltaFrames) = 0;
    // MIDI learn bound the controller to the parameter, at deltaFrames. Audio thread.
    virtual void OnModelMidiLearned(VstInt32 controllerNumber, VstInt32 parameter,
                                    VstInt32 deltaFrames) = 0;
    // The model carried out a MIDI learn action. The thread that asked for it: the editor's
    // menus, on the user-interface thread.
    virtual void OnModelMidiLearnCommand(const MidiLearnCommand&) {}

protected:
    ~ModelObserver() = default;
};

}  // namespace VstToolkit
