// A named, owning collection of parameters, reached by the index inside the group. The Model
// forwards its requests here; the same locking rules as for IParameter apply.
#pragma once

namespace SynthToolkit::Parameters {

class IParameterGroup {
public:
    // Deletes every parameter.
    virtual ~IParameterGroup() = default;
    virtual void resetToDefault(int i) = 0;
    virtual int programCount() const = 0;
    virtual int currentProgram() const = 0;
    virtual void selectProgram(int program) = 0;
    virtual int parameterCount() const = 0;
    virtual const char* shortName() const = 0;
    virtual const char* longName() const = 0;
    virtual const char* parameterShortName(int i) const = 0;
    virtual const char* parameterLongName(int i) const = 0;
    virtual const char* parameterLabel(int i) const = 0;
    virtual const char* parameterDisplayText(int i) const = 0;
    virtual float valueOfProgram(int program, int i) const = 0;
    virtual float value(int i) const = 0;
    virtual void setValueOfProgram(int program, int i, float v) = 0;
    virtual void setValue(int i, float v) = 0;
};

}  // namespace SynthToolkit::Parameters
