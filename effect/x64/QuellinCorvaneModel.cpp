#include "effect/x64/QuellinCorvaneModel.h"

#include <array>

#include "vst/platform/Trace.h"

using Platform::Trace;

namespace QuellinCorvane {
namespace {

// Built on first use from the parameter table, so no other file's initialisation order matters.
const VstToolkit::PluginDescription& description() {
    static const auto parameters = [] {
        std::array<VstToolkit::ParameterInfo, kParameterCount> infos{};
        for (int i = 0; i < kParameterCount; ++i) {
            const ParameterRow& row = kParameterRows[i];
            infos[i] = {row.name, row.shortName, row.unit, row.defaultValue};
        }
        return infos;
    }();
    static const VstToolkit::PluginDescription plugin = {
        "Quellin Corvane",       // effect name
        "Quellin Sound Design",  // vendor
        "Quellin Corvane",       // product
        kUniqueId,
        kVendorVersion,
        kPlugCategEffect,
        kProgramCount,
        2,  // inputs
        2,  // outputs
        "Blank",
        parameters.data(),
        kParameterCount,
    };
    return plugin;
}

bool known(VstInt32 index) {
    return index >= 0 && index < kParameterCount;
}

}  // namespace

QuellinCorvaneModel::QuellinCorvaneModel() : Model(description()) {
    Trace("QuellinCorvaneModel::QuellinCorvaneModel\r\n");
    OnSelectedProgramChanged(0, 0);
    // Nothing else holds the instance yet: the render state takes program 0 here.
    SyncRenderState();
}

void QuellinCorvaneModel::OnSelectedProgramChanged(VstInt32 previous, VstInt32 current) {
    Trace("QuellinCorvaneModel::OnSelectedProgramChanged\r\n");
    for (VstInt32 i = 0; i < GetParameterCount(); ++i)
        OnParameterValueChanged(i, ProgramValue(previous, i), ProgramValue(current, i));
}

// The cutoff shows the value asked for, before the stages limit it to half the sample rate.
void QuellinCorvaneModel::OnParameterValueChanged(VstInt32 index, float, float current) {
    Trace("QuellinCorvaneModel::OnParameterValueChanged\r\n");
    if (known(index)) SetParameterDisplay(index, kParameterRows[index].display(current).text);
}

void QuellinCorvaneModel::ApplyProgramChange() {
    for (auto& bank : stages)
        for (FilterStage& stage : bank) stage.Reset();
}

void QuellinCorvaneModel::ApplyParameterValue(VstInt32 index, float value) {
    if (!known(index)) return;
    const float working = kParameterRows[index].working(value);
    switch (index) {
        case kOutput: outputMode = static_cast<VstInt32>(working); break;
        case kCutoffFrequency:
            cutoffAsSet = working;
            for (VstInt32 k = 0; k < kStageCount; ++k) {
                stages[0][k].SetCutoff(working);
                stages[1][k].SetCutoff(working);
            }
            break;
        case kFilterSlope: slopeIndex = static_cast<VstInt32>(working); break;
        case kStereoSpread: spread = working; break;
        case kBassAmp: bassGain = working; break;
        default: break;
    }
}

void QuellinCorvaneModel::ApplySampleRate(float rate) {
    const float half = rate * 0.5f;
    const float reciprocal = 1.0f / rate;
    for (VstInt32 k = 0; k < kStageCount; ++k) {
        stages[0][k].SetSampleRate(rate, half, reciprocal, cutoffAsSet);
        stages[1][k].SetSampleRate(rate, half, reciprocal, cutoffAsSet);
    }
}

}  // namespace QuellinCorvane
