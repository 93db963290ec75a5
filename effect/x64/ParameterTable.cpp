#include "effect/x64/ParameterTable.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace QuellinCorvane {
namespace {

const char* const kOutputLabels[kChoiceCount] = {"Off", "Low", "High", "Both"};
const char* const kSlopeLabels[kChoiceCount] = {"-6", "-12", "-18", "-24"};

// The working values and texts are single precision, in this order, as they always were:
// the displays and the rendered samples depend on every rounding step.
float cutoffHz(float x) {
    x = UsableValue(x);
    return (x * x) * 10000.0f;
}

float bassLevelDb(float x) {
    x = UsableValue(x);
    return ((x * 2.0f) - 1.0f) * 10.0f;
}

int spreadPercent(float x) {
    return static_cast<int>(UsableValue(x) * 100.0f);
}

// The first 7 characters: a field of 8 holds no more, so 10000.00 shows as 10000.0.
ShortText cut(const char* text) {
    ShortText shown{};
    std::memcpy(shown.text, text, std::min(std::strlen(text), sizeof shown.text - 1));
    return shown;
}

ShortText twoDecimals(float value) {
    char wide[32];
    std::snprintf(wide, sizeof wide, "%.2f", static_cast<double>(value));
    return cut(wide);
}

ShortText whole(int value) {
    char wide[32];
    std::snprintf(wide, sizeof wide, "%d", value);
    return cut(wide);
}

ShortText label(const char* const* labels, float x) {
    return cut(labels[SelectionOf(x, kChoiceCount)]);
}

float choiceWorking(float x) {
    return static_cast<float>(SelectionOf(x, kChoiceCount));
}

double choiceUnits(float x) {
    return SelectionOf(x, kChoiceCount);
}

// The middle of the choice's stretch of normalised values.
float choiceFromUnits(double index) {
    return static_cast<float>((std::floor(index) + 0.5) / kChoiceCount);
}

// Lower case without blanks, so "-12 dB", "-12dB" and "-12DB" compare equal.
std::string key(const std::string& text) {
    std::string out;
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c)))
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// A finite number with an optional unit after it: "120Hz", "+3 dB", "-12".
bool numberAndUnit(const std::string& text, double& value, std::string& unit) {
    const std::string k = key(text);
    char* end = nullptr;
    value = std::strtod(k.c_str(), &end);
    if (end == k.c_str() || !std::isfinite(value)) return false;
    unit = end;
    return true;
}

}  // namespace

const ParameterRow kParameterRows[kParameterCount] = {
    {"Output", "Out", "", ParameterRow::Kind::Choice, 0.0f, 0, kChoiceCount - 1, kOutputLabels,
     choiceWorking, choiceUnits, choiceFromUnits, [](float x) { return label(kOutputLabels, x); }},
    {"Cutoff Freq.", "CutFrq", "Hz", ParameterRow::Kind::Continuous, 0.1f, 0, 10000, nullptr,
     cutoffHz, [](float x) -> double { return cutoffHz(x); },
     [](double hz) { return static_cast<float>(std::sqrt(hz / 10000.0)); },
     [](float x) { return twoDecimals(cutoffHz(x)); }},
    {"Filter Slope", "Slope", "dB", ParameterRow::Kind::Choice, 0.0f, 0, kChoiceCount - 1,
     kSlopeLabels, choiceWorking, choiceUnits, choiceFromUnits,
     [](float x) { return label(kSlopeLabels, x); }},
    {"Stereo Spread", "Spread", "", ParameterRow::Kind::Continuous, 0.0f, 0, 100, nullptr,
     UsableValue, [](float x) -> double { return UsableValue(x) * 100.0f; },
     [](double percent) { return static_cast<float>(percent / 100.0); },
     [](float x) { return whole(spreadPercent(x)); }},
    {"Bass Amp", "Amp", "dB", ParameterRow::Kind::Continuous, 0.5f, -10, 10, nullptr,
     [](float x) { return ::powf(10.0f, bassLevelDb(x) * 0.05f); },
     [](float x) -> double { return bassLevelDb(x); },
     [](double db) { return static_cast<float>((db / 10.0 + 1.0) / 2.0); },
     [](float x) { return twoDecimals(bassLevelDb(x)); }},
};

float UsableValue(float x) {
    if (!(x > 0.0f)) return 0.0f;
    return x < 1.0f ? x : 1.0f;
}

int SelectionOf(float x, int count) {
    const float scaled = UsableValue(x) * static_cast<float>(count);
    return scaled >= static_cast<float>(count) ? count - 1 : static_cast<int>(scaled);
}

bool SameWords(const std::string& a, const std::string& b) {
    return key(a) == key(b);
}

std::string DescribeRange(const ParameterRow& row) {
    std::string text;
    if (row.kind == ParameterRow::Kind::Choice) {
        for (int i = 0; i < kChoiceCount; ++i)
            text += (i ? ", " : "") + std::string(row.choices[i]);
        return text;
    }
    text = std::string(row.display(0.0f).text) + " to " + row.display(1.0f).text;
    return *row.unit ? text + " " + row.unit : text;
}

bool ParseParameterText(const ParameterRow& row, const std::string& text, float& normalised,
                        std::string& error) {
    double number = 0.0;
    std::string unit;
    const bool isNumber = numberAndUnit(text, number, unit);
    const bool unitFits = isNumber && (unit.empty() || unit == key(row.unit));
    if (row.kind == ParameterRow::Kind::Choice) {
        for (int i = 0; i < kChoiceCount; ++i) {
            const std::string choice = key(row.choices[i]);
            double shown = 0.0;
            std::string none;
            if (key(text) == choice || key(text) == choice + key(row.unit) ||
                (unitFits && numberAndUnit(choice, shown, none) && none.empty() &&
                 shown == number)) {
                normalised = row.fromUnits(i);
                return true;
            }
        }
        error = "one of " + DescribeRange(row);
        return false;
    }
    if (!unitFits || number < row.minimum || number > row.maximum) {
        error = "a number from " + DescribeRange(row);
        return false;
    }
    normalised = NormalisedFromUnits(row, number);
    return true;
}

float NormalisedFromUnits(const ParameterRow& row, double value) {
    if (!(value > row.minimum)) value = row.minimum;
    if (value > row.maximum) value = row.maximum;
    if (row.kind == ParameterRow::Kind::Choice) return row.fromUnits(std::round(value));
    // The inverse can land a rounding step below the value, where a display that truncates
    // (the spread's) shows one less than was typed: step up while that changes the text.
    float x = UsableValue(row.fromUnits(value));
    for (int step = 0; step < 4 && x < 1.0f && row.toUnits(x) < value; ++step) {
        const float next = std::nextafter(x, 1.0f);
        if (std::strcmp(row.display(next).text, row.display(x).text) == 0) break;
        x = next;
    }
    return x;
}

float UnitsFor(const ParameterRow& row, float x) {
    x = UsableValue(x);
    const float first = static_cast<float>(row.toUnits(x));
    // Neighbours in order of distance: first, one above, one below, two above, ...
    float above = first, below = first;
    for (int step = 0; step < 256; ++step) {
        if (NormalisedFromUnits(row, above) == x) return above;
        if (NormalisedFromUnits(row, below) == x) return below;
        above = std::nextafter(above, HUGE_VALF);
        below = std::nextafter(below, -HUGE_VALF);
    }
    return first;
}

}  // namespace QuellinCorvane
