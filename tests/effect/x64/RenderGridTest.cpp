// The signal path's arithmetic is specified sample for sample, so its output over a grid of
// settings is pinned by a hash of the rendered bytes: any change to the rounding of a single
// sample in any mode, slope, cutoff, spread, gain, sample rate, block split, host change
// between blocks or learned controller change inside a block shows up here.
//
// The hashes were recorded from the plain per-sample engine on x86-64 Linux; another C library
// may round sinf, cosf and powf differently, so the check runs on Linux only.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "VstToolkit/Controller.h"
#include "effect/x64/QuellinCorvaneModel.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/SampleHash.h"
#include "tests/support/Signal.h"

using namespace QuellinCorvane;

#if defined(__linux__) && defined(__x86_64__)
namespace {

constexpr int kFrames = 1536;
constexpr int kBlock = 256;

// A wide stereo signal: a different pseudo-random walk in each channel.
std::vector<float> signal(unsigned seed) {
    std::vector<float> samples(kFrames);
    TestSupport::Lcg random(seed);
    float walk = 0.0f;
    for (float& sample : samples) {
        const float step = random.unit() - 0.5f;
        walk = walk * 0.9f + step;
        sample = walk * 0.4f;
    }
    return samples;
}

struct GridRender {
    TestSupport::RecordingHost host;
    QuellinCorvaneModel* model = new QuellinCorvaneModel;
    VstToolkit::Controller controller{TestSupport::RecordingHost::callback, model};
    std::vector<float> left = signal(1), right = signal(2);
    std::vector<float> outL = std::vector<float>(kFrames), outR = std::vector<float>(kFrames);

    // Renders kFrames in blocks, with a learned controller moving the cutoff at frame 100 of
    // the second block and a host change of spread between the fourth and fifth.
    std::uint64_t Render(std::uint64_t hash) {
        float* inputs[] = {left.data(), right.data()};
        float* outputs[] = {outL.data(), outR.data()};
        for (int done = 0, block = 0; done < kFrames; done += kBlock, ++block) {
            if (block == 1) model->PushMidiEvent({100, 0xB0, 20, 90});
            if (block == 4) controller.setParameter(kStereoSpread, 0.25f);
            float* in[] = {inputs[0] + done, inputs[1] + done};
            float* out[] = {outputs[0] + done, outputs[1] + done};
            controller.processReplacing(in, out, kBlock);
        }
        return TestSupport::HashSamples(TestSupport::HashSamples(hash, outL), outR);
    }
};

std::uint64_t gridHash(float rate) {
    std::uint64_t hash = TestSupport::kSampleHashStart;
    for (float mode : {0.25f, 0.5f, 0.75f})
        for (float slope : {0.0f, 0.3f, 0.6f, 1.0f})
            for (float cutoff : {0.0f, 0.04f, 0.1f, 0.35f, 0.8f})
                for (float spread : {0.0f, 0.6f, 1.0f})
                    for (float amp : {0.0f, 0.5f, 0.85f}) {
                        GridRender grid;
                        grid.controller.setSampleRate(rate);
                        grid.model->RegisterMidiControllerMapping(20, kCutoffFrequency);
                        const float values[] = {mode, cutoff, slope, spread, amp};
                        for (VstInt32 i = 0; i < kParameterCount; ++i)
                            grid.controller.setParameter(i, values[i]);
                        hash = grid.Render(hash);
                    }
    return hash;
}

TEST(RenderGrid, EveryRateRendersTheRecordedSamples) {
    const struct {
        float rate;
        std::uint64_t hash;
    } expected[] = {
        {16000.0f, 0xad561e24d459fe88ull},
        {44100.0f, 0x5d37d1d8c7111f3full},
        {48000.0f, 0x6b27e3670b05b410ull},
        {96000.0f, 0x2f44ea5c01fbcdb0ull},
    };
    for (const auto& row : expected)
        EXPECT_EQ(gridHash(row.rate), row.hash) << std::hex << "at " << row.rate << " Hz";
}

}  // namespace
#endif
