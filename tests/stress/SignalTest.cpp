// The output watch flags exactly the blocks a fault would produce; the noise is what the
// hammer promises its input to be.
#include "tests/stress/Signal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace Stress {
namespace {

struct BlockCase {
    const char* what;
    float left;  // placed at the last frame of the left channel
    bool bad;
    std::uint64_t nonFinite;
    float largest;
};

TEST(OutputWatch, FlagsBlocksAboveTheLimitOrNotFinite) {
    const float inf = std::numeric_limits<float>::infinity();
    const BlockCase cases[] = {
        {"quiet", 0.25f, false, 0, 0.5f},
        {"at the limit", -8.0f, false, 0, 8.0f},
        {"just above the limit", std::nextafter(8.0f, 9.0f), true, 0, std::nextafter(8.0f, 9.0f)},
        {"far above, negative", -852.0f, true, 0, 852.0f},
        {"not a number", std::nanf(""), true, 1, 0.5f},
        {"infinite", -inf, true, 1, 0.5f},
    };
    for (const BlockCase& c : cases) {
        OutputWatch watch(8.0f);
        std::vector<float> left(64, 0.1f), right(64, -0.5f);
        left.back() = c.left;
        const float* channels[2] = {left.data(), right.data()};
        watch.addBlock(channels, 2, 64);
        EXPECT_EQ(watch.badBlocks(), c.bad ? 1u : 0u) << c.what;
        EXPECT_EQ(watch.nonFiniteSamples(), c.nonFinite) << c.what;
        EXPECT_EQ(watch.largest(), c.largest) << c.what;
    }
}

TEST(OutputWatch, CountsBlocksAndRemembersTheFirstBadOne) {
    OutputWatch watch(1.0f);
    std::vector<float> quiet(8, 0.5f), loud(8, 0.5f);
    loud[3] = 2.0f;
    const float* good[1] = {quiet.data()};
    const float* bad[1] = {loud.data()};
    watch.addBlock(good, 1, 8);
    EXPECT_EQ(watch.firstBadBlock(), -1);
    watch.addBlock(good, 1, 8);
    watch.addBlock(bad, 1, 8);
    watch.addBlock(bad, 1, 8);
    // Samples beyond the frame count are not the block's.
    watch.addBlock(bad, 1, 3);
    EXPECT_EQ(watch.blocks(), 5u);
    EXPECT_EQ(watch.badBlocks(), 2u);
    EXPECT_EQ(watch.firstBadBlock(), 2);
}

TEST(Noise, StaysWithinItsPeakAndFillsIt) {
    Noise noise(0.43f);
    float low = 0.0f, high = 0.0f;
    double sum = 0.0;
    const int count = 1 << 20;
    for (int i = 0; i < count; ++i) {
        const float sample = noise.next();
        low = std::min(low, sample);
        high = std::max(high, sample);
        sum += sample;
    }
    EXPECT_GE(low, -0.43f);
    EXPECT_LE(high, 0.43f);
    EXPECT_GT(high, 0.429f);
    EXPECT_LT(low, -0.429f);
    EXPECT_NEAR(sum / count, 0.0, 0.002);
}

TEST(Noise, RepeatsForASeedAndDiffersBetweenSeeds) {
    std::vector<float> a(256), b(256), c(256);
    Noise(0.5f, 7).fill(a.data(), 256);
    Noise(0.5f, 7).fill(b.data(), 256);
    Noise(0.5f, 8).fill(c.data(), 256);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
}

}  // namespace
}  // namespace Stress
