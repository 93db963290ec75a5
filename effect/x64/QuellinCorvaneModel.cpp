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

float cutoffFrequency(float x) {
    return (x * x) * 10000.0f;
}

float bassLevel(float x) {
    return ((x * 2.0f) - 1.0f) * 10.0f;
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
    // Nothing else holds the instance yet: the render state takes program 0 here.
    SyncRenderState();
}

void QuellinCorvaneModel::OnSelectedProgramChanged(VstInt32 previous, VstInt32 current) {
    Trace("QuellinCorvaneModel::OnSelectedProgramChanged\r\n");
    for (VstInt32 i = 0; i < GetParameterCount(); ++i)
        OnParameterValueChanged(i, ProgramValue(previous, i), ProgramValue(current, i));
}

void QuellinCorvaneModel::OnParameterValueChanged(VstInt32 index, float, float current) {
    Trace("QuellinCorvaneModel::OnParameterValueChanged\r\n");
    const float x = usable(current);
    switch (index) {
        case kOutput:
            SetParameterDisplay(index, kOutputLabels[NormalizedFloatToSelection(x, kChoiceCount)]);
            break;
        case kCutoffFrequency:
            // The value asked for, before the stages limit it to half the sample rate.
            SetFloatParameterDisplay(index, cutoffFrequency(x));
            break;
        case kFilterSlope:
            SetParameterDisplay(index, kSlopeLabels[NormalizedFloatToSelection(x, kChoiceCount)]);
            break;
        case kStereoSpread:
            SetIntegerParameterDisplay(index, static_cast<VstInt32>(x * 100.0f));
            break;
        case kBassAmp: SetFloatParameterDisplay(index, bassLevel(x)); break;
        default: break;
    }
}

void QuellinCorvaneModel::ApplyProgramChange() {
    for (auto& bank : stages)
        for (FilterStage& stage : bank) stage.Reset();
}

void QuellinCorvaneModel::ApplyParameterValue(VstInt32 index, float value) {
    const float x = usable(value);
    switch (index) {
        case kOutput: outputMode = NormalizedFloatToSelection(x, kChoiceCount); break;
        case kCutoffFrequency: {
            const float frequency = cutoffFrequency(x);
            for (VstInt32 k = 0; k < kStageCount; ++k) {
                stages[0][k].SetCutoff(frequency);
                stages[1][k].SetCutoff(frequency);
            }
            break;
        }
        case kFilterSlope: slopeIndex = NormalizedFloatToSelection(x, kChoiceCount); break;
        case kStereoSpread: spread = x; break;
        case kBassAmp: bassGain = ::powf(10.0f, bassLevel(x) * 0.05f); break;
        default: break;
    }
}

void QuellinCorvaneModel::ApplySampleRate(float rate) {
    const float half = rate * 0.5f;
    const float reciprocal = 1.0f / rate;
    for (VstInt32 k = 0; k < kStageCount; ++k) {
        stages[0][k].SetSampleRate(rate, half, reciprocal);
        stages[1][k].SetSampleRate(rate, half, reciprocal);
    }
}

}  // namespace QuellinCorvane
