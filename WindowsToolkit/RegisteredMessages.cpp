#include "WindowsToolkit/RegisteredMessages.h"

namespace WindowsToolkit {
namespace {

#define QC_MESSAGE_SUFFIX "-{19E51BEB-CF75-46aa-9890-B4178F0367D8}"

// Initialised while the DLL loads, before any window exists.
const RegisteredMessages registered = {
    RegisterWindowMessageA("UWM_VIEW_STATUS_TEXT_CHANGED" QC_MESSAGE_SUFFIX),
    RegisterWindowMessageA("UWM_PC_VALUE_CHANGED" QC_MESSAGE_SUFFIX),
    RegisterWindowMessageA("UWM_PC_HOVER" QC_MESSAGE_SUFFIX),
    RegisterWindowMessageA("UWM_PC_LEAVE" QC_MESSAGE_SUFFIX),
    RegisterWindowMessageA("UWM_PC_RIGHT_CLICKED" QC_MESSAGE_SUFFIX),
    RegisterWindowMessageA("UWM_PC_GESTURE_BEGAN" QC_MESSAGE_SUFFIX),
    RegisterWindowMessageA("UWM_PC_GESTURE_ENDED" QC_MESSAGE_SUFFIX),
};

#undef QC_MESSAGE_SUFFIX

}  // namespace

const RegisteredMessages& Messages() {
    return registered;
}

}  // namespace WindowsToolkit
