// Definitions of ParameterGroupBase, included by its header.
namespace SynthToolkit::Parameters {

template <typename Effect, int Programs>
ParameterGroupBase<Effect, Programs>::ParameterGroupBase(const char* shortName,
                                                         const char* longName)
    : shortNameText(shortName != nullptr ? shortName : ""),
      longNameText(longName != nullptr ? longName : "") {}

template <typename Effect, int Programs>
ParameterGroupBase<Effect, Programs>::~ParameterGroupBase() {
    for (ParameterType* p : parameters) delete p;
}

template <typename Effect, int Programs>
typename ParameterGroupBase<Effect, Programs>::ParameterType*
ParameterGroupBase<Effect, Programs>::parameter(int i) const {
    return i >= 0 && i < parameterCount() ? parameters[static_cast<std::size_t>(i)] : nullptr;
}

template <typename Effect, int Programs>
void ParameterGroupBase<Effect, Programs>::resetToDefault(int i) {
    if (ParameterType* p = parameter(i)) p->resetToDefault();
}

template <typename Effect, int Programs>
void ParameterGroupBase<Effect, Programs>::selectProgram(int program) {
    if (program < 0 || program >= Programs) return;
    current = program;
    for (ParameterType* p : parameters) p->selectProgram(program);
}

template <typename Effect, int Programs>
const char* ParameterGroupBase<Effect, Programs>::parameterShortName(int i) const {
    const ParameterType* p = parameter(i);
    return p != nullptr ? p->shortName() : "";
}

template <typename Effect, int Programs>
const char* ParameterGroupBase<Effect, Programs>::parameterLongName(int i) const {
    const ParameterType* p = parameter(i);
    return p != nullptr ? p->longName() : "";
}

template <typename Effect, int Programs>
const char* ParameterGroupBase<Effect, Programs>::parameterLabel(int i) const {
    const ParameterType* p = parameter(i);
    return p != nullptr ? p->label() : "";
}

template <typename Effect, int Programs>
const char* ParameterGroupBase<Effect, Programs>::parameterDisplayText(int i) const {
    const ParameterType* p = parameter(i);
    return p != nullptr ? p->displayText() : "";
}

template <typename Effect, int Programs>
float ParameterGroupBase<Effect, Programs>::valueOfProgram(int program, int i) const {
    const ParameterType* p = parameter(i);
    return p != nullptr ? p->valueOfProgram(program) : 0.0f;
}

template <typename Effect, int Programs>
float ParameterGroupBase<Effect, Programs>::value(int i) const {
    const ParameterType* p = parameter(i);
    return p != nullptr ? p->value() : 0.0f;
}

template <typename Effect, int Programs>
void ParameterGroupBase<Effect, Programs>::setValueOfProgram(int program, int i, float v) {
    if (ParameterType* p = parameter(i)) p->setValueOfProgram(program, v);
}

template <typename Effect, int Programs>
void ParameterGroupBase<Effect, Programs>::setValue(int i, float v) {
    if (ParameterType* p = parameter(i)) p->setValue(v);
}

template <typename Effect, int Programs>
void ParameterGroupBase<Effect, Programs>::addObserver(Effect* e) {
    for (ParameterType* p : parameters) p->addObserver(e);
}

template <typename Effect, int Programs>
void ParameterGroupBase<Effect, Programs>::removeObserver(Effect* e) {
    for (ParameterType* p : parameters) p->removeObserver(e);
}

}  // namespace SynthToolkit::Parameters
