// LV2 presets from .fxp and .fxb files of Quellin Corvane: each file goes through the VST 2.x
// plug-in (which reads its own chunks) and every program it holds comes out as a pset:Preset,
// with the program's name as its label and each parameter in its port's units.
#pragma once

#include <string>
#include <vector>

#include "tools/qc-host/Session.h"

namespace QcHost {

struct Lv2PresetOptions {
    std::string pluginUri;  // the LV2 plug-in the presets apply to
    std::string prefix;     // each preset's URI is prefix + a name made from its label
};

// Writes BUNDLE/manifest.ttl and one BUNDLE/<name>.ttl per program (a .fxp holds one, a .fxb
// all of its bank's), creating BUNDLE. session holds Quellin Corvane, opened.
bool writeLv2Presets(Session& session, const std::vector<std::string>& files,
                     const std::string& bundle, const Lv2PresetOptions& options,
                     std::string& error);

// "Mono Bass 120 Hz" -> "mono-bass-120-hz"; "preset" when nothing is left.
std::string presetSlug(const std::string& label);

}  // namespace QcHost
