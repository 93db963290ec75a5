// --set's names and values in the parameter's own terms, by the effect's parameter table, in
// the x64 build and in the x86 code's x86-64 twin (whose names carry the group's letter).
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "tools/qc-host/ParameterValue.h"
#include "tools/qc-host/Session.h"

namespace {

enum Index { kOut, kCutoff, kSlope, kSpread, kAmp };

bool exists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

std::string upper(std::string text) {
    for (auto& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

class SetInOwnTerms : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (!exists(GetParam())) GTEST_SKIP() << GetParam() << " is not built";
        std::string error;
        ASSERT_TRUE(session.open(GetParam(), error)) << error;
    }
    QcHost::Session session;
};

TEST_P(SetInOwnTerms, ValuesLandWhereTheDisplayShowsThem) {
    const struct {
        Index index;
        const char* text;
        float normalised;
        const char* shown;  // the display afterwards, compared as a number when it is one
    } cases[] = {
        // A bare number from 0 to 1 stays normalised.
        {kCutoff, "0.3", 0.3f, "900"},
        {kAmp, "0.5", 0.5f, "0"},
        {kSlope, "1", 1.0f, "-24"},
        // Numbers with and without the unit.
        {kCutoff, "120Hz", 0.1095445f, "120"},
        {kCutoff, "120", 0.1095445f, "120"},
        {kCutoff, " 80 hz", 0.0894427f, "80"},
        {kCutoff, "10000", 1.0f, "10000"},
        {kCutoff, "0Hz", 0.0f, "0"},
        {kAmp, "+3dB", 0.65f, "3"},
        {kAmp, "-1.02 dB", 0.449f, "-1.02"},
        {kAmp, "0.5dB", 0.525f, "0.5"},
        {kAmp, "-10", 0.0f, "-10"},
        {kSpread, "50", 0.5f, "50"},
        {kSpread, "100", 1.0f, "100"},
        // Choices, by text in any case or by number, at the middle of their stretch.
        {kOut, "both", 0.875f, "Both"},
        {kOut, "LOW", 0.375f, "Low"},
        {kOut, "Off", 0.125f, "Off"},
        {kSlope, "-12", 0.375f, "-12"},
        {kSlope, "-24 dB", 0.875f, "-24"},
        {kSlope, "-6dB", 0.125f, "-6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        float value = -1.0f;
        std::string error;
        ASSERT_TRUE(QcHost::normalisedValue(session, c.index, c.text, value, error)) << error;
        EXPECT_NEAR(value, c.normalised, 3e-6f);
        session.vst().setParameter(c.index, value);
        const std::string display = session.paramDisplay(c.index);
        char* end = nullptr;
        const double expected = std::strtod(c.shown, &end);
        if (*end == '\0')
            EXPECT_NEAR(std::strtod(display.c_str(), nullptr), expected, 0.006) << display;
        else
            EXPECT_EQ(display, c.shown);
    }
}

TEST_P(SetInOwnTerms, RefusalsNameWhatTheParameterTakesAndChangeNothing) {
    const struct {
        Index index;
        const char* text;
        const char* message;
    } cases[] = {
        {kCutoff, "120kHz", "to 10000.0 Hz, or a normalised value from 0 to 1; got '120kHz'"},
        {kCutoff, "20000", "to 10000.0 Hz"},
        {kCutoff, "-5Hz", "to 10000.0 Hz"},
        {kOut, "loud", "takes one of Off, Low, High, Both, or a normalised value"},
        {kSlope, "-13", "-6, -12, -18, -24"},
        {kSlope, "-12Hz", "-6, -12, -18, -24"},
        {kAmp, "11dB", "a number from -10.00 to 10.00 dB"},
        {kSpread, "50%", "a number from 0 to 100,"},
        {kSpread, "wide", "a number from 0 to 100,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        session.vst().setParameter(c.index, 0.2f);
        float value = -1.0f;
        std::string error;
        EXPECT_FALSE(QcHost::normalisedValue(session, c.index, c.text, value, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_EQ(error.find(session.paramName(c.index)), 0u) << error;
        EXPECT_EQ(session.vst().getParameter(c.index), 0.2f);
    }
}

TEST_P(SetInOwnTerms, NamesMatchInAnyCaseOrByAPrefixThatFitsOne) {
    std::string error;
    for (int i = 0; i < session.effect()->numParams; ++i) {
        const std::string name = session.paramName(i);
        SCOPED_TRACE(name);
        EXPECT_EQ(session.findParameter(upper(name), error), i) << error;
        EXPECT_EQ(session.findParameter(name.substr(0, name.size() - 1), error), i) << error;
        EXPECT_EQ(session.findParameter(std::to_string(i), error), i) << error;
        const std::string longName = session.paramLongName(i);
        EXPECT_EQ(session.findParameter(longName, error), i) << error;
        EXPECT_EQ(session.findParameter(upper(longName), error), i) << error;
    }
    // Slope and Spread share their first letter (after the twin's group letter).
    const std::string shared = session.paramName(kSlope).substr(0, 2) == "CS" ? "CS" : "S";
    EXPECT_EQ(session.findParameter(shared, error), -1);
    EXPECT_NE(error.find("could be any of"), std::string::npos) << error;
    // Long names and their prefixes: "Cutoff Freq.", "cutoff", "Bass".
    EXPECT_EQ(session.findParameter("Cutoff Freq.", error), kCutoff) << error;
    EXPECT_EQ(session.findParameter("cutoff", error), kCutoff) << error;
    EXPECT_EQ(session.findParameter("Bass", error), kAmp) << error;
    EXPECT_EQ(session.findParameter("Wobble", error), -1);
    EXPECT_NE(error.find("no parameter named 'Wobble'"), std::string::npos) << error;
    EXPECT_EQ(session.findParameter("5", error), -1);
    EXPECT_NE(error.find("out of range"), std::string::npos) << error;
}

TEST_P(SetInOwnTerms, SettingsInOwnTermsMakeTheSamePresetAsNormalisedOnes) {
    using QcHost::Setting;
    auto set = [](Index index, const char* text) {
        Setting s;
        s.target = std::to_string(index);
        s.text = text;
        return s;
    };
    std::string error;
    ASSERT_TRUE(session.apply({set(kOut, "both"), set(kCutoff, "0.1414214"), set(kSlope, "-6"),
                               set(kSpread, "50"), set(kAmp, "-1.02dB")},
                              error))
        << error;
    const QcHost::FxFile inTerms = session.makePreset(false);
    ASSERT_TRUE(session.apply(
        {set(kOut, "0.875"), set(kSlope, "0.125"), set(kSpread, "0.5"), set(kAmp, "0.449")}, error))
        << error;
    EXPECT_EQ(session.makePreset(false).chunk, inTerms.chunk);
}

// Another plug-in's units are unknown: it takes normalised values, and says so for the rest.
TEST(SetInOwnTermsElsewhere, OtherPluginsTakeNormalisedValuesOnly) {
    QcHost::Session session;
    std::string error;
    ASSERT_TRUE(session.open(QC_MINIMAL_EFFECT, error)) << error;
    float value = -1.0f;
    ASSERT_TRUE(QcHost::normalisedValue(session, 0, "0.25", value, error)) << error;
    EXPECT_EQ(value, 0.25f);
    EXPECT_FALSE(QcHost::normalisedValue(session, 0, "2", value, error));
    EXPECT_EQ(error,
              "Gain takes only a normalised value from 0 to 1 (qc-host knows the units of "
              "Quellin Corvane's parameters only); got '2'");
    EXPECT_EQ(QcHost::describeAccepted(session, 0), "normalised values only");
}

#ifdef QC_PLUGIN_X64
INSTANTIATE_TEST_SUITE_P(Builds, SetInOwnTerms, ::testing::Values(QC_PLUGIN_X64, QC_PLUGIN_X86),
                         [](const auto& test) { return test.index == 0 ? "X64" : "X86Twin"; });
#else
INSTANTIATE_TEST_SUITE_P(Builds, SetInOwnTerms, ::testing::Values(QC_PLUGIN_X86),
                         [](const auto&) { return "X86"; });
#endif

}  // namespace
