// What the Controller needs of the editor's view. Only the user-interface thread calls it. The
// Controller shows values from setParameter, setProgram, setChunk and the editor's open; what a
// learned MIDI controller changes on the audio thread is only marked there, and the editor's
// idle shows it (the values, and the status line cleared when a binding was learned).
#pragma once

#include "vst/VstInterface.h"

namespace VstToolkit {

class ViewInterface {
public:
    virtual ~ViewInterface() = default;
    // Shows the value on every control bound to the parameter, without reporting it back.
    virtual void UpdateParameterControl(VstInt32 index, float value) = 0;
    // Replaces the status line's text.
    virtual void SetStatusText(const char* text) = 0;
};

}  // namespace VstToolkit
