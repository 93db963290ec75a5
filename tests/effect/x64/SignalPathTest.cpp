// Properties the signal path must have, measured on its output rather than re-derived.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "effect/x64/QuellinCorvaneModel.h"
#include "tests/effect/x64/RenderSide.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/support/Signal.h"

using namespace QuellinCorvane;
using TestSupport::GuardedChannels;
using TestSupport::processPiece;
using TestSupport::setAndSync;

namespace {

constexpr float kRate = 44100.0f;

float normalisedCutoff(float hertz) {
    return std::sqrt(hertz / 10000.0f);
}
float normalisedChoice(int index) {
    return (static_cast<float>(index) + 0.5f) / 4.0f;
}

struct Settings {
    int mode = kOutputBoth;
    float cutoffHz = 100.0f;
    int slope = 0;
    float spread = 1.0f;
    float bassAmp = 0.5f;  // 0 dB
};

void apply(QuellinCorvaneModel& model, const Settings& s) {
    model.SetParameterValue(kOutput, normalisedChoice(s.mode));
    model.SetParameterValue(kCutoffFrequency, normalisedCutoff(s.cutoffHz));
    model.SetParameterValue(kFilterSlope, normalisedChoice(s.slope));
    model.SetParameterValue(kStereoSpread, s.spread);
    model.SetParameterValue(kBassAmp, s.bassAmp);
}

// The shared stereo test signal, as long as the buffers already are.
void fillSignal(std::vector<float>& left, std::vector<float>& right, unsigned seed = 1) {
    TestSupport::makeTestSignal(left, right, left.size(), seed);
}

// Renders the whole signal through a fresh model in pieces of the given sizes (cycled).
std::vector<float> render(const Settings& s, const std::vector<float>& left,
                          const std::vector<float>& right, const std::vector<int>& pieces,
                          std::vector<float>* rightOut = nullptr) {
    QuellinCorvaneModel model;
    apply(model, s);
    std::vector<float> inL = left, inR = right, outL(left.size()), outR(left.size());
    float* inputs[] = {inL.data(), inR.data()};
    float* outputs[] = {outL.data(), outR.data()};
    std::size_t done = 0;
    for (std::size_t p = 0; done < left.size(); ++p) {
        const int count =
            std::min<int>(pieces[p % pieces.size()], static_cast<int>(left.size() - done));
        processPiece(model, inputs, outputs, static_cast<VstInt32>(done), count);
        done += static_cast<std::size_t>(count);
    }
    if (rightOut != nullptr) *rightOut = outR;
    return outL;
}

// Steady-state gain in dB of one channel for a sine at the given frequency.
double gainDb(const Settings& s, float hertz) {
    const std::size_t frames = 44100;
    std::vector<float> sine(frames);
    for (std::size_t i = 0; i < frames; ++i)
        sine[i] = std::sin(2.0 * 3.14159265358979 * hertz * static_cast<double>(i) / kRate);
    const std::vector<float> out = render(s, sine, sine, {512});
    double in = 0.0, got = 0.0;
    for (std::size_t i = frames / 2; i < frames; ++i) {
        in += static_cast<double>(sine[i]) * sine[i];
        got += static_cast<double>(out[i]) * out[i];
    }
    return 10.0 * std::log10(got / in);
}

TEST(SignalPath, OffIsABitExactCopyAndFreshInstancesStartOff) {
    std::vector<float> left(1000), right(1000);
    fillSignal(left, right);
    left[3] = std::nanf("");  // even a NaN is copied, not computed on
    QuellinCorvaneModel fresh;
    std::vector<float> outL(1000), outR(1000);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outL.data(), outR.data()};
    processPiece(fresh, inputs, outputs, 0, 1000);
    EXPECT_EQ(std::memcmp(outL.data(), left.data(), 4000), 0);
    EXPECT_EQ(std::memcmp(outR.data(), right.data(), 4000), 0);
}

TEST(SignalPath, BothWithFullSpreadAndUnityGainReturnsTheInput) {
    std::vector<float> left(4096), right(4096);
    fillSignal(left, right);
    for (float cutoff : {0.0f, 30.0f, 100.0f, 1000.0f, 10000.0f})
        for (int slope = 0; slope < 4; ++slope) {
            Settings s;
            s.cutoffHz = cutoff;
            s.slope = slope;
            std::vector<float> outR;
            const std::vector<float> outL = render(s, left, right, {512}, &outR);
            for (std::size_t i = 0; i < left.size(); ++i) {
                ASSERT_NEAR(outL[i], left[i], 2e-6f)
                    << cutoff << " Hz slope " << slope << " @" << i;
                ASSERT_NEAR(outR[i], right[i], 2e-6f)
                    << cutoff << " Hz slope " << slope << " @" << i;
            }
        }
}

