// The application messages between the dialog controls and their view. All are posted. A
// normalised value travels as the 32 bits of its float.
#pragma once

#include <cstdint>
#include <cstring>

#include "SynthToolkit/Gui/Win32.h"

namespace SynthToolkit {
namespace Gui {

// View to control: wParam the value. View to its own dialog: wParam the parameter index,
// lParam the value.
constexpr UINT WM_APP_SET_VALUE = WM_APP + 1;
// Control to dialog: wParam the control id, lParam the value.
constexpr UINT WM_APP_VALUE_CHANGED = WM_APP + 2;
// Control to dialog, wParam the control id, for the next three.
constexpr UINT WM_APP_RESET_VALUE = WM_APP + 3;
constexpr UINT WM_APP_HOVER = WM_APP + 4;
constexpr UINT WM_APP_LEAVE = WM_APP + 5;

inline std::uintptr_t floatBits(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

inline float floatFromBits(std::uintptr_t word) {
    const auto bits = static_cast<std::uint32_t>(word);
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

}  // namespace Gui
}  // namespace SynthToolkit
