// The RIFF/WAVE codec the Windows build uses, held against libsndfile, the native build's
// back end: each must read what the other writes, sample for sample, and both refuse broken
// files.
#include <gtest/gtest.h>

#include <sndfile.h>

#include <cstdio>
#include <fstream>

#include "tests/support/Signal.h"
#include "tools/qc-host/Wav.h"

namespace {

using QcHost::Audio;
using QcHost::SampleFormat;

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "qc-host-wav-" + name;
}

Audio signal(int channels, int rate, std::size_t frames) {
    Audio a;
    a.rate = rate;
    a.channels.assign(static_cast<std::size_t>(channels), std::vector<float>(frames));
    TestSupport::Lcg random(99);
    for (auto& c : a.channels)
        for (float& v : c) v = random.unit() * 2.0f - 1.0f;  // full scale, both signs
    a.channels[0][0] = 1.0f;                                 // clips in PCM
    a.channels[0][1] = -1.0f;
    return a;
}

void expectSame(const Audio& a, const Audio& b) {
    ASSERT_EQ(a.rate, b.rate);
    ASSERT_EQ(a.channels.size(), b.channels.size());
    for (std::size_t c = 0; c < a.channels.size(); ++c) {
        ASSERT_EQ(a.channels[c].size(), b.channels[c].size());
        for (std::size_t i = 0; i < a.channels[c].size(); ++i)
            ASSERT_EQ(a.channels[c][i], b.channels[c][i]) << "channel " << c << " frame " << i;
    }
}

struct Format {
    SampleFormat format;
    const char* name;
};
const Format kFormats[] = {{SampleFormat::Pcm16, "pcm16"},
                           {SampleFormat::Pcm24, "pcm24"},
                           {SampleFormat::Float32, "float32"}};

TEST(Wav, TheOwnCodecReadsWhatLibsndfileWrites) {
    for (const auto& f : kFormats)
        for (int channels : {1, 2})
            for (int rate : {22050, 44100, 96000}) {
                SCOPED_TRACE(std::string(f.name) + " " + std::to_string(channels) + " ch " +
                             std::to_string(rate));
                const std::string path = tempPath("sndfile.wav");
                std::string error;
                ASSERT_TRUE(QcHost::writeWav(path, signal(channels, rate, 1001), f.format, error))
                    << error;
                Audio bySndfile, byRiff;
                ASSERT_TRUE(QcHost::readWav(path, bySndfile, error)) << error;
                ASSERT_TRUE(QcHost::readRiffWav(path, byRiff, error)) << error;
                expectSame(bySndfile, byRiff);
                EXPECT_EQ(byRiff.frames(), 1001u);
            }
}

TEST(Wav, LibsndfileReadsWhatTheOwnCodecWrites) {
    for (const auto& f : kFormats)
        for (int channels : {1, 2}) {
            SCOPED_TRACE(std::string(f.name) + " " + std::to_string(channels) + " ch");
            const Audio original = signal(channels, 48000, 777);  // odd length: 24-bit pads
            const std::string path = tempPath("riff.wav");
            std::string error;
            ASSERT_TRUE(QcHost::writeRiffWav(path, original, f.format, error)) << error;
            Audio bySndfile, byRiff;
            ASSERT_TRUE(QcHost::readWav(path, bySndfile, error)) << error;
            ASSERT_TRUE(QcHost::readRiffWav(path, byRiff, error)) << error;
            expectSame(bySndfile, byRiff);
            if (f.format == SampleFormat::Float32) expectSame(original, byRiff);
        }
}

TEST(Wav, BrokenFilesAreRefusedByBothBackEnds) {
    std::string error;
    const std::string good = tempPath("good.wav");
    ASSERT_TRUE(QcHost::writeRiffWav(good, signal(2, 48000, 100), SampleFormat::Pcm16, error));
    std::ifstream in(good, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    auto variant = [&](const std::string& name, std::string content) {
        const std::string path = tempPath(name);
        std::ofstream(path, std::ios::binary) << content;
        return path;
    };
    std::string eightBit = bytes;
    eightBit[34] = 8;  // bits per sample
    eightBit[32] = 2;  // block align for 8-bit stereo
    const std::string files[] = {
        variant("empty.wav", ""),
        variant("text.wav", "this is not audio at all, only some text of sufficient length"),
        variant("header-only.wav", bytes.substr(0, 30)),
        variant("cut.wav", bytes.substr(0, bytes.size() - 50)),
        variant("eight-bit.wav", eightBit),
        tempPath("missing.wav"),
    };
    for (const auto& path : files) {
        Audio audio;
        error.clear();
        EXPECT_FALSE(QcHost::readRiffWav(path, audio, error)) << path;
        EXPECT_NE(error.find(path), std::string::npos) << error;
        // libsndfile accepts a data chunk cut short (it reads what is there); every other
        // case must fail there too.
        if (path.find("cut.wav") == std::string::npos) {
            error.clear();
            EXPECT_FALSE(QcHost::readWav(path, audio, error)) << path;
            EXPECT_NE(error.find(path), std::string::npos) << error;
        }
    }
}

}  // namespace
