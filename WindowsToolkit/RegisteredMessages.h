// The messages through which controls and views talk to their parent. They are registered
// once per process when the DLL loads, and always posted, never sent: the receiver reads the
// sender's state when it handles the message.
#pragma once

#include "EditorCommon/Win32/Win32.h"

namespace WindowsToolkit {

struct RegisteredMessages {
    UINT statusTextChanged;  // wParam 0, lParam the text
    UINT valueChanged;       // wParam the parameter index, lParam the control
    UINT hover;
    UINT leave;
    UINT rightClicked;
    UINT gestureBegan;  // the left button went down on the control
    UINT gestureEnded;  // and came up again
};

const RegisteredMessages& Messages();

}  // namespace WindowsToolkit
