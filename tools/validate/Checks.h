// The validator's checks. Each drives fresh instances of one binary and answers whether it
// passed, with the figure that decided it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/host/PluginLibrary.h"
#if QC_WITH_VST3
#include "tools/host/Vst3Module.h"
#endif
#if QC_WITH_LV2
#include "tools/host/Lv2Instance.h"
#endif

namespace Validate {

struct Result {
    bool passed = true;
    std::string figure;
    bool skipped = false;  // passed without testing anything; figure says why
};

struct Options {
    bool thorough = false;  // the long versions: soak length, editor cycles
};

struct Check {
    const char* name;
    Result (*run)(const VstHost::PluginLibrary&, const Options&);
};

// Every check that applies to this platform, in the order they run.
const std::vector<Check>& Checks();

#if QC_WITH_VST3
// The same for a VST3 module: its first effect class, with its controller.
struct Vst3Check {
    const char* name;
    Result (*run)(const Vst3Host::Module&, const Options&);
};
const std::vector<Vst3Check>& Vst3Checks();

// The VST3 view opened and closed in a host window of this platform; skipped when the
// controller offers no view or there is no display.
Result Vst3EditorCycles(const Vst3Host::Module& module, const Options& options);
// The cycles themselves, in the parent window given as the platform type says; pump serves
// the window's events between steps.
Result Vst3ViewCycles(const Vst3Host::Module& module, const Options& options, void* parent,
                      const char* platformType, const std::function<void()>& pump);
#endif

#if QC_WITH_LV2
// The same for an LV2 bundle's plug-in.
struct Lv2Check {
    const char* name;
    Result (*run)(const Lv2Host::Plugin&, const Options&);
};
const std::vector<Lv2Check>& Lv2Checks();
#endif

}  // namespace Validate
