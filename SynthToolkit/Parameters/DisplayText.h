// Display texts live in 8-byte fields: formatted text longer than 7 characters is cut after its
// seventh character.
#pragma once

#include "vst/TextTools.h"

namespace SynthToolkit::Parameters {

using DisplayField = char[8];
// Room for any finite float in the formats used; snprintf cuts anything longer.
using FormatBuffer = char[64];

inline void storeDisplay(DisplayField& field, const char* formatted) {
    VstText::ReplaceField(field, formatted);
}

}  // namespace SynthToolkit::Parameters
