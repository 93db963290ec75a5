// A parameter whose working value glides: it owns a Smoother, and its observers receive the
// address of the smoother's buffer once, when attached (null when detached). Value changes
// reach them through that buffer, filled per span by the services.
#pragma once

#include "SynthToolkit/IServiceProvider.h"
#include "SynthToolkit/ObserverList.h"
#include "SynthToolkit/Parameters/ParameterBase.h"
#include "SynthToolkit/Parameters/Smoother.h"

namespace SynthToolkit::Parameters {

template <typename Effect, int Programs, typename Transform, typename Display, typename Label>
class SmoothParameter : public ParameterBase<Effect, Programs> {
public:
    using ValueCallback = void (Effect::*)(const float*);

    // The smoother registers with serviceProvider, which must outlive the parameter.
    SmoothParameter(const char* shortName, const char* longName, float defaultNormalised,
                    ValueCallback callback, IServiceProvider* serviceProvider);

    const char* displayText() const override { return text; }
    const char* label() const override { return Label::text(); }
    void addObserver(Effect* e) override;
    // An attached e is handed a null buffer first; an unknown e is left alone.
    void removeObserver(Effect* e) override;
    void apply() override;

    float workingValue() const { return working; }
    const Smoother& smoother() const { return glide; }

private:
    float working;
    ObserverList<Effect> observers;
    Smoother glide;
    ValueCallback valueCallback;
    char text[ParameterBase<Effect, Programs>::kDisplayLength] = {};
};

}  // namespace SynthToolkit::Parameters

#include "SynthToolkit/Parameters/SmoothParameter.inl"
