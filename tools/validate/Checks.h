// The validator's checks. Each drives fresh instances of one binary and answers whether it
// passed, with the figure that decided it.
#pragma once

#include <string>
#include <vector>

#include "tools/host/PluginLibrary.h"

namespace Validate {

struct Result {
    bool passed = true;
    std::string figure;
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

}  // namespace Validate
