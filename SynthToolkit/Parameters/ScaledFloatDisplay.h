#pragma once

#include <cmath>
#include <cstdio>

#include "SynthToolkit/Parameters/DisplayText.h"

namespace SynthToolkit::Parameters {

// "%d" of the working value x 100 rounded half away from zero (0.995 shows 100, 0.994 shows
// 99), cut after 7 characters.
struct ScaledFloatDisplay {
    static void format(float working, DisplayField& text) {
        const double scaled = static_cast<double>(working) * 100.0;
        if (!(std::fabs(scaled) < 2.0e9)) {
            // Beyond what an int holds (or NaN); only values far outside 0..1 get here.
            storeDisplay(text, "Huge!");
            return;
        }
        const int magnitude = static_cast<int>(std::fabs(scaled) + 0.5);
        FormatBuffer formatted;
        std::snprintf(formatted, sizeof(formatted), "%d", scaled < 0.0 ? -magnitude : magnitude);
        storeDisplay(text, formatted);
    }
};

}  // namespace SynthToolkit::Parameters
