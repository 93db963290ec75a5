// qc-host's preset containers: any bytes as an .fxp/.fxb file. What decodes must encode to a
// file that decodes to the same contents.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/qc-host/FxFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<unsigned char> bytes(data, data + size);
    QcHost::FxFile file;
    std::string error;
    if (!QcHost::decodeFx(bytes, file, error)) return 0;
    const std::vector<unsigned char> encoded = QcHost::encodeFx(file);
    QcHost::FxFile again;
    if (!QcHost::decodeFx(encoded, again, error)) std::abort();
    if (QcHost::encodeFx(again) != encoded) std::abort();
    return 0;
}
