// One automatable setting: a normalised value (0..1) per program, turned into a working value,
// a display text and a label. Every changing call reaches a parameter through the Model, with
// the model's lock held; parameters hold no lock of their own.
#pragma once

namespace SynthToolkit::Parameters {

class IParameter {
public:
    virtual ~IParameter() = default;
    virtual void resetToDefault() = 0;
    virtual int programCount() const = 0;
    virtual int currentProgram() const = 0;
    // Makes program the current one and applies its stored value.
    virtual void selectProgram(int program) = 0;
    virtual const char* shortName() const = 0;
    virtual const char* longName() const = 0;
    // At most 7 characters.
    virtual const char* displayText() const = 0;
    virtual const char* label() const = 0;
    virtual float valueOfProgram(int program) const = 0;
    virtual float value() const = 0;
    // Applies only when program is the current one.
    virtual void setValueOfProgram(int program, float v) = 0;
    virtual void setValue(float v) = 0;
};

}  // namespace SynthToolkit::Parameters
