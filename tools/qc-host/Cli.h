// Command-line parsing shared by the subcommands: positional arguments, options with values,
// and the settings (--set, --program, --preset, --name) that keep their order.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/qc-host/Session.h"

namespace QcHost {

struct CommandLine {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;  // the last value given wins
    // Settings before the first --curve, then one group per --curve LABEL.
    std::vector<Setting> settings;
    std::vector<std::pair<std::string, std::vector<Setting>>> curves;
    bool help = false;

    bool has(const std::string& name) const { return options.count(name) != 0; }
};

struct CommandShape {
    std::vector<std::string> valueOptions;  // e.g. "--block"
    std::vector<std::string> flags;         // options without a value
    bool settings = false;                  // accepts --set, --program, --preset, --name
    bool curves = false;                    // accepts --curve
};

// False with error set for unknown options, missing values and malformed settings.
bool parseCommandLine(const std::vector<std::string>& args, const CommandShape& shape,
                      CommandLine& line, std::string& error);

// The text without leading and trailing blanks and tabs.
std::string trim(const std::string& text);

// Strict number parsing: the whole text, finite, within [low, high].
bool parseNumber(const std::string& text, double low, double high, double& value);

}  // namespace QcHost
