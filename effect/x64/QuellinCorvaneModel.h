// The effect on the VstToolkit framework: identity, the hooks that turn normalised values into
// working values and display texts (by the scales of ParameterTable.h), and the stereo signal
// path.
#pragma once

#include "VstToolkit/Model.h"
#include "effect/x64/FilterStage.h"
#include "effect/x64/ParameterTable.h"

namespace QuellinCorvane {

constexpr VstInt32 kUniqueId = 0x00514356;  // the bytes 0, 'Q', 'C', 'V'
constexpr VstInt32 kVendorVersion = 2150;
constexpr VstInt32 kProgramCount = 32;

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
    float cutoffAsSet = 22050.0f;        // Hz, before the stages limit it to half the sample rate
    FilterStage stages[2][kStageCount];  // left bank, right bank
};

}  // namespace QuellinCorvane
