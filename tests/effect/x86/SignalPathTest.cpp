// Properties of the signal path measured on its output: the invariants of the modes, the
// glide of the smoothed parameters, the cutoff rules and rendering in pieces.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "tests/effect/x86/CorvaneTestKit.h"
#include "tests/support/GuardedBuffer.h"

using namespace TestSupport;
using SynthToolkit::Effects::Corvane;
using SynthToolkit::Effects::LowPassStage;

namespace {

constexpr int kFrames = 8192;

struct Rendered {
    std::vector<float> left, right;
};

Rendered renderWith(CorvaneInstance& fx, const std::vector<float>& inL,
                    const std::vector<float>& inR, const std::vector<int>& pieces = {}) {
    Rendered out{std::vector<float>(inL.size()), std::vector<float>(inR.size())};
    fx.render(inL.data(), inR.data(), out.left.data(), out.right.data(),
              static_cast<int>(inL.size()), pieces);
    return out;
}

TEST(CorvaneSignalPath, AFreshInstancePassesAudioBitForBit) {
    CorvaneInstance fx;
    std::vector<float> inL, inR;
    fillSignal(inL, inR, kFrames);
    GuardedBuffer outL(kFrames), outR(kFrames);
    fx.render(inL.data(), inR.data(), outL.data(), outR.data(), kFrames);
    EXPECT_EQ(outL.firstDifference(inL), std::nullopt);
    EXPECT_EQ(outR.firstDifference(inR), std::nullopt);
    EXPECT_TRUE(outL.guardsIntact() && outR.guardsIntact());
    EXPECT_EQ(fx.model->signalPath().outputMode(), Corvane::kOff);
}

TEST(CorvaneSignalPath, BothWithFullSpreadAndUnityGainReturnsTheInput) {
    for (int slope = 0; slope < 4; ++slope)
        for (float cutoff : {0.0f, 100.0f, 2500.0f, 10000.0f}) {
            CorvaneInstance fx;
            fx.set(P::kOutput, normalisedChoice(Corvane::kBoth));
            fx.set(P::kFilterSlope, normalisedChoice(slope));
            fx.set(P::kCutoffFrequency, normalisedCutoff(cutoff));
            fx.set(P::kStereoSpread, 1.0f);
            fx.plugin->resume();  // jump to the new targets
            std::vector<float> inL, inR;
            fillSignal(inL, inR, 4096);
            const Rendered out = renderWith(fx, inL, inR);
            for (std::size_t i = 0; i < inL.size(); ++i) {
                ASSERT_NEAR(out.left[i], inL[i], 2e-6f) << slope << " " << cutoff << " " << i;
                ASSERT_NEAR(out.right[i], inR[i], 2e-6f) << slope << " " << cutoff << " " << i;
            }
        }
}

TEST(CorvaneSignalPath, NoSpreadMakesTheLowBandMono) {
    CorvaneInstance fx;
    fx.set(P::kOutput, normalisedChoice(Corvane::kLow));
    fx.set(P::kFilterSlope, normalisedChoice(2));
    fx.set(P::kCutoffFrequency, normalisedCutoff(300.0f));
    std::vector<float> inL, inR;
    fillSignal(inL, inR, kFrames);
    const Rendered out = renderWith(fx, inL, inR);
    EXPECT_EQ(std::memcmp(out.left.data(), out.right.data(), kFrames * sizeof(float)), 0);
    float energy = 0.0f;
    for (float v : out.left) energy += v * v;
    EXPECT_GT(energy, 1.0f);
}

TEST(CorvaneSignalPath, HighIsTheInputMinusTheLowBand) {
    CorvaneInstance low, high;
    for (CorvaneInstance* fx : {&low, &high}) {
        fx->set(P::kFilterSlope, normalisedChoice(1));
        fx->set(P::kCutoffFrequency, normalisedCutoff(500.0f));
        fx->set(P::kStereoSpread, 1.0f);
        fx->plugin->resume();
    }
    low.set(P::kOutput, normalisedChoice(Corvane::kLow));
    high.set(P::kOutput, normalisedChoice(Corvane::kHigh));
    std::vector<float> inL, inR;
    fillSignal(inL, inR, 2048);
    const Rendered l = renderWith(low, inL, inR), h = renderWith(high, inL, inR);
    for (std::size_t i = 0; i < inL.size(); ++i) ASSERT_NEAR(l.left[i] + h.left[i], inL[i], 1e-6f);
}

TEST(CorvaneSignalPath, RaisingBassAmpGlidesWhileAProgramChangeSteps) {
    CorvaneInstance fx;
    fx.set(P::kOutput, normalisedChoice(Corvane::kLow));
    fx.set(P::kStereoSpread, 1.0f);
    fx.plugin->resume();
    std::vector<float> ones(44100, 1.0f);
    renderWith(fx, ones, ones);  // settle the low-pass on DC
    fx.set(P::kBassAmp, 1.0f);
    EXPECT_STREQ(fx.model->parameterDisplayText(P::kBassAmp), "10.00");
    EXPECT_STREQ(fx.model->parameterLabel(P::kBassAmp), "dB");
    const Rendered glide = renderWith(fx, ones, ones);
    // Rising, not stepping: about 63 % of the way after 0.1 s, there within about a second.
    EXPECT_LT(glide.left[0], 1.01f);
    EXPECT_NEAR(glide.left[4410], 1.0f + 2.1623f * 0.632f, 0.05f);
    for (std::size_t i = 1; i < glide.left.size(); ++i)
        ASSERT_GE(glide.left[i], glide.left[i - 1] - 1e-6f) << i;
    EXPECT_NEAR(glide.left.back(), 3.1623f, 0.001f);

    // Program 1 still holds 0 dB: the change lands at once.
    fx.plugin->setProgram(1);
    fx.set(P::kOutput, normalisedChoice(Corvane::kLow));
    fx.set(P::kStereoSpread, 1.0f);
    fx.plugin->setProgram(0);  // back: jumps to 10 dB again, filter state cleared
    const Rendered stepped = renderWith(fx, ones, ones);
    const float settled = stepped.left[44099];
    EXPECT_NEAR(settled, 3.1623f, 0.001f);
    EXPECT_NEAR(stepped.left[0] / (1.0f - std::exp(-6.283185f * 100.0f / 44100.0f)), 3.1623f, 0.01f)
        << "the first sample is the first low-pass step times the full gain";
}

TEST(CorvaneSignalPath, CutoffLimitFollowsOnlySampleRateChanges) {
    CorvaneInstance fx;
    fx.set(P::kCutoffFrequency, 1.0f);  // 10000 Hz
    fx.plugin->setSampleRate(16000.0f);
    EXPECT_EQ(fx.model->signalPath().stage(0, 0).cutoff, 8000.0f);
    EXPECT_EQ(fx.model->signalPath().stage(1, 3).cutoff, 8000.0f);
    fx.plugin->setSampleRate(44100.0f);
    EXPECT_EQ(fx.model->signalPath().stage(0, 2).cutoff, 8000.0f);
    fx.plugin->setSampleRate(16000.0f);
    fx.set(P::kCutoffFrequency, 0.5f);
    fx.set(P::kCutoffFrequency, 1.0f);
    const LowPassStage& s = fx.model->signalPath().stage(1, 1);
    EXPECT_EQ(s.cutoff, 10000.0f);
    EXPECT_LT(s.coefficient, 1.0f);
    EXPECT_NEAR(s.coefficient, 1.0f - std::exp(-6.283185f * 10000.0f / 16000.0f), 1e-6f);
}

TEST(CorvaneSignalPath, ResetMidStreamStartsTheLowBandFromSilence) {
    CorvaneInstance fx, fresh;
    for (CorvaneInstance* x : {&fx, &fresh}) {
        x->set(P::kOutput, normalisedChoice(Corvane::kLow));
        x->set(P::kStereoSpread, 1.0f);
        x->plugin->resume();
    }
    std::vector<float> inL, inR;
    fillSignal(inL, inR, 4096);
    renderWith(fx, inL, inR);
    fx.plugin->resume();
    const Rendered a = renderWith(fx, inL, inR), b = renderWith(fresh, inL, inR);
    EXPECT_EQ(std::memcmp(a.left.data(), b.left.data(), 4096 * sizeof(float)), 0);
}

// Hosts may hand over the input buffers as outputs, even crossed (left out on right in).
TEST(CorvaneSignalPath, InPlaceAndCrossedBuffersGiveTheSameResult) {
    std::vector<float> inL, inR;
    fillSignal(inL, inR, kFrames);
    for (int mode : {Corvane::kLow, Corvane::kHigh, Corvane::kBoth})
        for (int slope = 0; slope < 4; ++slope) {
            CorvaneInstance separate, inPlace, crossed;
            for (CorvaneInstance* x : {&separate, &inPlace, &crossed}) {
                x->set(P::kOutput, normalisedChoice(mode));
                x->set(P::kFilterSlope, normalisedChoice(slope));
                x->set(P::kCutoffFrequency, normalisedCutoff(1000.0f));
                x->set(P::kStereoSpread, 0.3f);
                x->set(P::kBassAmp, 0.8f);
            }
            const Rendered out = renderWith(separate, inL, inR);
            std::vector<float> l = inL, r = inR;
            inPlace.render(l.data(), r.data(), l.data(), r.data(), kFrames);
            EXPECT_EQ(std::memcmp(out.left.data(), l.data(), kFrames * sizeof(float)), 0);
            EXPECT_EQ(std::memcmp(out.right.data(), r.data(), kFrames * sizeof(float)), 0);
            l = inL;
            r = inR;
            crossed.render(l.data(), r.data(), r.data(), l.data(), kFrames);
            EXPECT_EQ(std::memcmp(out.left.data(), r.data(), kFrames * sizeof(float)), 0)
                << "mode " << mode << ", slope " << slope << ", crossed";
            EXPECT_EQ(std::memcmp(out.right.data(), l.data(), kFrames * sizeof(float)), 0)
                << "mode " << mode << ", slope " << slope << ", crossed";
        }
}

TEST(CorvaneSignalPath, OneLongBlockEqualsTheSameAudioInPieces) {
    // The smoothers glide per sample whatever the span, so the pieces may fall anywhere.
    auto make = [](CorvaneInstance& x) {
        x.set(P::kOutput, normalisedChoice(Corvane::kBoth));
        x.set(P::kFilterSlope, normalisedChoice(1));
        x.set(P::kCutoffFrequency, normalisedCutoff(150.0f));
        x.set(P::kStereoSpread, 0.6f);
        x.set(P::kBassAmp, 0.9f);  // gliding during the whole render
    };
    CorvaneInstance whole, pieces, small;
    make(whole);
    make(pieces);
    make(small);
    std::vector<float> inL, inR;
    fillSignal(inL, inR, 40000);
    const Rendered a = renderWith(whole, inL, inR);
    const Rendered b = renderWith(pieces, inL, inR, {1, 17, 3, 512, 5, 16384, 7});
    const Rendered c = renderWith(small, inL, inR, {64});
    EXPECT_EQ(std::memcmp(a.left.data(), b.left.data(), 40000 * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(a.right.data(), b.right.data(), 40000 * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(a.left.data(), c.left.data(), 40000 * sizeof(float)), 0);
}

TEST(CorvaneSignalPath, DirectCallsWithBadArgumentsWriteNothingOutside) {
    SynthToolkit::ServiceDispatcher services;
    Corvane path(&services);
    path.setOutputMode(9);  // nearest valid: Both
    path.setSlope(-4);
    path.setCutoff(std::nanf(""));
    path.setGainValues(nullptr);
    EXPECT_EQ(path.outputMode(), Corvane::kBoth);
    EXPECT_EQ(path.slopeIndex(), 0);
    EXPECT_EQ(path.gainValues(), Corvane::zeroValues);
    EXPECT_EQ(path.stage(0, 0).cutoff, 22050.0f);
    GuardedBuffer inL(32, 64, 0.5f), inR(32, 64, 0.5f), outL(32), outR(32);
    path.process(inL.data(), inR.data(), outL.data(), outR.data(), 0);
    path.process(inL.data(), inR.data(), outL.data(), outR.data(), -8);
    path.process(nullptr, inR.data(), outL.data(), outR.data(), 32);
    EXPECT_EQ(outL.firstDifference(0.0f), std::nullopt);
    path.process(inL.data(), inR.data(), outL.data(), outR.data(), 32);
    EXPECT_TRUE(outL.guardsIntact() && outR.guardsIntact() && inL.guardsIntact());
    for (std::size_t i = 0; i < 32; ++i) ASSERT_TRUE(std::isfinite(outL[i]));
}

TEST(CorvaneStage, ConstructionAndCoefficientRule) {
    LowPassStage s;
    EXPECT_NEAR(s.coefficient, 1.0f - std::exp(-3.14159265f), 1e-6f);
    s.setCutoff(0.0f);
    EXPECT_EQ(s.coefficient, 0.0f);
    s.state = 0.25f;
    EXPECT_EQ(s.process(1.0f), 0.25f + 1e-25f);
    s.setCutoff(100.0f);
    s.reset();
    float y = 0.0f;
    for (int i = 0; i < 44100; ++i) y = s.process(1.0f);
    // Float steps stop a few units in the last place short of 1.
    EXPECT_NEAR(y, 1.0f, 1e-5f) << "unity gain at DC";
}

}  // namespace
