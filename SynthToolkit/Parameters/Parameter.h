// A parameter whose working value steps: each change reaches the observers through a member
// function of Effect taking the working value. Transform, Display and Label are stateless
// policies (see LinearTransform.h, FloatDisplay.h, Labels.h ...).
#pragma once

#include "SynthToolkit/ObserverList.h"
#include "SynthToolkit/Parameters/ParameterBase.h"

namespace SynthToolkit::Parameters {

template <typename Effect, int Programs, typename Transform, typename Display, typename Label>
class Parameter : public ParameterBase<Effect, Programs> {
public:
    using ValueCallback = void (Effect::*)(float);

    Parameter(const char* shortName, const char* longName, float defaultNormalised,
              ValueCallback callback);

    const char* displayText() const override { return text; }
    const char* label() const override { return Label::text(); }
    void addObserver(Effect* e) override;
    void removeObserver(Effect* e) override { observers.removeAll(e); }
    void apply() override;

    float workingValue() const { return working; }

private:
    // NaN until the first apply, so construction always derives everything from the default.
    float working;
    ObserverList<Effect> observers;
    ValueCallback valueCallback;
    char text[ParameterBase<Effect, Programs>::kDisplayLength] = {};
};

}  // namespace SynthToolkit::Parameters

#include "SynthToolkit/Parameters/Parameter.inl"
