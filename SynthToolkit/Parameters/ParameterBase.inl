// Definitions of ParameterBase, included by its header.
#include "vst/TextTools.h"

namespace SynthToolkit::Parameters {

template <typename Effect, int Programs>
ParameterBase<Effect, Programs>::ParameterBase(const char* shortName, const char* longName,
                                               float defaultNormalised)
    : defaultValue(defaultNormalised) {
    VstText::ReplaceField(shortNameField, shortName);
    VstText::ReplaceField(longNameField, longName);
    for (float& v : values) v = defaultNormalised;
}

template <typename Effect, int Programs>
void ParameterBase<Effect, Programs>::selectProgram(int program) {
    if (program < 0 || program >= Programs) return;
    current = program;
    apply();
}

template <typename Effect, int Programs>
float ParameterBase<Effect, Programs>::valueOfProgram(int program) const {
    return program >= 0 && program < Programs ? values[program] : 0.0f;
}

template <typename Effect, int Programs>
void ParameterBase<Effect, Programs>::setValueOfProgram(int program, float v) {
    if (program < 0 || program >= Programs) return;
    values[program] = v;
    if (program == current) apply();
}

template <typename Effect, int Programs>
void ParameterBase<Effect, Programs>::setValue(float v) {
    values[current] = v;
    apply();
}

}  // namespace SynthToolkit::Parameters
