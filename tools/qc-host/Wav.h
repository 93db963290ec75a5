// Audio files as qc-host reads and writes them: whole files in memory, one float vector per
// channel. Two back ends share this interface: libsndfile in the native build, and a small
// RIFF/WAVE codec of our own where libsndfile is not available (the Windows build).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace QcHost {

struct Audio {
    int rate = 0;
    std::vector<std::vector<float>> channels;
    std::size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

enum class SampleFormat { Pcm16, Pcm24, Float32 };

// Reads 16/24/32-bit PCM and 32/64-bit float WAV files, any rate and channel count. False with
// error set, naming the file and what is wrong with it.
bool readWav(const std::string& path, Audio& audio, std::string& error);
// Writes a WAV file; qc-host's own output is always Float32.
bool writeWav(const std::string& path, const Audio& audio, SampleFormat format, std::string& error);

// The RIFF/WAVE codec, usable in every build so the native tests can hold it against
// libsndfile.
bool readRiffWav(const std::string& path, Audio& audio, std::string& error);
// The same from the file's bytes; error then names only what is wrong.
bool decodeRiffWav(const std::vector<unsigned char>& bytes, Audio& audio, std::string& error);
bool writeRiffWav(const std::string& path, const Audio& audio, SampleFormat format,
                  std::string& error);

}  // namespace QcHost
