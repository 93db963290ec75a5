// generate-artwork <output-dir> [--version <x.y.z>]
// Writes the editor's bitmaps into output-dir; 'make artwork' runs it into resources/.
#include <cstdio>
#include <cstring>
#include <string>

#include "Artwork.h"

#ifndef QC_ARTWORK_VERSION
#define QC_ARTWORK_VERSION "1.0.0"
#endif

int main(int argc, char** argv) {
    std::string outputDir;
    std::string version = QC_ARTWORK_VERSION;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0 && i + 1 < argc) {
            version = argv[++i];
        } else if (argv[i][0] != '-' && outputDir.empty()) {
            outputDir = argv[i];
        } else {
            outputDir.clear();
            break;
        }
    }
    if (outputDir.empty()) {
        std::fprintf(stderr, "usage: %s <output-dir> [--version <x.y.z>]\n", argv[0]);
        return 2;
    }
    std::string error;
    if (!artwork::generateAll(outputDir, version, error)) {
        std::fprintf(stderr, "generate-artwork: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
