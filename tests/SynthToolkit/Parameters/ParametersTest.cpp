// Transforms, displays and labels at their documented edge values, and the change rules of
// the three parameter kinds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SynthToolkit/Effects/CorvaneParameterGroup.h"
#include "SynthToolkit/ServiceDispatcher.h"

using namespace SynthToolkit::Parameters;
using SynthToolkit::Effects::Corvane;

namespace {

// Records what the parameters hand over.
struct Receiver {
    void takeFloat(float v) { floats.push_back(v); }
    void takeIndex(int i) { indices.push_back(i); }
    void takeBuffer(const float* b) { buffers.push_back(b); }
    std::vector<float> floats;
    std::vector<int> indices;
    std::vector<const float*> buffers;
};

using CutoffParameter =
    Parameter<Receiver, 4, Corvane::CutoffFrequencyTransform, FloatDisplay, FrequencyLabel>;
using LevelParameter = Parameter<Receiver, 4, LevelTransform<10>, LevelDisplay, DecibelLabel>;
using ScaledParameter = Parameter<Receiver, 4, LinearTransform, ScaledFloatDisplay, NullLabel>;
using Choice = SelectionParameter<Receiver, 4>;
using Smooth = SmoothParameter<Receiver, 4, LinearTransform, ScaledFloatDisplay, NullLabel>;

const char* const kChoices[] = {"Off", "Low", "High", "Both"};

std::string shown(IParameter& p, float v) {
    p.setValue(v);
    return p.displayText();
}

TEST(ParameterDisplay, CutoffFrequencyInHertzWithThreeDecimals) {
    CutoffParameter p("CutFrq", "Cutoff Freq.", 0.1f, &Receiver::takeFloat);
    EXPECT_STREQ(p.displayText(), "100.000");
    EXPECT_STREQ(p.label(), "Hz");
    EXPECT_EQ(shown(p, 1.0f), "10000.0");  // 10000.000 cut to 7 characters
    EXPECT_EQ(shown(p, 0.5f), "2500.00");
    EXPECT_EQ(shown(p, 0.0f), "0.000");
    EXPECT_FLOAT_EQ(p.workingValue(), 0.0f);
}

TEST(ParameterDisplay, LevelInDecibels) {
    LevelParameter p("Amp", "Bass Amp", 0.5f, &Receiver::takeFloat);
    EXPECT_STREQ(p.label(), "dB");
    EXPECT_FLOAT_EQ(p.workingValue(), 1.0f);
    const char* expected[] = {"-10.00", "-5.00", "0.00", "5.00", "10.00"};
    for (int k = 0; k <= 4; ++k) EXPECT_EQ(shown(p, 0.25f * k), expected[k]) << k;
    EXPECT_NEAR(p.workingValue(), 3.16227766f, 1e-6f);
}

TEST(ParameterDisplay, ScaledValueRoundsHalfAwayFromZero) {
    ScaledParameter p("Spread", "Stereo Spread", 0.0f, &Receiver::takeFloat);
    EXPECT_STREQ(p.label(), "");
    EXPECT_EQ(shown(p, 0.5f), "50");
    EXPECT_EQ(shown(p, 0.994f), "99");
    EXPECT_EQ(shown(p, 0.995f), "100");
    EXPECT_EQ(shown(p, 0.0f), "0");
}

TEST(ParameterNames, AreCutToTheirFields) {
    ScaledParameter p("LongShortName", std::string(200, 'x').c_str(), 0.0f, &Receiver::takeFloat);
    EXPECT_STREQ(p.shortName(), "LongSho");
    EXPECT_EQ(std::string(p.longName()), std::string(127, 'x'));
}

TEST(SelectionParameter, CutsTheRangeIntoEqualPartsWithOneSelectingTheLast) {
    Receiver r;
    Choice p("Out", "Output", "", 0.0f, 4, kChoices, &Receiver::takeIndex);
    p.addObserver(&r);
    const float values[] = {0.0f, 0.24f, 0.25f, 0.99f, 1.0f, 0.3f};
    const int expected[] = {0, 0, 1, 3, 3, 1};
    for (int k = 0; k < 6; ++k) {
        p.setValue(values[k]);
        EXPECT_EQ(p.currentIndex(), expected[k]) << values[k];
        EXPECT_STREQ(p.displayText(), kChoices[expected[k]]);
    }
    // Attach delivers 0; then only real index changes: 1, 3, 1.
    EXPECT_EQ(r.indices, (std::vector<int>{0, 1, 3, 1}));
}

TEST(SelectionParameter, ValuesOutsideTheRangeStayOnTheNames) {
    Choice p("Out", "Output", "dB", 0.0f, 4, kChoices, &Receiver::takeIndex);
    p.setValue(7.0f);
    EXPECT_STREQ(p.displayText(), "Both");
    p.setValue(-3.0f);
    EXPECT_STREQ(p.displayText(), "Off");
    EXPECT_STREQ(p.label(), "dB");
    Choice empty("None", "None", nullptr, 0.5f, 0, nullptr, &Receiver::takeIndex);
    EXPECT_STREQ(empty.displayText(), "");
    EXPECT_STREQ(empty.label(), "");
}

TEST(ParameterChanges, AnEqualWorkingValueCallsNobody) {
    Receiver r;
    CutoffParameter p("CutFrq", "Cutoff", 0.1f, &Receiver::takeFloat);
    p.addObserver(&r);
    p.setValue(0.5f);
    p.setValue(0.5f);
    ASSERT_EQ(r.floats.size(), 2u);  // attach, then the one real change
    EXPECT_EQ(r.floats[1], 2500.0f);
}

TEST(ParameterChanges, OtherProgramsWaitUntilSelected) {
    Receiver r;
    CutoffParameter p("CutFrq", "Cutoff", 0.1f, &Receiver::takeFloat);
    p.addObserver(&r);
    p.setValueOfProgram(2, 1.0f);
    EXPECT_STREQ(p.displayText(), "100.000");
    EXPECT_EQ(r.floats.size(), 1u);
    EXPECT_EQ(p.valueOfProgram(2), 1.0f);
    p.selectProgram(2);
    EXPECT_EQ(p.currentProgram(), 2);
    EXPECT_STREQ(p.displayText(), "10000.0");
    EXPECT_EQ(r.floats.back(), 10000.0f);
    p.resetToDefault();
    EXPECT_EQ(p.value(), 0.1f);
    EXPECT_EQ(p.valueOfProgram(0), 0.1f);
    // Out-of-range programs touch nothing.
    p.setValueOfProgram(4, 0.7f);
    p.setValueOfProgram(-1, 0.7f);
    p.selectProgram(9);
    EXPECT_EQ(p.currentProgram(), 2);
    EXPECT_EQ(p.valueOfProgram(4), 0.0f);
}

TEST(ParameterChanges, AnObserverAddedTwiceHearsTwiceUntilOneRemove) {
    Receiver r;
    CutoffParameter p("CutFrq", "Cutoff", 0.1f, &Receiver::takeFloat);
    p.addObserver(&r);
    p.addObserver(&r);
    r.floats.clear();
    p.setValue(1.0f);
    EXPECT_EQ(r.floats.size(), 2u);
    p.removeObserver(&r);
    p.setValue(0.0f);
    EXPECT_EQ(r.floats.size(), 2u);
}

TEST(SmoothParameter, HandsOverItsBufferAndANullOnRemoval) {
    SynthToolkit::ServiceDispatcher services;
    Receiver r, stranger;
    {
        Smooth p("Spread", "Stereo Spread", 0.25f, &Receiver::takeBuffer, &services);
        EXPECT_STREQ(p.displayText(), "25");
        EXPECT_EQ(p.smoother().target(), 0.25f);
        EXPECT_EQ(p.smoother().current(), 0.0f) << "the glide starts at 0 until reset";
        p.addObserver(&r);
        p.setValue(0.75f);  // value changes travel through the buffer only
        ASSERT_EQ(r.buffers.size(), 1u);
        EXPECT_EQ(r.buffers[0], p.smoother().buffer());
        EXPECT_EQ(p.smoother().target(), 0.75f);
        p.removeObserver(&stranger);
        EXPECT_TRUE(stranger.buffers.empty());
        p.removeObserver(&r);
        ASSERT_EQ(r.buffers.size(), 2u);
        EXPECT_EQ(r.buffers[1], nullptr);
        p.removeObserver(&r);
        EXPECT_EQ(r.buffers.size(), 2u);
    }
    // The smoother left every registry with the parameter: nothing dangles.
    services.resetAll();
    services.smoothAll(64);
    services.setSampleRate(48000.0f);
}

}  // namespace
