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
    int failed = 0;
    const auto report = [&](const char* name, const Validate::Result& result) {
        std::printf("%s\t%s\t%s\n", name,
                    result.skipped  ? "SKIP"
                    : result.passed ? "PASS"
                                    : "FAIL",
                    result.figure.c_str());
        std::fflush(stdout);
        failed += result.passed ? 0 : 1;
    };
    const auto wanted = [&](const char* name) {
        return only.empty() || only.find("," + std::string(name) + ",") != std::string::npos;
    };
#if QC_WITH_VST3
    if (Vst3Host::isVst3Path(path)) {
        Vst3Host::Module module;
        if (!module.load(path)) {
            std::fprintf(stderr, "qc-validate: %s\n", module.error().c_str());
            return 2;
        }
        for (const Validate::Vst3Check& check : Validate::Vst3Checks())
            if (wanted(check.name)) report(check.name, check.run(module, options));
        return failed == 0 ? 0 : 1;
    }
#endif
#if QC_WITH_LV2
    if (Lv2Host::Plugin::isLv2Path(path)) {
        Lv2Host::Plugin plugin;
        if (!plugin.load(path)) {
            std::fprintf(stderr, "qc-validate: %s\n", plugin.error().c_str());
            return 2;
        }
        for (const Validate::Lv2Check& check : Validate::Lv2Checks())
            if (wanted(check.name)) report(check.name, check.run(plugin, options));
        return failed == 0 ? 0 : 1;
    }
#endif
    VstHost::PluginLibrary library;
    if (!library.load(path)) {
        std::fprintf(stderr, "qc-validate: %s\n", library.error().c_str());
        return 2;
    }
    for (const Validate::Check& check : Validate::Checks())
        if (wanted(check.name)) report(check.name, check.run(library, options));
    return failed == 0 ? 0 : 1;
}
