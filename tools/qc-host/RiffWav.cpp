// A RIFF/WAVE reader and writer for the formats qc-host promises: integer PCM of 16, 24 or 32
// bits and IEEE float of 32 or 64 bits, plain or WAVE_FORMAT_EXTENSIBLE. Integer samples are
// scaled by 2^-(bits-1), which is what libsndfile does, so both back ends read the same values.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "tools/qc-host/Wav.h"

namespace QcHost {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint32_t le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void put16(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}
void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void putTag(std::vector<unsigned char>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool slurp(const std::string& path, std::vector<unsigned char>& bytes, std::string& error) {
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = path + ": cannot open for reading";
        return false;
    }
    unsigned char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    if (std::ferror(file.get())) {
        error = path + ": read error";
        return false;
    }
    return true;
}

float clampToPcm(float v) {
    return std::isnan(v) ? 0.0f : std::fmin(1.0f, std::fmax(-1.0f, v));
}

}  // namespace

bool readRiffWav(const std::string& path, Audio& audio, std::string& error) {
    std::vector<unsigned char> bytes;
    if (!slurp(path, bytes, error)) return false;
    if (decodeRiffWav(bytes, audio, error)) return true;
    error = path + ": " + error;
    return false;
}

bool decodeRiffWav(const std::vector<unsigned char>& bytes, Audio& audio, std::string& error) {
    auto fail = [&](const std::string& why) {
        error = why;
        return false;
    };
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return fail("not a RIFF/WAVE file");

    bool haveFormat = false;
    std::uint16_t tag = 0, channels = 0, bits = 0, blockAlign = 0;
    std::uint32_t rate = 0;
    const unsigned char* data = nullptr;
    std::size_t dataSize = 0;
    std::size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const unsigned char* header = bytes.data() + pos;
        const std::size_t size = le32(header + 4);
        const std::size_t available = bytes.size() - pos - 8;
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (size < 16 || size > available) return fail("truncated 'fmt ' chunk");
            const unsigned char* f = header + 8;
            tag = le16(f);
            channels = le16(f + 2);
            rate = le32(f + 4);
            blockAlign = le16(f + 12);
            bits = le16(f + 14);
            if (tag == kFormatExtensible) {
                if (size < 40) return fail("truncated WAVE_FORMAT_EXTENSIBLE header");
                tag = le16(f + 24);  // the sub-format GUID starts with the plain format tag
            }
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0) {
            if (size > available) return fail("truncated: the data chunk runs past the end");
            data = header + 8;
            dataSize = size;
            break;  // everything the reader needs comes before the samples
        }
        if (size > available) break;
        pos += 8 + size + (size & 1);  // chunks are padded to an even length
    }
    if (!haveFormat) return fail("no 'fmt ' chunk before the samples");
    if (!data) return fail("no 'data' chunk");
    if (channels == 0) return fail("the format declares no channels");
    if (rate == 0 || rate > 1000000) return fail("unsupported sample rate " + std::to_string(rate));
    const bool isPcm = tag == kFormatPcm && (bits == 16 || bits == 24 || bits == 32);
    const bool isFloat = tag == kFormatFloat && (bits == 32 || bits == 64);
    if (!isPcm && !isFloat)
        return fail("unsupported sample format (tag " + std::to_string(tag) + ", " +
                    std::to_string(bits) + " bits); use 16/24-bit PCM or 32-bit float");
    const std::size_t bytesPerSample = bits / 8;
    if (blockAlign != bytesPerSample * channels) return fail("inconsistent block alignment");

    const std::size_t frames = dataSize / blockAlign;
    audio.rate = static_cast<int>(rate);
    audio.channels.assign(channels, std::vector<float>(frames));
    const unsigned char* p = data;
    for (std::size_t i = 0; i < frames; ++i) {
        for (std::size_t c = 0; c < channels; ++c, p += bytesPerSample) {
            float v = 0.0f;
            if (isFloat && bits == 32) {
                const std::uint32_t raw = le32(p);
                std::memcpy(&v, &raw, 4);
            } else if (isFloat) {
                const std::uint64_t raw = le32(p) | (static_cast<std::uint64_t>(le32(p + 4)) << 32);
                double d;
                std::memcpy(&d, &raw, 8);
                v = static_cast<float>(d);
            } else if (bits == 16) {
                v = static_cast<float>(static_cast<std::int16_t>(le16(p))) / 32768.0f;
            } else if (bits == 24) {
                // Shifted into the top of a 32-bit word, so the sign comes along.
                const std::int32_t s =
                    static_cast<std::int32_t>((static_cast<std::uint32_t>(p[0]) << 8) |
                                              (static_cast<std::uint32_t>(p[1]) << 16) |
                                              (static_cast<std::uint32_t>(p[2]) << 24));
                v = static_cast<float>(s / 256) / 8388608.0f;
            } else {
                v = static_cast<float>(static_cast<double>(static_cast<std::int32_t>(le32(p))) /
                                       2147483648.0);
            }
            audio.channels[c][i] = v;
        }
    }
    return true;
}

