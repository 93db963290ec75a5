// Model state: construction from the description, programs, values, displays, selections,
// sample rate and host time.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/VstToolkit/RecordingModel.h"

using TestSupport::RecordingModel;

namespace {

TEST(Model, StartsFromItsDescription) {
    RecordingModel model;
    EXPECT_STREQ(model.GetEffectName(), "Recording Model");
    EXPECT_STREQ(model.GetVendorString(), "Quellin Test Vendor");
    EXPECT_EQ(model.GetUniqueId(), 0x12345678);
    EXPECT_EQ(model.GetVendorVersion(), 300);
    EXPECT_EQ(model.GetProgramCount(), 4);
    EXPECT_EQ(model.GetParameterCount(), 3);
    EXPECT_EQ(model.GetSelectedProgramIndex(), 0);
    for (VstInt32 p = 0; p < 4; ++p) {
        EXPECT_STREQ(model.ProgramName(p), "Init");
        for (VstInt32 i = 0; i < 3; ++i)
            EXPECT_EQ(model.ProgramValue(p, i), TestSupport::kRecordingParameters[i].defaultValue);
    }
    EXPECT_STREQ(model.GetParameterShortName(1), "Second1");  // cut to seven characters
    EXPECT_STREQ(model.GetParameterLongName(1), "Second Parameter With A Long Name");
    EXPECT_STREQ(model.GetParameterLabel(0), "Hz");
    EXPECT_STREQ(model.GetParameterDisplay(0).text, "");  // until a hook sets one
    EXPECT_EQ(model.GetSampleRate(), 44100.0f);
    EXPECT_EQ(model.GetTempo(), 120.0);
    EXPECT_EQ(model.GetPosition(), 0.0);
    EXPECT_TRUE(model.IsTransportPlaying());
    EXPECT_EQ(model.GetTimeSignatureNumerator(), 4);
    EXPECT_EQ(model.GetTimeSignatureDenominator(), 4);
    EXPECT_FALSE(model.IsLearningMidi());
    EXPECT_TRUE(model.log.empty()) << "no hook runs during construction";
}

TEST(Model, ProgramSelectionSwitchesEveryCurrentValueAndAlwaysCallsTheHook) {
    RecordingModel model;
    model.SetParameterValue(2, 0.75f);
    model.SetSelectedProgramIndex(1);
    EXPECT_EQ(model.GetParameterValue(2), 1.0f);  // program 1 still holds the default
    model.SetSelectedProgramIndex(1);
    model.SetSelectedProgramIndex(0);
    EXPECT_EQ(model.GetParameterValue(2), 0.75f);
    EXPECT_EQ(model.log, (std::vector<std::string>{"parameter 2 1.000000 0.750000", "program 0 1",
                                                   "program 1 1", "program 1 0"}));
}

TEST(Model, SetParameterValueCallsTheHookEvenForTheSameValue) {
    RecordingModel model;
    model.SetParameterValue(0, 0.25f);
    model.SetParameterValue(0, 0.25f);
    EXPECT_EQ(model.log.size(), 2u);
    EXPECT_EQ(model.log[1], "parameter 0 0.250000 0.250000");
    // Stored as given, unchecked and unclamped: the host reads back what it wrote.
    model.SetParameterValue(0, 7.5f);
    EXPECT_EQ(model.GetParameterValue(0), 7.5f);
}

TEST(Model, ProgramNamesAreCutToTwentyThreeCharacters) {
    RecordingModel model;
    model.SetSelectedProgramName("A thirty character long name!!");
    EXPECT_STREQ(model.GetSelectedProgramName(), "A thirty character long");
    model.SetSelectedProgramIndex(3);
    model.SetSelectedProgramName("Short");
    EXPECT_STREQ(model.ProgramName(3), "Short");
    EXPECT_STREQ(model.ProgramName(0), "A thirty character long");
}

TEST(Model, DisplayTextsKeepSevenCharacters) {
    RecordingModel model;
    model.SetFloatParameterDisplay(0, 10000.0f);
    EXPECT_STREQ(model.GetParameterDisplay(0).text, "10000.0");
    model.SetFloatParameterDisplay(0, -10.0f);
    EXPECT_STREQ(model.GetParameterDisplay(0).text, "-10.00");
    model.SetFloatParameterDisplay(0, 100.0f);
    EXPECT_STREQ(model.GetParameterDisplay(0).text, "100.00");
    model.SetIntegerParameterDisplay(1, 99);
    EXPECT_STREQ(model.GetParameterDisplay(1).text, "99");
    model.SetIntegerParameterDisplay(1, -2147483647);
    EXPECT_STREQ(model.GetParameterDisplay(1).text, "-214748");
    model.SetParameterDisplay(2, "Overlong text");
    EXPECT_STREQ(model.GetParameterDisplay(2).text, "Overlon");
}

TEST(Model, NormalizedFloatToSelection) {
    RecordingModel model;
    EXPECT_EQ(model.NormalizedFloatToSelection(0.0f, 4), 0);
    EXPECT_EQ(model.NormalizedFloatToSelection(0.2499f, 4), 0);
    EXPECT_EQ(model.NormalizedFloatToSelection(0.25f, 4), 1);
    EXPECT_EQ(model.NormalizedFloatToSelection(0.74f, 4), 2);
    EXPECT_EQ(model.NormalizedFloatToSelection(0.75f, 4), 3);
    EXPECT_EQ(model.NormalizedFloatToSelection(1.0f, 4), 3);  // the last entry, not a fifth
    // What a conforming host never sends still selects an entry that exists.
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(model.NormalizedFloatToSelection(-0.5f, 4), 0);
    EXPECT_EQ(model.NormalizedFloatToSelection(1.5f, 4), 3);
    EXPECT_EQ(model.NormalizedFloatToSelection(inf, 4), 3);
    EXPECT_EQ(model.NormalizedFloatToSelection(-inf, 4), 0);
    EXPECT_EQ(model.NormalizedFloatToSelection(std::nanf(""), 4), 0);
}

TEST(Model, SampleRateHookRunsOnlyForANewUsableRate) {
    RecordingModel model;
    model.SetSampleRate(44100.0f);
    EXPECT_TRUE(model.log.empty());
    model.SetSampleRate(48000.0f);
    EXPECT_EQ(model.log, std::vector<std::string>{"rate 44100.000000 48000.000000"});
    for (float bad : {0.0f, -48000.0f, std::nanf(""), std::numeric_limits<float>::infinity()})
        model.SetSampleRate(bad);
    EXPECT_EQ(model.log.size(), 1u);
    EXPECT_EQ(model.GetSampleRate(), 48000.0f);
}

TEST(Model, HostTimeHooksRunOnlyOnChange) {
    RecordingModel model;
    model.SetTempo(120.0);
    model.SetPosition(0.0);
    model.SetTransportPlaying(true);
    model.SetTimeSignature(4, 4);
    EXPECT_TRUE(model.log.empty());
    model.SetTempo(std::nan(""));  // a NaN counts as no change
    EXPECT_TRUE(model.log.empty());
    model.SetTempo(98.5);
    model.SetPosition(16.0);
    model.SetTransportPlaying(false);
    model.SetTimeSignature(7, 8);
    model.SetTimeSignature(7, 4);
    EXPECT_EQ(model.log, (std::vector<std::string>{"tempo 98.500000", "position 16.000000",
                                                   "stopped", "signature 7/8", "signature 7/4"}));
}

}  // namespace
