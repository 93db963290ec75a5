// qc-validate: drives one plug-in binary through the validator's checks, as hosts drive
// plug-ins, and prints a line per check: name, PASS or FAIL, and the deciding figure.
//   qc-validate [--thorough] [--only NAME[,NAME...]] PLUGIN
// PLUGIN is a VST 2.x binary, a VST3 bundle or an LV2 bundle (or the binary inside either).
// Exits 0 when every check passed, 1 when one failed, 2 on a bad command line or binary.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/validate/Checks.h"

int main(int argc, char** argv) {
    Validate::Options options;
    std::string only, path;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--thorough") == 0) {
            options.thorough = true;
        } else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
            only = "," + std::string(argv[++i]) + ",";
        } else if (path.empty() && argv[i][0] != '-') {
            path = argv[i];
        } else {
            std::fprintf(stderr, "usage: qc-validate [--thorough] [--only NAME,...] PLUGIN\n");
            return 2;
        }
    }
    if (path.empty()) {
        std::fprintf(stderr, "qc-validate: no plug-in given\n");
        return 2;
    }
    const auto wanted = [&](const char* name) {
        return only.empty() || only.find("," + std::string(name) + ",") != std::string::npos;
    };
    // Loads the binary, then runs each wanted check of its format and prints its line.
    const auto validate = [&](auto& binary, const auto& checks) {
        if (!binary.load(path)) {
            std::fprintf(stderr, "qc-validate: %s\n", binary.error().c_str());
            return 2;
        }
        int failed = 0;
        for (const auto& check : checks) {
            if (!wanted(check.name)) continue;
            const Validate::Result result = check.run(binary, options);
            std::printf("%s\t%s\t%s\n", check.name,
                        result.skipped  ? "SKIP"
                        : result.passed ? "PASS"
                                        : "FAIL",
                        result.figure.c_str());
            std::fflush(stdout);
            failed += result.passed ? 0 : 1;
        }
        return failed == 0 ? 0 : 1;
    };
#if QC_WITH_VST3
    if (Vst3Host::isVst3Path(path)) {
        Vst3Host::Module module;
        return validate(module, Validate::Vst3Checks());
    }
#endif
#if QC_WITH_LV2
    if (Lv2Host::Plugin::isLv2Path(path)) {
        Lv2Host::Plugin plugin;
        return validate(plugin, Validate::Lv2Checks());
    }
#endif
    VstHost::PluginLibrary library;
    return validate(library, Validate::Checks());
}
