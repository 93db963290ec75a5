// The LV2 plug-in's identity and ports. URIs and port symbols are permanent: hosts store them in
// sessions and presets. The five parameter ports follow the parameter table's order, in its units.
// Plain constants, no LV2 header: the TTL generator and qc-host read them too.
#pragma once

#include <cstdint>

#include "effect/x64/ParameterTable.h"

namespace QuellinCorvane::Lv2 {

inline constexpr const char* kPluginUri = "https://quellin.example/plugins/corvane";
// Where qc-host puts the factory presets: kPresetPrefix followed by the preset's own name.
inline constexpr const char* kPresetPrefix = "https://quellin.example/plugins/corvane/presets/";
// The panel, a ui:X11UI in a binary of its own.
inline constexpr const char* kUiUri = "https://quellin.example/plugins/corvane#ui";
inline constexpr const char* kBinaryName = "quellin-corvane.so";
inline constexpr const char* kUiBinaryName = "quellin-corvane-ui.so";
inline constexpr const char* kTurtleName = "quellin-corvane.ttl";

// Hosts keep the newest copy they find: each release raises the minor version by 2, or the
// micro version by 2 for a fix; odd numbers mark development builds.
inline constexpr int kMinorVersion = 2;
inline constexpr int kMicroVersion = 0;

enum Port : std::uint32_t {
    kInputLeft = 0,
    kInputRight,
    kOutputLeft,
    kOutputRight,
    kFirstParameterPort,  // parameter i is port kFirstParameterPort + i
    kEnabledPort = kFirstParameterPort + kParameterCount,
    kControlPort,  // atom input: MIDI and the panel's messages
    kNotifyPort,   // atom output: notifications for the panel
    kPortCount
};

// By port index.
inline constexpr const char* kPortSymbols[kPortCount] = {
    "in_l",  "in_r",   "out_l",    "out_r",   "output_mode", "cutoff",
    "slope", "spread", "bass_amp", "enabled", "control",     "notify",
};

// Room the notify port asks of hosts: the full binding map with its headers fits many times.
constexpr int kNotifyMinimumBytes = 4096;

}  // namespace QuellinCorvane::Lv2
