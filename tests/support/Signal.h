// The one source of test signals: a fixed linear congruential generator and a stereo signal
// built from it, with no library function in the path, so every platform and every build
// renders bit-identical input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace TestSupport {

class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : state(seed) {}
    std::uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state;
    }
    // The top 24 bits as a fraction in [0, 1): exact in a float.
    float unit() { return static_cast<float>(next() >> 8) / 16777216.0f; }

private:
    std::uint32_t state;
};

// A low triangle wave per channel (55 Hz left, 80 Hz right at 44.1 kHz) plus noise.
inline void makeTestSignal(std::vector<float>& left, std::vector<float>& right, std::size_t frames,
                           std::uint32_t seed = 12345) {
    left.resize(frames);
    right.resize(frames);
    Lcg random(seed);
    float phaseL = 0.0f, phaseR = 0.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        phaseL += 55.0f / 44100.0f;
        phaseR += 80.0f / 44100.0f;
        if (phaseL >= 1.0f) phaseL -= 1.0f;
        if (phaseR >= 1.0f) phaseR -= 1.0f;
        const float noiseL = random.unit() - 0.5f;
        const float noiseR = random.unit() - 0.5f;
        left[i] = 0.5f * (4.0f * (phaseL < 0.5f ? phaseL : 1.0f - phaseL) - 1.0f) + 0.3f * noiseL;
        right[i] = 0.4f * (4.0f * (phaseR < 0.5f ? phaseR : 1.0f - phaseR) - 1.0f) + 0.3f * noiseR;
    }
}

}  // namespace TestSupport
