// Definitions of Parameter, included by its header.
#include <limits>

namespace SynthToolkit::Parameters {

template <typename Effect, int Programs, typename Transform, typename Display, typename Label>
Parameter<Effect, Programs, Transform, Display, Label>::Parameter(const char* shortName,
                                                                  const char* longName,
                                                                  float defaultNormalised,
                                                                  ValueCallback callback)
    : ParameterBase<Effect, Programs>(shortName, longName, defaultNormalised),
      working(std::numeric_limits<float>::quiet_NaN()),
      valueCallback(callback) {
    this->setValue(defaultNormalised);
    Display::format(working, text);
}

template <typename Effect, int Programs, typename Transform, typename Display, typename Label>
void Parameter<Effect, Programs, Transform, Display, Label>::addObserver(Effect* e) {
    observers.add(e);
    if (e != nullptr && valueCallback != nullptr) (e->*valueCallback)(working);
}

template <typename Effect, int Programs, typename Transform, typename Display, typename Label>
void Parameter<Effect, Programs, Transform, Display, Label>::apply() {
    const float w = Transform::toWorking(this->value());
    // Compared as floats: a NaN never equals, so it always counts as a change.
    if (w == working) return;
    working = w;
    // By index: an observer that (against the rules) changes the list stays harmless.
    for (std::size_t k = 0; k < observers.size(); ++k) {
        Effect* e = observers.at(k);
        if (e != nullptr && valueCallback != nullptr) (e->*valueCallback)(w);
    }
    Display::format(w, text);
}

}  // namespace SynthToolkit::Parameters