TEST(SignalPath, NoSpreadMakesTheLowBandMono) {
    std::vector<float> left(2048), right(2048);
    fillSignal(left, right);
    Settings s;
    s.mode = kOutputLow;
    s.spread = 0.0f;
    s.slope = 2;
    std::vector<float> outR;
    const std::vector<float> outL = render(s, left, right, {333}, &outR);
    EXPECT_EQ(std::memcmp(outL.data(), outR.data(), outL.size() * 4), 0);
}

TEST(SignalPath, HighIsTheInputMinusTheLowBand) {
    std::vector<float> left(2048), right(2048);
    fillSignal(left, right);
    Settings low;
    low.mode = kOutputLow;
    low.slope = 1;
    Settings high = low;
    high.mode = kOutputHigh;
    const std::vector<float> lowOut = render(low, left, right, {256});
    const std::vector<float> highOut = render(high, left, right, {256});
    for (std::size_t i = 0; i < left.size(); ++i)
        ASSERT_NEAR(lowOut[i] + highOut[i], left[i], 1e-6f) << i;  // spread 1, 0 dB
}

TEST(SignalPath, EachStageAddsSixDecibelsPerOctave) {
    for (int slope = 0; slope < 4; ++slope) {
        Settings s;
        s.mode = kOutputLow;
        s.slope = slope;
        s.cutoffHz = 50.0f;
        // Far above the cutoff and far below half the rate, where the slope is the stage count's.
        const double octave = gainDb(s, 800.0f) - gainDb(s, 1600.0f);
        EXPECT_NEAR(octave, 6.0 * (slope + 1), 0.6) << "slope index " << slope;
    }
}

TEST(SignalPath, OneStageIsThreeDecibelsDownAtTheCutoff) {
    Settings s;
    s.mode = kOutputLow;
    s.cutoffHz = 1000.0f;
    EXPECT_NEAR(gainDb(s, 1000.0f), -3.01, 0.05);
    EXPECT_NEAR(gainDb(s, 20.0f), 0.0, 0.01);
    s.bassAmp = 1.0f;  // +10 dB
    EXPECT_NEAR(gainDb(s, 20.0f), 10.0, 0.01);
}

TEST(SignalPath, TheSameOutputWhateverTheHostsBlockSizes) {
    std::vector<float> left(90000), right(90000);
    fillSignal(left, right, 7);
    for (int slope = 0; slope < 4; ++slope) {
        Settings s;
        s.mode = kOutputBoth;
        s.spread = 0.3f;
        s.slope = slope;
        s.bassAmp = 0.8f;
        const std::vector<float> whole = render(s, left, right, {90000});
        for (const std::vector<int>& pieces :
             std::vector<std::vector<int>>{{1},
                                           {7},
                                           {64},
                                           {512},
                                           {4096},
                                           {40000},
                                           {1, 17, 5, 0, 13},
                                           {3, 4, 9, 15, 16, 21}}) {
            const std::vector<float> cut = render(s, left, right, pieces);
            EXPECT_EQ(std::memcmp(cut.data(), whole.data(), whole.size() * 4), 0)
                << "slope " << slope << ", pieces of " << pieces[0];
        }
    }
}

// Hosts may hand over the input buffers as outputs, even crossed (left out on right in).
TEST(SignalPath, InPlaceAndCrossedBuffersGiveTheSameOutput) {
    std::vector<float> left(1024), right(1024);
    fillSignal(left, right);
    for (int mode : {kOutputLow, kOutputHigh, kOutputBoth})
        for (int slope = 0; slope < 4; ++slope) {
            Settings s;
            s.mode = mode;
            s.spread = 0.5f;
            s.slope = slope;
            std::vector<float> separateR;
            const std::vector<float> separateL = render(s, left, right, {1024}, &separateR);
            for (bool crossed : {false, true}) {
                QuellinCorvaneModel model;
                apply(model, s);
                std::vector<float> l = left, r = right;
                float* inputs[] = {l.data(), r.data()};
                float* outputs[] = {crossed ? r.data() : l.data(), crossed ? l.data() : r.data()};
                processPiece(model, inputs, outputs, 0, 1024);
                EXPECT_EQ(std::memcmp(outputs[0], separateL.data(), 4096), 0)
                    << "mode " << mode << ", slope " << slope << (crossed ? ", crossed" : "");
                EXPECT_EQ(std::memcmp(outputs[1], separateR.data(), 4096), 0)
                    << "mode " << mode << ", slope " << slope << (crossed ? ", crossed" : "");
            }
        }
}

