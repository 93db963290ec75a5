// Loads one shipped plug-in binary per test suite and opens a fresh instance for every test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tools/host/Host.h"

namespace TestSupport {

template <const char* const* Path>
class PluginFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        library = std::make_unique<VstHost::PluginLibrary>();
        loaded = library->load(*Path);
    }
    static void TearDownTestSuite() { library.reset(); }

    void SetUp() override {
        ASSERT_TRUE(loaded) << library->error();
        ASSERT_TRUE(host.open(*library)) << host.error();
        effect = host.effect();
    }

    // Runs both channels through the plug-in in blocks of blockSize.
    void render(std::vector<float>& left, std::vector<float>& right, std::vector<float>& outL,
                std::vector<float>& outR, VstInt32 blockSize) {
        outL.assign(left.size(), 0.0f);
        outR.assign(right.size(), 0.0f);
        ASSERT_TRUE(host.processReplacing({left.data(), right.data()}, {outL.data(), outR.data()},
                                          static_cast<VstInt32>(left.size()), blockSize));
    }

    static inline std::unique_ptr<VstHost::PluginLibrary> library;
    static inline bool loaded = false;
    VstHost::Host host;
    AEffect* effect = nullptr;
};

// A deterministic stereo signal, the same on every platform: a low sine per channel plus
// noise from a fixed linear congruential generator.
inline void makeTestSignal(std::vector<float>& left, std::vector<float>& right, std::size_t frames,
                           std::uint32_t seed = 12345) {
    left.resize(frames);
    right.resize(frames);
    std::uint32_t state = seed;
    auto noise = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 16777216.0f - 0.5f;
    };
    float phaseL = 0.0f, phaseR = 0.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        // Triangle waves: no library function, so identical everywhere.
        phaseL += 55.0f / 44100.0f;
        phaseR += 80.0f / 44100.0f;
        if (phaseL >= 1.0f) phaseL -= 1.0f;
        if (phaseR >= 1.0f) phaseR -= 1.0f;
        left[i] = 0.5f * (4.0f * (phaseL < 0.5f ? phaseL : 1.0f - phaseL) - 1.0f) + 0.3f * noise();
        right[i] = 0.4f * (4.0f * (phaseR < 0.5f ? phaseR : 1.0f - phaseR) - 1.0f) + 0.3f * noise();
    }
}

}  // namespace TestSupport
