// qc-lv2-turtle BUNDLE [PRESETS_MANIFEST]: writes the plug-in's description and the bundle's
// manifest.ttl into BUNDLE, from the parameter table. The manifest also takes the entries of
// PRESETS_MANIFEST (a preset bundle's manifest, as qc-host writes it), without its prefixes.
// Run by the build.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "lv2/Turtle.h"

namespace {

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (out) return true;
    std::fprintf(stderr, "qc-lv2-turtle: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace QuellinCorvane::Lv2;
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: qc-lv2-turtle BUNDLE [PRESETS_MANIFEST]\n");
        return 2;
    }
    const std::string bundle = argv[1];
    std::string manifest = Prefixes() + PluginManifestEntry();
    if (argc == 3) {
        std::ifstream presets(argv[2]);
        if (!presets) {
            std::fprintf(stderr, "qc-lv2-turtle: cannot read %s\n", argv[2]);
            return 1;
        }
        for (std::string line; std::getline(presets, line);)
            if (line.rfind("@prefix", 0) != 0) manifest += line + "\n";
    }
    const bool written = writeFile(bundle + "/" + kTurtleName, PluginTurtle()) &&
                         writeFile(bundle + "/manifest.ttl", manifest);
    return written ? 0 : 1;
}
