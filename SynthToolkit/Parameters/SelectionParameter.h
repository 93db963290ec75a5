// A parameter that picks one of n named choices: the normalised range is cut into n equal
// parts, with 1.0 selecting the last choice. Observers receive the choice index.
#pragma once

#include <array>
#include <vector>

#include "SynthToolkit/ObserverList.h"
#include "SynthToolkit/Parameters/ParameterBase.h"

namespace SynthToolkit::Parameters {

template <typename Effect, int Programs>
class SelectionParameter : public ParameterBase<Effect, Programs> {
public:
    using ValueCallback = void (Effect::*)(int);

    // Each name is copied (at most 7 characters); label is not copied and must outlive the
    // parameter. A count below 1 gives a parameter with no choices: index 0, empty text, and no
    // observer is ever called.
    SelectionParameter(const char* shortName, const char* longName, const char* label,
                       float defaultNormalised, int count, const char* const names[],
                       ValueCallback callback);

    const char* displayText() const override;
    const char* label() const override { return labelText != nullptr ? labelText : ""; }
    void addObserver(Effect* e) override;
    void removeObserver(Effect* e) override { observers.removeAll(e); }
    void apply() override;

    int choiceCount() const { return static_cast<int>(choices.size()); }
    int currentIndex() const { return index; }

private:
    using Name = std::array<char, ParameterBase<Effect, Programs>::kDisplayLength>;

    std::vector<Name> choices;
    ObserverList<Effect> observers;
    ValueCallback valueCallback;
    // -1 until the first apply, so construction always notifies and derives the index.
    int index = -1;
    const char* labelText;
};

}  // namespace SynthToolkit::Parameters

#include "SynthToolkit/Parameters/SelectionParameter.inl"
