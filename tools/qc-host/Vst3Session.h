// A VST3 module as qc-host drives it: the effect class's processor and controller, settings
// applied through the controller's texts and the processor's parameter changes, one at a time
// so they keep the command line's order.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/host/Vst3Instance.h"
#include "tools/qc-host/Render.h"
#include "tools/qc-host/Session.h"

namespace QcHost {

using Vst3Host::isVst3Path;

class Vst3Session {
public:
    // Loads the module and makes its first effect class, processing at 48 kHz until prepare().
    bool open(const std::string& path, std::string& error);
    // Restarts processing at this rate and block size.
    bool prepare(double rate, int blockSize, std::string& error);
    // Set: a bare 0..1 number is normalised, anything else goes to getParamValueByString.
    // Program: the program-change parameter. Preset: the file as the component's state.
    // Name: refused, the interface has no way to rename a program.
    bool apply(const std::vector<Setting>& settings, std::string& error);
    // See matchParameter; an index into parameters().
    int findParameter(const std::string& text, std::string& error);

    const Vst3Host::ClassInfo& effectClass() const { return effect; }
    // The parameters a host shows: hidden ones are left out.
    const std::vector<Vst3::ParameterInfo>& parameters() const { return params; }
    Vst3Host::Instance& plugin() { return *instance; }
    Vst3Host::Module& binary() { return module; }
    // The current value as the controller shows it, with its unit.
    std::string display(const Vst3::ParameterInfo& info);
    // What --set takes besides normalised values: the steps' texts, or the range's ends.
    std::string describeAccepted(const Vst3::ParameterInfo& info);
    // The program list's names and the selected one; empty without a program list.
    std::vector<std::string> programNames();
    int currentProgram();

    // Stereo blocks; timed controllers become changes of the parameters the controller maps
    // them to, at their offsets.
    bool render(const Audio& input, Audio& output, int blockSize,
                const std::vector<TimedEvent>& events, const Progress& progress,
                std::string& error);

private:
    bool change(Vst3::ParamID id, Vst3::ParamValue value, std::string& error);
    void updateController();

    Vst3Host::Module module;
    std::unique_ptr<Vst3Host::Instance> instance;
    Vst3Host::ClassInfo effect;
    std::vector<Vst3::ParameterInfo> params;
    Vst3Host::ParameterChanges changes;
};

}  // namespace QcHost
