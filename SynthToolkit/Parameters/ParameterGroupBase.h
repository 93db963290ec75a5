// The group an effect derives from: it owns the parameters the derived constructor adds, in
// creation order. Indices outside the group read as 0 / "" and change nothing.
#pragma once

#include <vector>

#include "SynthToolkit/Parameters/IParameterGroup.h"
#include "SynthToolkit/Parameters/ParameterBase.h"

namespace SynthToolkit::Parameters {

template <typename Effect, int Programs>
class ParameterGroupBase : public IParameterGroup {
public:
    using ParameterType = ParameterBase<Effect, Programs>;

    ~ParameterGroupBase() override;
    ParameterGroupBase(const ParameterGroupBase&) = delete;
    ParameterGroupBase& operator=(const ParameterGroupBase&) = delete;

    void resetToDefault(int i) override;
    int programCount() const override { return Programs; }
    int currentProgram() const override { return current; }
    void selectProgram(int program) override;
    int parameterCount() const override { return static_cast<int>(parameters.size()); }
    const char* shortName() const override { return shortNameText; }
    const char* longName() const override { return longNameText; }
    const char* parameterShortName(int i) const override;
    const char* parameterLongName(int i) const override;
    const char* parameterLabel(int i) const override;
    const char* parameterDisplayText(int i) const override;
    float valueOfProgram(int program, int i) const override;
    float value(int i) const override;
    void setValueOfProgram(int program, int i, float v) override;
    void setValue(int i, float v) override;

    // Null outside the group.
    ParameterType* parameter(int i) const;
    // Attaches (detaches) e to every parameter in index order.
    void addObserver(Effect* e);
    void removeObserver(Effect* e);

protected:
    // The names are not copied and must outlive the group.
    ParameterGroupBase(const char* shortName, const char* longName);
    // Takes ownership.
    void addParameter(ParameterType* p) { parameters.push_back(p); }

private:
    std::vector<ParameterType*> parameters;
    int current = 0;
    const char* shortNameText;
    const char* longNameText;
};

}  // namespace SynthToolkit::Parameters

#include "SynthToolkit/Parameters/ParameterGroupBase.inl"
