// Definitions of SelectionParameter, included by its header.
#include <cmath>

#include "vst/TextTools.h"

namespace SynthToolkit::Parameters {

template <typename Effect, int Programs>
SelectionParameter<Effect, Programs>::SelectionParameter(const char* shortName,
                                                         const char* longName, const char* label,
                                                         float defaultNormalised, int count,
                                                         const char* const names[],
                                                         ValueCallback callback)
    : ParameterBase<Effect, Programs>(shortName, longName, defaultNormalised),
      choices(count > 0 ? static_cast<std::size_t>(count) : 0),
      valueCallback(callback),
      labelText(label) {
    for (std::size_t i = 0; i < choices.size(); ++i)
        VstText::ReplaceField(choices[i].data(), names != nullptr ? names[i] : "",
                              choices[i].size());
    this->setValue(defaultNormalised);
}

template <typename Effect, int Programs>
const char* SelectionParameter<Effect, Programs>::displayText() const {
    return index >= 0 && index < choiceCount() ? choices[static_cast<std::size_t>(index)].data()
                                               : "";
}

template <typename Effect, int Programs>
void SelectionParameter<Effect, Programs>::addObserver(Effect* e) {
    observers.add(e);
    if (e != nullptr && valueCallback != nullptr && index >= 0) (e->*valueCallback)(index);
}

template <typename Effect, int Programs>
void SelectionParameter<Effect, Programs>::apply() {
    const int n = choiceCount();
    if (n == 0) return;
    const float scaled = std::floor(this->value() * static_cast<float>(n));
    // Values outside 0..1 (and NaN) pick the nearest end rather than an index past the names.
    int i = 0;
    if (scaled >= static_cast<float>(n))
        i = n - 1;
    else if (scaled > 0.0f)
        i = static_cast<int>(scaled);
    if (i == index) return;
    index = i;
    for (std::size_t k = 0; k < observers.size(); ++k) {
        Effect* e = observers.at(k);
        if (e != nullptr && valueCallback != nullptr) (e->*valueCallback)(i);
    }
}

}  // namespace SynthToolkit::Parameters
