// The program storage and names every parameter kind shares. Effect is the class of the
// objects that receive values; Programs the number of programs.
//
// Program indices outside 0..Programs-1 are ignored by the setters and read as 0 by the
// getters, so a wrong index never touches memory outside the value array.
#pragma once

#include "SynthToolkit/Parameters/IParameter.h"

namespace SynthToolkit::Parameters {

template <typename Effect, int Programs>
class ParameterBase : public IParameter {
    static_assert(Programs > 0, "a parameter needs at least one program");

public:
    static constexpr int kShortNameLength = 8;
    static constexpr int kLongNameLength = 128;
    static constexpr int kDisplayLength = 8;

    void resetToDefault() override { setValue(defaultValue); }
    int programCount() const override { return Programs; }
    int currentProgram() const override { return current; }
    void selectProgram(int program) override;
    const char* shortName() const override { return shortNameField; }
    const char* longName() const override { return longNameField; }
    float valueOfProgram(int program) const override;
    float value() const override { return values[current]; }
    void setValueOfProgram(int program, float v) override;
    void setValue(float v) override;

    // Attaches e and brings it up to date at once with the present state.
    virtual void addObserver(Effect* e) = 0;
    virtual void removeObserver(Effect* e) = 0;
    // Recomputes the working value from value() and tells the observers when it changed.
    virtual void apply() = 0;

    float defaultNormalised() const { return defaultValue; }

protected:
    ParameterBase(const char* shortName, const char* longName, float defaultNormalised);

private:
    char shortNameField[kShortNameLength];
    char longNameField[kLongNameLength];
    float defaultValue;
    float values[Programs];
    int current = 0;
};

}  // namespace SynthToolkit::Parameters

#include "SynthToolkit/Parameters/ParameterBase.inl"
