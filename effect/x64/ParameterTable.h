// The effect's five parameters as data: names, unit, range, choices and default, and the pure
// functions from a normalised value to its working value, to its value in its own units and to
// its display text, and from a typed text back to a normalised value. The VST 2.x model and
// qc-host read the scales here, and so can any further plug-in format: each exists once.
//
// Every function takes any float: values outside 0..1 (which a conforming host never sends)
// and NaN count as the nearest end of the range, so no working value or text leaves its range.
#pragma once

#include <string>

namespace QuellinCorvane {

enum Parameter : int {
    kOutput = 0,
    kCutoffFrequency,
    kFilterSlope,
    kStereoSpread,
    kBassAmp,
    kParameterCount
};

enum OutputMode : int { kOutputOff = 0, kOutputLow, kOutputHigh, kOutputBoth };

constexpr int kChoiceCount = 4;  // output modes and slopes

// A display text: up to 7 characters and the terminator, as every host field holds.
struct ShortText {
    char text[8];
};

struct ParameterRow {
    enum class Kind { Continuous, Choice };

    const char* name;       // up to 63 characters
    const char* shortName;  // up to 7; what a VST 2.x host is given
    const char* unit;       // up to 7; "" for none
    Kind kind;
    float defaultValue;  // normalised
    // In its own units: Hz, dB, the spread's 0..100, a choice's index.
    double minimum, maximum;
    const char* const* choices;  // kChoiceCount labels for a choice, else null

    // Normalised value -> what the signal path works with: Hz, a linear gain, a choice's index.
    float (*working)(float x);
    // Normalised value -> its value in its own units, and back (within the range).
    double (*toUnits)(float x);
    float (*fromUnits)(double value);
    ShortText (*display)(float x);
};

extern const ParameterRow kParameterRows[kParameterCount];

// x as the table's functions use it: NaN and values below 0 are 0, values above 1 are 1.
float UsableValue(float x);
// The entry among count that x selects: x x count truncated, the last one for 1.0.
int SelectionOf(float x, int count);

// What the display shows, or a unit form users type: "120Hz", "120 Hz", "+3dB", "-12",
// "both" (any case, blanks ignored). A choice also takes its label with the unit ("-24 dB")
// and lands in the middle of its stretch of values. False with error naming what the parameter
// takes ("a number from 0.00 to 10000.0 Hz", "one of Off, Low, High, Both").
bool ParseParameterText(const ParameterRow& row, const std::string& text, float& normalised,
                        std::string& error);
// The normalised value for a value in the parameter's own units, as a typed number lands:
// NaN and values below the range count as its minimum, values above it as its maximum, and a
// choice takes the nearest index. For formats whose hosts keep values in units. Formats the
// display texts into stack buffers only: no allocation, no lock.
float NormalisedFromUnits(const ParameterRow& row, double value);
// A single-precision value in the parameter's own units that NormalisedFromUnits turns back
// into exactly x (limited to 0..1): toUnits(x) or, when its rounding misses, the nearest float
// that does not; toUnits(x) where no float does (single precision in units can be coarser than
// in normalised terms). What such formats store for a normalised value (defaults, presets).
float UnitsFor(const ParameterRow& row, float x);
// Whether two texts are the same but for case and blanks ("-12 dB" and "-12db").
bool SameWords(const std::string& a, const std::string& b);
// The words of that error: "0.00 to 10000.0 Hz" or "Off, Low, High, Both".
std::string DescribeRange(const ParameterRow& row);

}  // namespace QuellinCorvane
