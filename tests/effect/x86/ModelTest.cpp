// The effect's parameter table, identity and programs as the plug-in presents them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/effect/x86/CorvaneTestKit.h"
#include "tests/support/ProductFacts.h"

using namespace TestSupport;
using SynthToolkit::Effects::Corvane;

namespace {

namespace Product = TestSupport::Product;

struct Row {
    const char* hostName;
    const char* longName;
    const char* label;
    float defaultValue;
    const char* display;
};

const Row kTable[] = {
    {"COut", "Output", "", 0.0f, "Off"},
    {"CCutFrq", "Cutoff Freq.", "Hz", 0.1f, "100.000"},
    {"CSlope", "Filter Slope", "dB", 0.0f, "-6"},
    {"CSpread", "Stereo Spread", "", 0.0f, "0"},
    {"CAmp", "Bass Amp", "dB", 0.5f, "0.00"},
};

TEST(CorvaneModel, TableAsTheHostSeesItInEveryProgram) {
    CorvaneInstance fx;
    ASSERT_EQ(fx.model->parameterCount(), 5);
    for (int p : {0, 13, 31}) {
        fx.plugin->setProgram(p);
        EXPECT_STREQ(fx.model->currentProgramName(), "Blank");
        for (int i = 0; i < 5; ++i) {
            char text[8];
            fx.plugin->getParameterName(i, text);
            EXPECT_STREQ(text, kTable[i].hostName);
            fx.plugin->getParameterLabel(i, text);
            EXPECT_STREQ(text, kTable[i].label);
            fx.plugin->getParameterDisplay(i, text);
            EXPECT_STREQ(text, kTable[i].display);
            EXPECT_STREQ(fx.model->parameterLongName(i), kTable[i].longName);
            EXPECT_EQ(fx.plugin->getParameter(i), kTable[i].defaultValue);
        }
    }
}

TEST(CorvaneModel, Identity) {
    CorvaneInstance fx;
    EXPECT_STREQ(fx.model->effectName(), "Quellin Corvane");
    EXPECT_STREQ(fx.model->vendorName(), "Quellin Sound Design");
    EXPECT_STREQ(fx.model->productName(), "Quellin Corvane");
    EXPECT_EQ(fx.plugin->getVendorVersion(), 2000);
    EXPECT_EQ(fx.plugin->getAeffect()->uniqueID, 0x00514356);
    EXPECT_EQ(fx.plugin->getPlugCategory(), kPlugCategEffect);
    EXPECT_EQ(fx.model->inputCount(), 2);
    EXPECT_EQ(fx.model->outputCount(), 2);
#if defined(_WIN32)
    EXPECT_EQ(fx.plugin->getAeffect()->flags, 0x31);
#else
    EXPECT_EQ(fx.plugin->getAeffect()->flags, 0x30) << "the Linux build has no editor";
#endif
}

TEST(CorvaneModel, SelectionsAndTheirTexts) {
    CorvaneInstance fx;
    fx.set(P::kOutput, 0.3f);
    EXPECT_STREQ(fx.model->parameterDisplayText(P::kOutput), "Low");
    EXPECT_EQ(fx.model->signalPath().outputMode(), Corvane::kLow);
    fx.set(P::kOutput, 1.0f);
    EXPECT_STREQ(fx.model->parameterDisplayText(P::kOutput), "Both");
    fx.set(P::kFilterSlope, 1.0f);
    EXPECT_STREQ(fx.model->parameterDisplayText(P::kFilterSlope), "-24");
    EXPECT_EQ(fx.model->signalPath().slopeIndex(), 3);
    fx.set(P::kStereoSpread, 0.995f);
    EXPECT_STREQ(fx.model->parameterDisplayText(P::kStereoSpread), "100");
}

TEST(CorvaneModel, SmoothersAreAttachedAndResetAfterConstruction) {
    CorvaneInstance fx;
    const auto& group = fx.model->parameterGroup();
    EXPECT_NE(fx.model->signalPath().spreadValues(), Corvane::zeroValues);
    EXPECT_NE(fx.model->signalPath().gainValues(), Corvane::zeroValues);
    std::vector<float> in(64, 0.5f), outL(64), outR(64);
    fx.render(in.data(), in.data(), outL.data(), outR.data(), 64);
    EXPECT_EQ(fx.model->signalPath().gainValues()[0], 1.0f) << "no glide from 0 at start";
    EXPECT_EQ(group.parameter(P::kBassAmp)->value(), 0.5f);
    EXPECT_NEAR(fx.model->signalPath().stage(0, 0).cutoff, 100.0f, 1e-3f);
}

TEST(CorvaneModel, ChunkSizes) {
    CorvaneInstance fx;
    void* data = nullptr;
    EXPECT_EQ(fx.plugin->getChunk(&data, true), static_cast<VstInt32>(Product::kProgramChunkSize));
    EXPECT_EQ(fx.plugin->getChunk(&data, false), static_cast<VstInt32>(Product::kBankChunkSize));
}

}  // namespace
