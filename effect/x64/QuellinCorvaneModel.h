// The effect on the VstToolkit framework: identity, the parameter table, the hooks that turn
// normalised values into working values and display texts, and the stereo signal path.
#pragma once

#include "VstToolkit/Model.h"
#include "effect/x64/FilterStage.h"

namespace QuellinCorvane {

enum Parameter : VstInt32 {
    kOutput = 0,
    kCutoffFrequency,
    kFilterSlope,
    kStereoSpread,
    kBassAmp,
    kParameterCount
};

enum OutputMode : VstInt32 { kOutputOff = 0, kOutputLow, kOutputHigh, kOutputBoth };

constexpr VstInt32 kUniqueId = 0x00514356;  // the bytes 0, 'Q', 'C', 'V'
constexpr VstInt32 kVendorVersion = 2150;
constexpr VstInt32 kProgramCount = 32;
constexpr VstInt32 kChoiceCount = 4;  // output modes and slopes

extern const VstToolkit::ParameterInfo kParameters[kParameterCount];
extern const char* const kOutputLabels[kChoiceCount];
extern const char* const kSlopeLabels[kChoiceCount];
extern const VstToolkit::PluginDescription kDescription;

class QuellinCorvaneModel : public VstToolkit::Model {
public:
    QuellinCorvaneModel();

    // Document side, on the thread that made the change: the display texts.
    void OnSelectedProgramChanged(VstInt32 previous, VstInt32 current) override;
    void OnParameterValueChanged(VstInt32 index, float previous, float current) override;

    // Render side, audio thread only: the working values and the filter stages.
    void Process(float** inputs, float** outputs, VstInt32 offset, VstInt32 count) override;
    // Clears the filter memory; the new program's values follow one by one.
    void ApplyProgramChange() override;
    void ApplyParameterValue(VstInt32 index, float value) override;
    void ApplySampleRate(float rate) override;

    // Working values of the render side, for tests.
    VstInt32 GetOutputMode() const { return outputMode; }
    VstInt32 GetSlopeIndex() const { return slopeIndex; }
    float GetSpread() const { return spread; }
    float GetBassGain() const { return bassGain; }
    const FilterStage& GetStage(VstInt32 channel, VstInt32 stage) const {
        return stages[channel][stage];
    }

private:
    static constexpr VstInt32 kStageCount = 4;

    // Render state: audio thread only.
    VstInt32 outputMode = kOutputOff;
    VstInt32 slopeIndex = 0;  // active stages - 1
    float spread = 0.0f;
    float bassGain = 0.5f;
    FilterStage stages[2][kStageCount];  // left bank, right bank
};

}  // namespace QuellinCorvane
