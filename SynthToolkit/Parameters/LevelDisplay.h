#pragma once

#include <cmath>
#include <cstdio>

#include "SynthToolkit/Parameters/DisplayText.h"

namespace SynthToolkit::Parameters {

// "%.2f" of 20 log10(working value), the gain in dB; cut after 7 characters.
struct LevelDisplay {
    static void format(float working, DisplayField& text) {
        FormatBuffer formatted;
        std::snprintf(formatted, sizeof(formatted), "%.2f",
                      20.0 * std::log10(static_cast<double>(working)));
        storeDisplay(text, formatted);
    }
};

}  // namespace SynthToolkit::Parameters
