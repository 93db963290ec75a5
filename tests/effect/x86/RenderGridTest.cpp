// The 32-bit build's signal path over a grid of settings, pinned by a hash of the rendered
// bytes: any change to the rounding of a single sample, in any mode, slope, cutoff, spread,
// gain, sample rate, block split or glide after a host change, shows up here.
//
// The hashes were recorded from the plain per-sample engine on x86-64 Linux; another C library
// may round exp and pow differently, so the check runs on Linux only.
#include <gtest/gtest.h>

#if defined(__linux__) && defined(__x86_64__)
#include <cstdint>
#include <vector>

#include "tests/effect/x86/CorvaneTestKit.h"
#include "tests/support/SampleHash.h"

namespace {

using TestSupport::CorvaneInstance;

constexpr int kFrames = 2048;

std::uint64_t gridHash(float rate) {
    std::vector<float> left, right;
    TestSupport::fillSignal(left, right, kFrames);
    std::uint64_t hash = TestSupport::kSampleHashStart;
    for (float mode : {0.25f, 0.5f, 0.75f})
        for (float slope : {0.0f, 0.3f, 0.6f, 1.0f})
            for (float cutoff : {0.0f, 0.04f, 0.1f, 0.35f, 0.8f})
                for (float spread : {0.0f, 0.6f, 1.0f})
                    for (float amp : {0.0f, 0.5f, 0.85f}) {
                        CorvaneInstance effect;
                        effect.plugin->setSampleRate(rate);
                        const float values[] = {mode, cutoff, slope, spread, amp};
                        for (int i = 0; i < 5; ++i) effect.set(i, values[i]);
                        effect.plugin->resume();
                        std::vector<float> outL(kFrames), outR(kFrames);
                        effect.render(left.data(), right.data(), outL.data(), outR.data(), 1000,
                                      {256, 100, 7, 200});
                        // Spread and gain glide from here on; the pieces cut the glide.
                        effect.set(3, 1.0f - spread);
                        effect.set(4, 1.0f - amp);
                        effect.render(left.data() + 1000, right.data() + 1000, outL.data() + 1000,
                                      outR.data() + 1000, kFrames - 1000, {64, 333});
                        hash = TestSupport::HashSamples(TestSupport::HashSamples(hash, outL), outR);
                    }
    return hash;
}

TEST(RenderGrid, EveryRateRendersTheRecordedSamples) {
    const struct {
        float rate;
        std::uint64_t hash;
    } expected[] = {
        {16000.0f, 0x363bf25acaf42f7full},
        {44100.0f, 0xb51555b805fdbf45ull},
        {96000.0f, 0x3f0b2b6af703ad42ull},
    };
    for (const auto& row : expected)
        EXPECT_EQ(gridHash(row.rate), row.hash) << std::hex << "at " << row.rate << " Hz";
}

}  // namespace
#endif