bool writeRiffWav(const std::string& path, const Audio& audio, SampleFormat format,
                  std::string& error) {
    const std::size_t channels = audio.channels.size();
    if (channels == 0 || channels > 16 || audio.rate <= 0) {
        error = path + ": nothing to write (no channels or no rate)";
        return false;
    }
    const std::size_t frames = audio.frames();
    const std::size_t bytesPerSample = format == SampleFormat::Pcm16   ? 2
                                       : format == SampleFormat::Pcm24 ? 3
                                                                       : 4;
    const std::size_t dataSize = frames * channels * bytesPerSample;
    if (dataSize > std::numeric_limits<std::uint32_t>::max() - 100) {
        error = path + ": too long for a WAV file";
        return false;
    }
    const bool isFloat = format == SampleFormat::Float32;
    std::vector<unsigned char> out;
    out.reserve(dataSize + 64);
    putTag(out, "RIFF");
    put32(out, 0);  // filled in below
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, isFloat ? 18 : 16);
    put16(out, isFloat ? kFormatFloat : kFormatPcm);
    put16(out, static_cast<std::uint32_t>(channels));
    put32(out, static_cast<std::uint32_t>(audio.rate));
    put32(out, static_cast<std::uint32_t>(audio.rate * channels * bytesPerSample));
    put16(out, static_cast<std::uint32_t>(channels * bytesPerSample));
    put16(out, static_cast<std::uint32_t>(bytesPerSample * 8));
    if (isFloat) {
        put16(out, 0);  // cbSize: non-PCM formats carry it, and a 'fact' chunk
        putTag(out, "fact");
        put32(out, 4);
        put32(out, static_cast<std::uint32_t>(frames));
    }
    putTag(out, "data");
    put32(out, static_cast<std::uint32_t>(dataSize));
    for (std::size_t i = 0; i < frames; ++i) {
        for (std::size_t c = 0; c < channels; ++c) {
            const float v = audio.channels[c][i];
            if (isFloat) {
                std::uint32_t raw;
                std::memcpy(&raw, &v, 4);
                put32(out, raw);
            } else if (format == SampleFormat::Pcm16) {
                const long s = std::lrint(clampToPcm(v) * 32768.0f);
                put16(out, static_cast<std::uint32_t>(s > 32767 ? 32767 : s) & 0xFFFF);
            } else {
                const long s = std::lrint(clampToPcm(v) * 8388608.0f);
                const std::uint32_t u = static_cast<std::uint32_t>(s > 8388607 ? 8388607 : s);
                out.push_back(static_cast<unsigned char>(u));
                out.push_back(static_cast<unsigned char>(u >> 8));
                out.push_back(static_cast<unsigned char>(u >> 16));
            }
        }
    }
    if (dataSize & 1) out.push_back(0);
    const std::uint32_t riffSize = static_cast<std::uint32_t>(out.size() - 8);
    for (int b = 0; b < 4; ++b) out[4 + b] = static_cast<unsigned char>(riffSize >> (8 * b));

    File file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = path + ": cannot open for writing";
        return false;
    }
    if (std::fwrite(out.data(), 1, out.size(), file.get()) != out.size() ||
        std::fclose(file.release()) != 0) {
        error = path + ": write failed";
        return false;
    }
    return true;
}

}  // namespace QcHost
