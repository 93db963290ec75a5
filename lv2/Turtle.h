// The Turtle text of the LV2 bundle, made from the parameter table so that names, ranges,
// units, choices and defaults exist once: the plug-in's description, its manifest entry, and
// presets. Every port value is written as a decimal ("-24.0"): some hosts ignore integers there.
#pragma once

#include <string>

#include "lv2/Ports.h"

namespace QuellinCorvane::Lv2 {

// The shortest fixed-point text with a decimal point that reads back as exactly value.
std::string Decimal(float value);
// A Turtle string literal with quotes: "Mono Bass 120 Hz".
std::string QuotedString(const std::string& text);

// The @prefix lines every file here starts with.
std::string Prefixes();
std::string PluginTurtle();
// The manifest's entry for the plug-in, without prefixes.
std::string PluginManifestEntry();

// One preset: the parameter ports at normalised values (in port units, each one that the
// plug-in turns back into exactly that normalised value).
std::string PresetTurtle(const std::string& presetUri, const std::string& pluginUri,
                         const std::string& label, const float (&normalised)[kParameterCount]);
// A manifest entry for a preset kept in file (relative to the bundle), without prefixes.
std::string PresetManifestEntry(const std::string& presetUri, const std::string& pluginUri,
                                const std::string& file);

}  // namespace QuellinCorvane::Lv2
