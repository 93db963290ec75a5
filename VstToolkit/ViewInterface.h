// What the Controller needs of the editor's view. The audio thread may call both operations
// (a learned MIDI controller), so an implementation only stores values and invalidates or posts.
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
