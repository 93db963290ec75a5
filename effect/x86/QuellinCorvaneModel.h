// The effect on the SynthToolkit framework: identity, its parameter group and the signal path
// the group's parameters drive.
#pragma once

#include "SynthToolkit/Effects/Corvane.h"
#include "SynthToolkit/Effects/CorvaneParameterGroup.h"
#include "SynthToolkit/IServiceProvider.h"
#include "SynthToolkit/Model.h"

namespace QuellinCorvaneX86 {

constexpr const char* kEffectName = "Quellin Corvane";
constexpr const char* kVendor = "Quellin Sound Design";
constexpr const char* kProduct = "Quellin Corvane";
constexpr int kVendorVersion = 2000;
constexpr int kProgramCount = 32;
constexpr int kUniqueId = 0x00514356;  // the bytes 0, 'Q', 'C', 'V'
constexpr int kCategory = 1;           // an effect, not a synth
constexpr int kChannelCount = 2;

using Corvane = SynthToolkit::Effects::Corvane;
using CorvaneGroup = Corvane::ParameterGroup<kProgramCount>;

class QuellinCorvaneModel : public SynthToolkit::Model {
public:
    // services must outlive the model. programCount must be kProgramCount, the count the
    // group's parameters are built for; programs beyond it would hold no values.
    QuellinCorvaneModel(const char* effectName, const char* vendor, const char* product,
                        int vendorVersion, int programCount,
                        SynthToolkit::IServiceProvider* services);

    int inputCount() const override { return kChannelCount; }
    int outputCount() const override { return kChannelCount; }
    void process(float** inputs, float** outputs, int frames) override;

    const Corvane& signalPath() const { return corvane; }
    const CorvaneGroup& parameterGroup() const { return group; }

private:
    // In this order: the signal path is destroyed first and leaves the services before the
    // parameters' smoothers do.
    CorvaneGroup group;
    Corvane corvane;
};

}  // namespace QuellinCorvaneX86
