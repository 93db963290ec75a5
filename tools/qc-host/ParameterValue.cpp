#include "tools/qc-host/ParameterValue.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "tools/qc-host/Cli.h"

namespace QcHost {
namespace {

// Fine enough that a choice narrower than a thousandth of the range is still seen, coarse
// enough that a scan stays well under a millisecond per parameter.
constexpr int kScanSteps = 1000;
// More texts than this across the scan and the display counts as a number, not a choice.
constexpr std::size_t kMostChoices = 32;

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Lower case without blanks, so "-12 dB", "-12dB" and "-12DB" compare equal.
std::string key(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t')
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The whole text a finite number.
bool displayNumber(const std::string& text, double& value) {
    const std::string t = trim(text);
    if (t.empty()) return false;
    char* end = nullptr;
    value = std::strtod(t.c_str(), &end);
    return *end == '\0' && std::isfinite(value);
}

// A number with an optional unit after it: "120Hz", "+3 dB", "-12".
bool numberAndUnit(const std::string& text, double& value, std::string& unit) {
    const std::string t = trim(text);
    char* end = nullptr;
    value = std::strtod(t.c_str(), &end);
    if (end == t.c_str() || !std::isfinite(value)) return false;
    unit = trim(end);
    return true;
}

// Sets the parameter and reads its display back; restores the first value when done.
class Probe {
public:
    Probe(Session& s, int i) : session(s), index(i), original(s.vst().getParameter(i)) {}
    ~Probe() { session.vst().setParameter(index, original); }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    std::string text(float x) {
        session.vst().setParameter(index, x);
        return session.paramDisplay(index);
    }
    double number(float x) {
        double v = NAN;
        displayNumber(text(x), v);
        return v;
    }
    // The first value in (lo, hi] for which `after` holds, given it fails at lo and holds at
    // hi: a bisection down to neighbouring floats.
    template <typename Test>
    float boundary(float lo, float hi, Test after) {
        for (;;) {
            const float mid = lo + (hi - lo) / 2;
            if (mid <= lo || mid >= hi) return hi;
            (after(mid) ? hi : lo) = mid;
        }
    }

private:
    Session& session;
    int index;
    float original;
};

float sample(int i) {
    return static_cast<float>(i) / kScanSteps;
}

// The value with the fewest decimals in [low, high] that shows `shown`, the nearest to the
// middle among those; so "+3dB" gives 0.65 rather than 0.64975, and "50" on a display that
// cuts off the fraction gives 0.5.
float simplestShowing(Probe& probe, float low, float high, double shown) {
    const double middle = (static_cast<double>(low) + high) / 2;
    for (int digits = 0; digits <= 9; ++digits) {
        const double step = std::pow(10.0, -digits);
        double k = std::round(middle / step);
        if (k * step < low) k = std::ceil(low / step);
        if (k * step > high) k = std::floor(high / step);
        const float candidate = static_cast<float>(k * step);
        if (candidate >= low && candidate <= high && probe.number(candidate) == shown)
            return candidate;
    }
    return static_cast<float>(middle);
}

}  // namespace

std::string ParameterScale::describe() const {
    switch (kind) {
        case Kind::Choices: {
            std::string text;
            for (const auto& c : choices) text += (text.empty() ? "" : ", ") + c.text;
            return text;
        }
        case Kind::Number:
            return lowestText + " to " + highestText + (label.empty() ? "" : " " + label);
        case Kind::Other: break;
    }
    return "normalised values only";
}

ParameterScale scanParameter(Session& session, int index) {
    ParameterScale scale;
    scale.label = trim(session.paramLabel(index));
    Probe probe(session, index);
    std::vector<std::string> texts;
    for (int i = 0; i <= kScanSteps; ++i) texts.push_back(trim(probe.text(sample(i))));

    std::vector<int> starts = {0};  // where each run of one text begins
    for (int i = 1; i <= kScanSteps; ++i)
        if (texts[i] != texts[i - 1]) starts.push_back(i);
    // One text all the way says nothing about the value.
    if (starts.size() == 1) return scale;
    if (starts.size() <= kMostChoices) {
        scale.kind = ParameterScale::Kind::Choices;
        for (std::size_t r = 0; r < starts.size(); ++r) {
            const int i = starts[r];
            float low = 0.0f;
            if (i > 0) {
                const std::string& before = texts[i - 1];
                low = probe.boundary(sample(i - 1), sample(i),
                                     [&](float x) { return trim(probe.text(x)) != before; });
                scale.choices.back().high = low;
            }
            scale.choices.push_back({texts[i], low, 1.0});
        }
        return scale;
    }
    double previous = -INFINITY;
    for (const auto& t : texts) {
        double v;
        if (!displayNumber(t, v) || v < previous) return scale;
        previous = v;
    }
    scale.kind = ParameterScale::Kind::Number;
    displayNumber(texts.front(), scale.lowest);
    displayNumber(texts.back(), scale.highest);
    scale.lowestText = texts.front();
    scale.highestText = texts.back();
    return scale;
}

bool normalisedValue(Session& session, int index, const std::string& text, float& value,
                     std::string& error) {
    double number;
    if (parseNumber(trim(text), 0.0, 1.0, number)) {
        value = static_cast<float>(number);
        return true;
    }
    const ParameterScale scale = scanParameter(session, index);
    const std::string name = session.paramName(index);
    auto refuse = [&] {
        if (scale.kind == ParameterScale::Kind::Other) {
            error = name + " takes only a normalised value from 0 to 1 (its display is neither a " +
                    "number that grows with the value nor a few fixed choices); got '" + text + "'";
            return false;
        }
        const std::string accepted = scale.kind == ParameterScale::Kind::Choices
                                         ? "one of " + scale.describe()
                                         : "a number from " + scale.describe();
        error =
            name + " takes " + accepted + ", or a normalised value from 0 to 1; got '" + text + "'";
        return false;
    };
    std::string unit;
    const bool isNumber = numberAndUnit(text, number, unit);
    const bool unitFits = isNumber && (unit.empty() || key(unit) == key(scale.label));
    if (scale.kind == ParameterScale::Kind::Choices) {
        for (const auto& c : scale.choices) {
            double shown;
            const bool same = key(text) == key(c.text) || key(text) == key(c.text + scale.label) ||
                              (unitFits && displayNumber(c.text, shown) && shown == number);
            if (same) {
                value = static_cast<float>((c.low + c.high) / 2);
                return true;
            }
        }
        return refuse();
    }
    if (scale.kind != ParameterScale::Kind::Number || !unitFits) return refuse();
    if (number < scale.lowest || number > scale.highest) return refuse();

    Probe probe(session, index);
    // The stretch of values whose display shows `number`: from the first that shows at least
    // it to the last that shows at most it. The scan's samples bracket both ends.
    int first = 0;
    while (first < kScanSteps && probe.number(sample(first)) < number) ++first;
    const float low =
        first == 0 ? 0.0f : probe.boundary(sample(first - 1), sample(first), [&](float x) {
            return probe.number(x) >= number;
        });
    int last = kScanSteps;
    while (last > 0 && probe.number(sample(last)) > number) --last;
    float high = 1.0f;
    if (last < kScanSteps) {
        const float above = probe.boundary(sample(last), sample(last + 1),
                                           [&](float x) { return probe.number(x) > number; });
        high = std::nextafter(above, 0.0f);
    }
    // No value shows exactly `number` (it falls between two display steps): take the first
    // value past it.
    value = low <= high ? simplestShowing(probe, low, high, probe.number(low)) : low;
    return true;
}

}  // namespace QcHost
