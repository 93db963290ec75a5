// qc-validate: drives one plug-in binary through the validator's checks, as hosts drive
// plug-ins, and prints a line per check: name, PASS or FAIL, and the deciding figure.
//   qc-validate [--thorough] [--only NAME[,NAME...]] PLUGIN
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
    VstHost::PluginLibrary library;
    if (path.empty() || !library.load(path)) {
        std::fprintf(stderr, "qc-validate: %s\n",
                     path.empty() ? "no plug-in given" : library.error().c_str());
        return 2;
    }
    int failed = 0;
    for (const Validate::Check& check : Validate::Checks()) {
        if (!only.empty() && only.find("," + std::string(check.name) + ",") == std::string::npos)
            continue;
        const Validate::Result result = check.run(library, options);
        std::printf("%s\t%s\t%s\n", check.name, result.passed ? "PASS" : "FAIL",
                    result.figure.c_str());
        std::fflush(stdout);
        failed += result.passed ? 0 : 1;
    }
    return failed == 0 ? 0 : 1;
}
