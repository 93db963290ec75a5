// The native build's WAV back end: libsndfile reads whatever WAV variant a user brings.
#include <sndfile.h>

#include <memory>

#include "tools/qc-host/Wav.h"

namespace QcHost {
namespace {

struct Closer {
    void operator()(SNDFILE* f) const { sf_close(f); }
};
using Handle = std::unique_ptr<SNDFILE, Closer>;

}  // namespace

bool readWav(const std::string& path, Audio& audio, std::string& error) {
    SF_INFO info{};
    Handle file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) {
        error = path + ": " + sf_strerror(nullptr);
        return false;
    }
    const int major = info.format & SF_FORMAT_TYPEMASK;
    const int sub = info.format & SF_FORMAT_SUBMASK;
    if (major != SF_FORMAT_WAV && major != SF_FORMAT_WAVEX && major != SF_FORMAT_RF64) {
        error = path + ": not a WAV file";
        return false;
    }
    if (sub != SF_FORMAT_PCM_16 && sub != SF_FORMAT_PCM_24 && sub != SF_FORMAT_PCM_32 &&
        sub != SF_FORMAT_FLOAT && sub != SF_FORMAT_DOUBLE) {
        error = path + ": unsupported sample format; use 16/24-bit PCM or 32-bit float";
        return false;
    }
    if (info.channels <= 0) {
        error = path + ": the file declares no channels";
        return false;
    }
    const auto channels = static_cast<std::size_t>(info.channels);
    std::vector<float> interleaved(static_cast<std::size_t>(info.frames) * channels);
    const sf_count_t got = sf_readf_float(file.get(), interleaved.data(), info.frames);
    if (got != info.frames) {
        error = path + ": truncated or unreadable samples";
        return false;
    }
    audio.rate = info.samplerate;
    audio.channels.assign(channels, std::vector<float>(static_cast<std::size_t>(got)));
    for (std::size_t i = 0; i < static_cast<std::size_t>(got); ++i)
        for (std::size_t c = 0; c < channels; ++c)
            audio.channels[c][i] = interleaved[i * channels + c];
    return true;
}

bool writeWav(const std::string& path, const Audio& audio, SampleFormat format,
              std::string& error) {
    SF_INFO info{};
    info.samplerate = audio.rate;
    info.channels = static_cast<int>(audio.channels.size());
    info.format = SF_FORMAT_WAV | (format == SampleFormat::Pcm16   ? SF_FORMAT_PCM_16
                                   : format == SampleFormat::Pcm24 ? SF_FORMAT_PCM_24
                                                                   : SF_FORMAT_FLOAT);
    Handle file(sf_open(path.c_str(), SFM_WRITE, &info));
    if (!file) {
        error = path + ": " + sf_strerror(nullptr);
        return false;
    }
    // Out-of-range samples are kept in float files and clipped, not wrapped, in PCM ones.
    sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const std::size_t frames = audio.frames();
    const std::size_t channels = audio.channels.size();
    std::vector<float> interleaved(frames * channels);
    for (std::size_t i = 0; i < frames; ++i)
        for (std::size_t c = 0; c < channels; ++c)
            interleaved[i * channels + c] = audio.channels[c][i];
    if (sf_writef_float(file.get(), interleaved.data(), static_cast<sf_count_t>(frames)) !=
        static_cast<sf_count_t>(frames)) {
        error = path + ": write failed: " + sf_strerror(file.get());
        return false;
    }
    return true;
}

}  // namespace QcHost