TEST(SignalPath, WritesOnlyTheFramesItWasGiven) {
    QuellinCorvaneModel model;
    Settings s;
    s.mode = kOutputLow;
    apply(model, s);
    GuardedChannels in(2, 64, 0.25f), out(2, 64, 9.0f);
    float* const* inputs = const_cast<float* const*>(in.list().data());
    float* const* outputs = const_cast<float* const*>(out.list().data());
    processPiece(model, const_cast<float**>(inputs), const_cast<float**>(outputs), 10, 0);
    processPiece(model, const_cast<float**>(inputs), const_cast<float**>(outputs), 10, -4);
    EXPECT_FALSE(out[0].firstDifference(9.0f).has_value()) << "count 0 writes nothing";
    processPiece(model, const_cast<float**>(inputs), const_cast<float**>(outputs), 10, 20);
    EXPECT_TRUE(out.guardsIntact());
    EXPECT_EQ(out[0][9], 9.0f);
    EXPECT_NE(out[0][10], 9.0f);
    EXPECT_NE(out[1][29], 9.0f);
    EXPECT_EQ(out[1][30], 9.0f);
}

TEST(SignalPath, AProgramChangeRestartsTheLowBandFromZero) {
    std::vector<float> left(512, 0.5f), right(512, 0.5f);
    Settings s;
    s.mode = kOutputLow;
    s.cutoffHz = 50.0f;
    QuellinCorvaneModel model;
    model.SetSelectedProgramIndex(1);
    apply(model, s);
    std::vector<float> outL(512), outR(512);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outL.data(), outR.data()};
    processPiece(model, inputs, outputs, 0, 512);
    const float warmedUp = outL[511];

    model.SetSelectedProgramIndex(1);  // same program, same values: memory is cleared
    processPiece(model, inputs, outputs, 0, 1);
    QuellinCorvaneModel fresh;
    apply(fresh, s);
    std::vector<float> freshL(1), freshR(1);
    float* freshOut[] = {freshL.data(), freshR.data()};
    processPiece(fresh, inputs, freshOut, 0, 1);
    EXPECT_EQ(outL[0], freshL[0]);
    EXPECT_LT(outL[0], warmedUp);
}

TEST(SignalPath, ZeroHertzFreezesTheLowBand) {
    std::vector<float> left(256), right(256);
    fillSignal(left, right);
    Settings s;
    s.mode = kOutputLow;
    s.cutoffHz = 300.0f;
    QuellinCorvaneModel model;
    apply(model, s);
    std::vector<float> outL(256), outR(256);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outL.data(), outR.data()};
    processPiece(model, inputs, outputs, 0, 128);
    model.SetParameterValue(kCutoffFrequency, 0.0f);
    processPiece(model, inputs, outputs, 128, 128);
    for (int i = 129; i < 256; ++i) EXPECT_NEAR(outL[i], outL[128], 1e-6f);
    model.SetSelectedProgramIndex(0);
    apply(model, s);
    model.SetParameterValue(kCutoffFrequency, 0.0f);
    processPiece(model, inputs, outputs, 0, 16);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(outL[i], 0.0f, 1e-20f);
}

TEST(SignalPath, HostileValuesNeverReachTheAudioAsNaN) {
    std::vector<float> left(512), right(512);
    fillSignal(left, right);
    QuellinCorvaneModel model;
    model.SetSampleRate(0.0f);
    model.SetSampleRate(-1.0f);
    for (VstInt32 i = 0; i < kParameterCount; ++i) model.SetParameterValue(i, std::nanf(""));
    model.SetParameterValue(kOutput, 1.0f);
    std::vector<float> outL(512), outR(512);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outL.data(), outR.data()};
    processPiece(model, inputs, outputs, 0, 512);
    for (int i = 0; i < 512; ++i) ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i]));
}

}  // namespace
