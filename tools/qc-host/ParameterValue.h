// A parameter's value in its own terms ("120Hz", "+3dB", "Both", "-12") turned into the
// normalised value the plug-in takes, learnt from the plug-in's own display texts: nothing
// here knows any particular plug-in.
//
// The rule for a value text: a bare number from 0 to 1 is the normalised value, as always.
// Anything else is in the parameter's terms: a number outside 0..1, a number followed by the
// parameter's unit label ("0.5dB"), or one of its choices ("both").
#pragma once

#include <string>
#include <vector>

#include "tools/qc-host/Session.h"

namespace QcHost {

// What a parameter's display shows across its normalised range, found by setting values and
// reading effGetParamDisplay back (the parameter's value is restored afterwards).
struct ParameterScale {
    enum class Kind {
        Choices,  // a few fixed texts, each over one stretch of the range
        Number,   // a number that never falls as the value grows
        Other,    // neither, or one text throughout: only normalised values can be given
    };
    struct Choice {
        std::string text;
        double low = 0.0, high = 0.0;  // the normalised values that show it
    };
    Kind kind = Kind::Other;
    std::vector<Choice> choices;
    double lowest = 0.0, highest = 0.0;   // Number: the display at 0 and at 1
    std::string lowestText, highestText;  // ... as the plug-in prints them
    std::string label;                    // the unit label (effGetParamLabel)

    // What --set accepts besides normalised values: "0.00 to 10000.0 Hz", "Off, Low, ...".
    std::string describe() const;
};

ParameterScale scanParameter(Session& session, int index);

// The normalised value for text (see the rule above); false with error set, naming what the
// parameter accepts, when text fits none of its forms.
bool normalisedValue(Session& session, int index, const std::string& text, float& value,
                     std::string& error);

}  // namespace QcHost
