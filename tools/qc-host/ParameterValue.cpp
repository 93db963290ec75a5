#include "tools/qc-host/ParameterValue.h"

#include "tools/qc-host/Cli.h"

namespace QcHost {
namespace {

constexpr VstInt32 kCorvaneId = 0x00514356;  // both builds

}  // namespace

const QuellinCorvane::ParameterRow* knownScale(Session& session, int index) {
    const AEffect* effect = session.effect();
    if (effect->uniqueID != kCorvaneId || effect->numParams != QuellinCorvane::kParameterCount ||
        index < 0 || index >= QuellinCorvane::kParameterCount)
        return nullptr;
    return &QuellinCorvane::kParameterRows[index];
}

std::string describeAccepted(Session& session, int index) {
    const auto* row = knownScale(session, index);
    return row ? QuellinCorvane::DescribeRange(*row) : "normalised values only";
}

bool normalisedValue(Session& session, int index, const std::string& text, float& value,
                     std::string& error) {
    double number;
    if (parseNumber(trim(text), 0.0, 1.0, number)) {
        value = static_cast<float>(number);
        return true;
    }
    const std::string name = session.paramName(index);
    const auto* row = knownScale(session, index);
    if (!row) {
        error = name + " takes only a normalised value from 0 to 1 (qc-host knows the units of " +
                "Quellin Corvane's parameters only); got '" + text + "'";
        return false;
    }
    std::string accepted;
    if (QuellinCorvane::ParseParameterText(*row, text, value, accepted)) return true;
    error = name + " takes " + accepted + ", or a normalised value from 0 to 1; got '" + text + "'";
    return false;
}

}  // namespace QcHost
