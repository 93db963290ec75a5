// Definitions of SmoothParameter, included by its header.
#include <limits>

namespace SynthToolkit::Parameters {

template <typename Effect, int Programs, typename Transform, typename Display, typename Label>
SmoothParameter<Effect, Programs, Transform, Display, Label>::SmoothParameter(
    const char* shortName, const char* longName, float defaultNormalised, ValueCallback callback,
    IServiceProvider* serviceProvider)
    : ParameterBase<Effect, Programs>(shortName, longName, defaultNormalised),
      working(std::numeric_limits<float>::quiet_NaN()),
      glide(serviceProvider),
      valueCallback(callback) {
    this->setValue(defaultNormalised);
}

template <typename Effect, int Programs, typename Transform, typename Display, typename Label>
void SmoothParameter<Effect, Programs, Transform, Display, Label>::addObserver(Effect* e) {
    observers.add(e);
    if (e != nullptr && valueCallback != nullptr) (e->*valueCallback)(glide.buffer());
}

template <typename Effect, int Programs, typename Transform, typename Display, typename Label>
void SmoothParameter<Effect, Programs, Transform, Display, Label>::removeObserver(Effect* e) {
    if (!observers.contains(e)) return;
    // The effect must stop reading the buffer before it loses track of the parameter.
    if (e != nullptr && valueCallback != nullptr) (e->*valueCallback)(nullptr);
    observers.removeAll(e);
}

template <typename Effect, int Programs, typename Transform, typename Display, typename Label>
void SmoothParameter<Effect, Programs, Transform, Display, Label>::apply() {
    const float w = Transform::toWorking(this->value());
    if (w == working) return;
    working = w;
    glide.setTarget(w);
    Display::format(w, text);
}

}  // namespace SynthToolkit::Parameters
