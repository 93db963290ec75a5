// The effect's identity, working values and the hooks' order (the scales: ParameterTableTest).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "effect/x64/QuellinCorvaneModel.h"
#include "tests/effect/x64/RenderSide.h"
#include "tests/support/Signal.h"

using namespace QuellinCorvane;
using TestSupport::processPiece;
using TestSupport::setAndSync;

namespace {

std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

TEST(Constants, HaveTheirExactBitPatterns) {
    EXPECT_EQ(bitsOf(kTwoPi), 0x40C90FDCu);
    EXPECT_EQ(bitsOf(kPi), 0x40490FDCu);
    EXPECT_EQ(bitsOf(kAntiDenormal), 0x15F79688u);
}

TEST(ParameterTable, FitsTheHostFieldsAndHoldsTheDefaults) {
    QuellinCorvaneModel model;
    const char* names[] = {"Output", "Cutoff Freq.", "Filter Slope", "Stereo Spread", "Bass Amp"};
    const char* shortNames[] = {"Out", "CutFrq", "Slope", "Spread", "Amp"};
    const char* labels[] = {"", "Hz", "dB", "", "dB"};
    const float defaults[] = {0.0f, 0.1f, 0.0f, 0.0f, 0.5f};
    ASSERT_EQ(model.GetParameterCount(), kParameterCount);
    for (VstInt32 i = 0; i < kParameterCount; ++i) {
        EXPECT_STREQ(model.GetParameterLongName(i), names[i]);
        EXPECT_STREQ(model.GetParameterShortName(i), shortNames[i]);
        EXPECT_STREQ(model.GetParameterLabel(i), labels[i]);
        for (VstInt32 p = 0; p < kProgramCount; ++p)
            EXPECT_EQ(model.ProgramValue(p, i), defaults[i]) << "program " << p;
    }
    for (VstInt32 p = 0; p < kProgramCount; ++p) EXPECT_STREQ(model.ProgramName(p), "Blank");
    EXPECT_STREQ(model.GetEffectName(), "Quellin Corvane");
    EXPECT_STREQ(model.GetVendorString(), "Quellin Sound Design");
    EXPECT_EQ(model.GetUniqueId(), 0x00514356);
    EXPECT_EQ(model.GetVendorVersion(), 2150);
}

TEST(Construction, AppliesProgramZeroSoEveryDisplayIsFilled) {
    QuellinCorvaneModel model;
    const char* displays[] = {"Off", "100.00", "-6", "0", "0.00"};
    for (VstInt32 i = 0; i < kParameterCount; ++i)
        EXPECT_STREQ(model.GetParameterDisplay(i).text, displays[i]);
    EXPECT_EQ(model.GetOutputMode(), kOutputOff);
    EXPECT_EQ(model.GetBassGain(), 1.0f);
    EXPECT_FLOAT_EQ(model.GetStage(0, 0).cutoff, 100.0f);
    EXPECT_EQ(model.GetStage(1, 3).sampleRate, 44100.0f);
}

TEST(WorkingValues, FollowTheMappings) {
    QuellinCorvaneModel model;
    setAndSync(model, kBassAmp, 0.5f);
    EXPECT_EQ(model.GetBassGain(), 1.0f);  // powf(10, 0) exactly
    setAndSync(model, kBassAmp, 1.0f);
    EXPECT_FLOAT_EQ(model.GetBassGain(), std::pow(10.0f, 0.5f));
    setAndSync(model, kCutoffFrequency, 0.5f);
    EXPECT_EQ(model.GetStage(0, 2).cutoff, 2500.0f);
    setAndSync(model, kCutoffFrequency, 0.0f);
    EXPECT_EQ(model.GetStage(1, 0).a1, 1.0f);  // 0 Hz holds the low band
    EXPECT_EQ(model.GetStage(1, 0).b0, 0.0f);
    setAndSync(model, kFilterSlope, 1.0f);
    EXPECT_EQ(model.GetSlopeIndex(), 3);
    setAndSync(model, kStereoSpread, 0.3f);
    EXPECT_EQ(model.GetSpread(), 0.3f);
}

TEST(WorkingValues, ValuesNoHostShouldSendStayInRange) {
    QuellinCorvaneModel model;
    const float inf = std::numeric_limits<float>::infinity();
    for (float bad : {std::nanf(""), inf, -inf, -3.0f, 42.0f}) {
        for (VstInt32 i = 0; i < kParameterCount; ++i) setAndSync(model, i, bad);
        EXPECT_GE(model.GetOutputMode(), 0);
        EXPECT_LE(model.GetOutputMode(), 3);
        EXPECT_GE(model.GetSlopeIndex(), 0);
        EXPECT_LE(model.GetSlopeIndex(), 3);
        EXPECT_TRUE(std::isfinite(model.GetSpread()));
        EXPECT_TRUE(std::isfinite(model.GetBassGain()));
        for (VstInt32 c = 0; c < 2; ++c)
            for (VstInt32 k = 0; k < 4; ++k) {
                EXPECT_TRUE(std::isfinite(model.GetStage(c, k).a1)) << bad;
                EXPECT_TRUE(std::isfinite(model.GetStage(c, k).b0)) << bad;
            }
        // The host reads back exactly what it stored.
        const float stored = model.GetParameterValue(kBassAmp);
        EXPECT_TRUE(std::isnan(bad) ? std::isnan(stored) : stored == bad);
    }
}

// Records the order in which the framework re-applies parameters.
class OrderModel : public QuellinCorvaneModel {
public:
    void OnParameterValueChanged(VstInt32 index, float previous, float current) override {
        order.push_back(index);
        QuellinCorvaneModel::OnParameterValueChanged(index, previous, current);
    }
    std::vector<VstInt32> order;
};

TEST(ProgramChange, ReappliesEveryParameterInIndexOrderAndClearsTheFilterMemory) {
    OrderModel model;
    model.SetParameterValue(kOutput, 0.5f);
    float left[64], right[64];
    for (int i = 0; i < 64; ++i) left[i] = right[i] = 0.5f;
    float* channels[] = {left, right};
    processPiece(model, channels, channels, 0, 64);
    EXPECT_NE(model.GetStage(0, 0).y1, 0.0f);

    model.SetSelectedProgramIndex(3);
    model.order.clear();
    model.SetSelectedProgramIndex(7);  // identical values, still a full re-apply
    EXPECT_EQ(model.order, (std::vector<VstInt32>{0, 1, 2, 3, 4}));
    model.SyncRenderState();
    for (VstInt32 c = 0; c < 2; ++c)
        for (VstInt32 k = 0; k < 4; ++k) {
            EXPECT_EQ(model.GetStage(c, k).x1, 0.0f);
            EXPECT_EQ(model.GetStage(c, k).y1, 0.0f);
        }
    EXPECT_STREQ(model.GetParameterDisplay(kOutput).text, "Off");
}

TEST(SampleRate, LowersTheCutoffToHalfTheRate) {
    QuellinCorvaneModel model;
    setAndSync(model, kCutoffFrequency, 1.0f);  // 10000 Hz
    model.SetSampleRate(16000.0f);
    model.SyncRenderState();
    EXPECT_EQ(model.GetStage(0, 0).cutoff, 8000.0f);
    EXPECT_EQ(model.GetStage(1, 3).sampleRate, 16000.0f);

    // Changes between two blocks reach the stages in the order they were made.
    model.SetSampleRate(44100.0f);
    model.SetSampleRate(16000.0f);
    model.SetParameterValue(kCutoffFrequency, 1.0f);
    model.SyncRenderState();
    EXPECT_EQ(model.GetStage(1, 2).cutoff, 8000.0f);
    EXPECT_STREQ(model.GetParameterDisplay(kCutoffFrequency).text, "10000.0")
        << "the display shows the value asked for";
    EXPECT_EQ(model.GetParameterValue(kCutoffFrequency), 1.0f);
}

// The knob shows what was set, so that is what plays once the rate allows it again: not the
// cutoff an earlier, lower rate limited.
TEST(SampleRate, RaisedRateRestoresTheCutoffThatWasSet) {
    QuellinCorvaneModel raised, fresh;
    raised.SetSampleRate(16000.0f);
    raised.SyncRenderState();
    setAndSync(raised, kCutoffFrequency, 1.0f);  // 10 kHz, limited to 8 kHz
    raised.SetSampleRate(44100.0f);
    setAndSync(fresh, kCutoffFrequency, 1.0f);

    std::vector<float> outputs[2];
    QuellinCorvaneModel* models[] = {&raised, &fresh};
    for (int m = 0; m < 2; ++m) {
        setAndSync(*models[m], kOutput, 0.25f);  // Low
        TestSupport::Lcg noise(7);
        std::vector<float> left(4096), right(4096);
        for (std::size_t i = 0; i < left.size(); ++i) {
            left[i] = noise.unit() - 0.5f;
            right[i] = noise.unit() - 0.5f;
        }
        float* channels[] = {left.data(), right.data()};
        processPiece(*models[m], channels, channels, 0, 4096);
        outputs[m] = left;
        outputs[m].insert(outputs[m].end(), right.begin(), right.end());
    }
    EXPECT_TRUE(outputs[0] == outputs[1]) << "bit for bit";
    EXPECT_EQ(raised.GetStage(0, 0).cutoff, 10000.0f);
}

// At half the sample rate the bilinear pole sits on -1; rounding must not push it outside the
// unit circle, where the stage would grow without bound over minutes of audio.
TEST(SampleRate, EveryStageStaysStableWithTheCutoffAtHalfTheRate) {
    for (float rate : {8000.0f, 11025.0f, 16000.0f, 20000.0f, 22050.0f, 48000.0f, 96000.0f}) {
        QuellinCorvaneModel model;
        model.SetSampleRate(rate);
        model.SetParameterValue(kCutoffFrequency, 1.0f);
        model.SyncRenderState();
        model.SetSampleRate(rate / 4.0f);  // lowered through a rate change too
        model.SyncRenderState();
        const FilterStage& stage = model.GetStage(1, 3);
        EXPECT_LT(std::fabs(stage.a1), 1.0f) << rate;
        EXPECT_TRUE(std::isfinite(stage.b0)) << rate;
    }
}

}  // namespace
