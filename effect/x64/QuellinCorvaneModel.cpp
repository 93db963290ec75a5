#include "effect/x64/QuellinCorvaneModel.h"

#include <math.h>

#include "vst/platform/Trace.h"

using Platform::Trace;

namespace QuellinCorvane {
namespace {

// Values outside 0..1 (which a conforming host never sends) and NaN are used as the nearest
// end of the range, so no working value can leave its range. Stored values are not touched.
float usable(float x) {
    if (!(x > 0.0f)) return 0.0f;
    return x < 1.0f ? x : 1.0f;
}

}  // namespace

const VstToolkit::ParameterInfo kParameters[kParameterCount] = {
    {"Output", "Out", "", 0.0f},           {"Cutoff Freq.", "CutFrq", "Hz", 0.1f},
    {"Filter Slope", "Slope", "dB", 0.0f}, {"Stereo Spread", "Spread", "", 0.0f},
    {"Bass Amp", "Amp", "dB", 0.5f},
};

const char* const kOutputLabels[kChoiceCount] = {"Off", "Low", "High", "Both"};
const char* const kSlopeLabels[kChoiceCount] = {"-6", "-12", "-18", "-24"};

const VstToolkit::PluginDescription kDescription = {
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
    kParameters,
    kParameterCount,
};

QuellinCorvaneModel::QuellinCorvaneModel() : Model(kDescription) {
    Trace("QuellinCorvaneModel::QuellinCorvaneModel\r\n");
    OnSelectedProgramChanged(0, 0);
}

void QuellinCorvaneModel::SetCutoff(float frequency) {
    for (VstInt32 k = 0; k < kStageCount; ++k) {
        stages[0][k].SetCutoff(frequency);
        stages[1][k].SetCutoff(frequency);
    }
}

void QuellinCorvaneModel::OnSampleRateChanged(float, float current) {
    Trace("QuellinCorvaneModel::OnSampleRateChanged\r\n");
    const float half = current * 0.5f;
    const float reciprocal = 1.0f / current;
    for (VstInt32 k = 0; k < kStageCount; ++k) {
        stages[0][k].SetSampleRate(current, half, reciprocal);
        stages[1][k].SetSampleRate(current, half, reciprocal);
    }
}

void QuellinCorvaneModel::OnSelectedProgramChanged(VstInt32 previous, VstInt32 current) {
    Trace("QuellinCorvaneModel::OnSelectedProgramChanged\r\n");
    for (auto& bank : stages)
        for (FilterStage& stage : bank) stage.Reset();
    for (VstInt32 i = 0; i < GetParameterCount(); ++i)
        OnParameterValueChanged(i, ProgramValue(previous, i), ProgramValue(current, i));
}

void QuellinCorvaneModel::OnParameterValueChanged(VstInt32 index, float, float current) {
    Trace("QuellinCorvaneModel::OnParameterValueChanged\r\n");
    const float x = usable(current);
    switch (index) {
        case kOutput:
            outputMode = NormalizedFloatToSelection(x, kChoiceCount);
            SetParameterDisplay(index, kOutputLabels[outputMode]);
            break;
        case kCutoffFrequency: {
            const float frequency = (x * x) * 10000.0f;
            SetCutoff(frequency);
            SetFloatParameterDisplay(index, frequency);  // the value asked for, before limiting
            break;
        }
        case kFilterSlope:
            slopeIndex = NormalizedFloatToSelection(x, kChoiceCount);
            SetParameterDisplay(index, kSlopeLabels[slopeIndex]);
            break;
        case kStereoSpread:
            spread = x;
            SetIntegerParameterDisplay(index, static_cast<VstInt32>(x * 100.0f));
            break;
        case kBassAmp: {
            const float level = ((x * 2.0f) - 1.0f) * 10.0f;
            bassGain = ::powf(10.0f, level * 0.05f);
            SetFloatParameterDisplay(index, level);
            break;
        }
        default: break;
    }
}

}  // namespace QuellinCorvane
