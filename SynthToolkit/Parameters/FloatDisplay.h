#pragma once

#include <cstdio>

#include "SynthToolkit/Parameters/DisplayText.h"

namespace SynthToolkit::Parameters {

// "%.3f" of the working value, cut after 7 characters (10000.000 shows 10000.0).
struct FloatDisplay {
    static void format(float working, DisplayField& text) {
        FormatBuffer formatted;
        std::snprintf(formatted, sizeof(formatted), "%.3f", static_cast<double>(working));
        storeDisplay(text, formatted);
    }
};

}  // namespace SynthToolkit::Parameters
