// Test signal and output bookkeeping shared by the thread hammer and the stability renders.
#pragma once

#include <cstdint>

#include "tests/support/Signal.h"

namespace Stress {

// White noise, uniform in [-peak, peak], from the shared generator so every platform renders
// the same input.
class Noise {
public:
    explicit Noise(float peakLevel, std::uint32_t seed = 0x5EED1234u)
        : peak(peakLevel), random(seed) {}
    float next() { return (random.unit() * 2.0f - 1.0f) * peak; }
    void fill(float* samples, int count) {
        for (int i = 0; i < count; ++i) samples[i] = next();
    }

private:
    float peak;
    TestSupport::Lcg random;
};

// Counts blocks whose output leaves the expected range. A non-finite sample makes its block
// bad and is counted on its own; the largest magnitude is kept over the finite samples.
class OutputWatch {
public:
    explicit OutputWatch(float sampleLimit) : limit(sampleLimit) {}

    void addBlock(const float* const* channels, int channelCount, int frames);

    std::uint64_t blocks() const { return blockCount; }
    std::uint64_t badBlocks() const { return badBlockCount; }
    std::uint64_t nonFiniteSamples() const { return nonFiniteCount; }
    float largest() const { return largestMagnitude; }
    // Index of the first bad block, or -1.
    std::int64_t firstBadBlock() const { return firstBad; }

private:
    float limit;
    std::uint64_t blockCount = 0;
    std::uint64_t badBlockCount = 0;
    std::uint64_t nonFiniteCount = 0;
    float largestMagnitude = 0.0f;
    std::int64_t firstBad = -1;
};

}  // namespace Stress
