// qc-host's own RIFF/WAVE reader (the Windows build's only one): any bytes as a .wav file.
// What reads must hold one equally long, finite-sized vector per channel.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/qc-host/Wav.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<unsigned char> bytes(data, data + size);
    QcHost::Audio audio;
    std::string error;
    if (!QcHost::decodeRiffWav(bytes, audio, error)) return 0;
    if (audio.channels.empty() || audio.rate <= 0) std::abort();
    for (const auto& channel : audio.channels)
        if (channel.size() != audio.channels[0].size()) std::abort();
    return 0;
}
