// One hosted plug-in as qc-host drives it: loads the binary, opens and prepares an instance,
// applies the command line's settings in the order given, and moves presets in and out the
// way hosts do.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/host/Host.h"
#include "tools/qc-host/FxFile.h"

namespace QcHost {

// One setting from the command line; they apply in order, so "--program 3 --set Amp=1"
// changes program 3.
struct Setting {
    enum class Kind { Set, Program, Preset, Name };
    Kind kind = Kind::Set;
    std::string target;  // Set: parameter name or index; Preset: path; Name: program name
    double value = 0.0;  // Set: normalised 0..1 when `text` is empty; Program: index
    std::string text;    // Set: the value as given, normalised or in the parameter's terms
};

// The parameter a command line names, among parameters with these names (long names may be
// empty): by index, or case-insensitively by short name, long name or a prefix of either that
// fits one parameter only; -1 with error set otherwise.
int matchParameter(const std::string& name, const std::vector<std::string>& shortNames,
                   const std::vector<std::string>& longNames, std::string& error);

class Session {
public:
    Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session();

    // Loads the binary and opens one instance (effOpen sent).
    bool open(const std::string& path, std::string& error);
    // A second instance of the same binary.
    bool openAnother(const Session& loaded, std::string& error);
    AEffect* effect() const { return host.effect(); }
    VstHost::Host& vst() { return host; }

    // effSetSampleRate, effSetBlockSize and resume; suspend() undoes the last.
    void prepare(double rate, int blockSize);
    void suspend();

    bool apply(const std::vector<Setting>& settings, std::string& error);
    // See matchParameter.
    int findParameter(const std::string& text, std::string& error);

    bool loadPreset(const std::string& path, std::string& error);
    bool loadPreset(const FxFile& file, std::string& error);
    // .fxb saves the bank, anything else the current program; chunks when the plug-in keeps
    // them, parameter values otherwise.
    FxFile makePreset(bool bank);
    bool savePreset(const std::string& path, std::string& error);

    std::string paramName(int index);
    // From effGetParameterProperties; empty when the plug-in does not answer it.
    std::string paramLongName(int index);
    std::string paramLabel(int index);
    std::string paramDisplay(int index);
    std::string programName();
    std::string text(VstInt32 opcode, VstInt32 index, std::size_t length);

private:
    void loadParamsProgram(const FxProgram& program);

    std::shared_ptr<VstHost::PluginLibrary> library;
    VstHost::Host host;
    bool resumed = false;
};

}  // namespace QcHost
