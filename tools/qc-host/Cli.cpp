#include "tools/qc-host/Cli.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace QcHost {

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool parseNumber(const std::string& text, double low, double high, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0' && std::isfinite(value) && value >= low && value <= high;
}

bool parseCommandLine(const std::vector<std::string>& args, const CommandShape& shape,
                      CommandLine& line, std::string& error) {
    auto contains = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    const std::vector<std::string> settingOptions = {"--set", "--program", "--preset", "--name"};
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
            continue;
        }
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0 || arg == "--") {
            line.positional.push_back(arg);
            continue;
        }
        std::string value;
        bool inlineValue = false;
        const auto equals = arg.find('=');
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
            inlineValue = true;
        }
        const bool isSetting = shape.settings && contains(settingOptions, arg);
        const bool isCurve = shape.curves && arg == "--curve";
        if (contains(shape.flags, arg)) {
            if (inlineValue) {
                error = arg + " takes no value";
                return false;
            }
            line.options[arg] = "";
            continue;
        }
        if (!isSetting && !isCurve && !contains(shape.valueOptions, arg)) {
            error = "unknown option " + arg;
            return false;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            value = args[++i];
        }
        if (isCurve) {
            line.curves.push_back({value, {}});
            continue;
        }
        if (!isSetting) {
            line.options[arg] = value;
            continue;
        }
        Setting s;
        if (arg == "--set") {
            const auto split = value.find('=');
            if (split == std::string::npos || split == 0) {
                error = "--set needs NAME=VALUE or INDEX=VALUE, got '" + value + "'";
                return false;
            }
            s.kind = Setting::Kind::Set;
            s.target = value.substr(0, split);
            // Read once the plug-in is open: its displays tell what the value means.
            s.text = value.substr(split + 1);
            if (s.text.find_first_not_of(" \t") == std::string::npos) {
                error = "--set " + value + ": no value after '='";
                return false;
            }
        } else if (arg == "--program") {
            s.kind = Setting::Kind::Program;
            if (!parseNumber(value, 0, 1e6, s.value) || s.value != std::floor(s.value)) {
                error = "--program needs a program number, got '" + value + "'";
                return false;
            }
        } else if (arg == "--preset") {
            s.kind = Setting::Kind::Preset;
            s.target = value;
        } else {
            s.kind = Setting::Kind::Name;
            s.target = value;
        }
        (line.curves.empty() ? line.settings : line.curves.back().second).push_back(s);
    }
    return true;
}

}  // namespace QcHost
