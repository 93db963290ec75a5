// A parameter's value in its own terms ("120Hz", "+3dB", "Both", "-12") turned into the
// normalised value the plug-in takes, by the scales of the effect's parameter table. Both
// builds of Quellin Corvane (one unique ID, five parameters) have them; any other plug-in
// takes normalised values only.
//
// The rule for a value text: a bare number from 0 to 1 is the normalised value, as always.
// Anything else is in the parameter's terms: a number outside 0..1, a number followed by the
// parameter's unit ("0.5dB"), or one of its choices ("both").
#pragma once

#include <string>

#include "effect/x64/ParameterTable.h"
#include "tools/qc-host/Session.h"

namespace QcHost {

// The table's row for the parameter, or null when the plug-in is not Quellin Corvane.
const QuellinCorvane::ParameterRow* knownScale(Session& session, int index);

// What --set takes besides normalised values: "0.00 to 10000.0 Hz", "Off, Low, High, Both",
// or "normalised values only".
std::string describeAccepted(Session& session, int index);

// The normalised value for text (see the rule above); false with error set, naming what the
// parameter accepts, when text fits none of its forms.
bool normalisedValue(Session& session, int index, const std::string& text, float& value,
                     std::string& error);

}  // namespace QcHost
