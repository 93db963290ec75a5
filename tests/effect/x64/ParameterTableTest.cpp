// Every row of the parameter table: the texts it shows, what users type, the round trip from
// any shown text back to a value that shows it again, and input no one should send.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "effect/x64/ParameterTable.h"
#include "effect/x64/QuellinCorvaneModel.h"

using namespace QuellinCorvane;

namespace {

struct RowCase {
    int index;
    std::vector<std::pair<float, const char*>> shown;  // normalised value, display text
    std::vector<std::pair<const char*, float>> typed;  // text, normalised value it gives
    std::vector<const char*> refused;
    const char* error;  // what a refusal names
};

const RowCase kRows[] = {
    {kOutput,
     {{0.0f, "Off"},
      {0.2499f, "Off"},
      {0.25f, "Low"},
      {0.5f, "High"},
      {0.75f, "Both"},
      {1.0f, "Both"}},
     {{"both", 0.875f}, {"LOW", 0.375f}, {" Off ", 0.125f}, {"High", 0.625f}},
     {"loud", "", "0.5", "Both!"},
     "one of Off, Low, High, Both"},
    {kCutoffFrequency,
     {{0.0f, "0.00"}, {0.1f, "100.00"}, {0.5f, "2500.00"}, {1.0f, "10000.0"}},
     {{"120Hz", 0.1095445f},
      {"120 Hz", 0.1095445f},
      {"120", 0.1095445f},
      {" 80 hz", 0.0894427f},
      {"10000.0", 1.0f},
      {"0Hz", 0.0f}},
     {"120kHz", "20000", "-5Hz", "Hz", "nan", "inf", "1e999", ""},
     "a number from 0.00 to 10000.0 Hz"},
    {kFilterSlope,
     {{0.0f, "-6"}, {0.3f, "-12"}, {0.6f, "-18"}, {1.0f, "-24"}},
     {{"-12", 0.375f}, {"-24 dB", 0.875f}, {"-6dB", 0.125f}, {"-18DB", 0.625f}},
     {"-13", "-12Hz", "6", "steep"},
     "one of -6, -12, -18, -24"},
    {kStereoSpread,
     {{0.0f, "0"}, {0.5f, "50"}, {0.999f, "99"}, {1.0f, "100"}},
     {{"50", 0.5f}, {"100", 1.0f}, {"0", 0.0f}, {"29", 0.29f}},
     {"50%", "wide", "101", "-1"},
     "a number from 0 to 100"},
    {kBassAmp,
     {{0.0f, "-10.00"}, {0.5f, "0.00"}, {0.65f, "3.00"}, {1.0f, "10.00"}},
     {{"+3dB", 0.65f}, {"-1.02 dB", 0.449f}, {"0.5dB", 0.525f}, {"-10", 0.0f}, {"10.00", 1.0f}},
     {"11dB", "-12", "3 Hz", "+3dBs"},
     "a number from -10.00 to 10.00 dB"},
};

TEST(ParameterTable, EveryRowShowsParsesAndRefusesAsUsersExpect) {
    ASSERT_EQ(std::size(kRows), static_cast<std::size_t>(kParameterCount));
    const float inf = std::numeric_limits<float>::infinity();
    for (const RowCase& c : kRows) {
        const ParameterRow& row = kParameterRows[c.index];
        SCOPED_TRACE(row.name);
        EXPECT_LT(std::strlen(row.shortName), 8u);
        EXPECT_LT(std::strlen(row.unit), 8u);
        for (const auto& [x, text] : c.shown) EXPECT_STREQ(row.display(x).text, text) << x;
        for (const auto& [text, expected] : c.typed) {
            float x = -1.0f;
            std::string error;
            ASSERT_TRUE(ParseParameterText(row, text, x, error)) << text << ": " << error;
            EXPECT_NEAR(x, expected, 3e-6f) << text;
        }
        for (const char* text : c.refused) {
            float x = -1.0f;
            std::string error;
            EXPECT_FALSE(ParseParameterText(row, text, x, error)) << text;
            EXPECT_EQ(error, c.error) << text;
            EXPECT_EQ(x, -1.0f) << text << ": a refusal leaves the value alone";
        }
        // Whatever is shown reads back as a value that shows it again, across the range.
        for (int i = 0; i <= 1000; ++i) {
            const std::string text = row.display(i / 1000.0f).text;
            float x = -1.0f;
            std::string error;
            ASSERT_TRUE(ParseParameterText(row, text, x, error)) << text << ": " << error;
            ASSERT_STREQ(row.display(x).text, text.c_str()) << i;
            EXPECT_NEAR(row.toUnits(row.fromUnits(row.toUnits(x))), row.toUnits(x), 1e-3);
        }
        // A value in units, kept in single precision as plug-in formats with unit ports keep
        // it, comes back as the normalised value it was made from: exactly for the defaults,
        // choices and whole units, within the units' own precision elsewhere.
        for (int i = 0; i <= 1000; ++i) {
            float x = i / 1000.0f;
            if (row.kind == ParameterRow::Kind::Choice)
                x = row.fromUnits(SelectionOf(x, kChoiceCount));
            ASSERT_NEAR(NormalisedFromUnits(row, UnitsFor(row, x)), x, 1e-6f) << i;
        }
        for (float x : {row.defaultValue, row.fromUnits(1.0), row.fromUnits(50.0), 1.0f})
            EXPECT_EQ(row.working(NormalisedFromUnits(row, UnitsFor(row, x))), row.working(x)) << x;
        const std::pair<double, float> hostileUnits[] = {{std::nan(""), 0.0f},
                                                         {-inf, 0.0f},
                                                         {row.minimum - 1.0, 0.0f},
                                                         {inf, 1.0f},
                                                         {row.maximum + 0.5, 1.0f}};
        for (const auto& [bad, end] : hostileUnits)
            EXPECT_EQ(row.working(NormalisedFromUnits(row, bad)), row.working(end)) << bad;
        // Values no host should send land on the nearest end of the range.
        const std::pair<float, float> hostile[] = {
            {std::nanf(""), 0.0f}, {-inf, 0.0f}, {-3.0f, 0.0f}, {inf, 1.0f}, {42.0f, 1.0f}};
        for (const auto& [bad, end] : hostile) {
            EXPECT_STREQ(row.display(bad).text, row.display(end).text) << bad;
            EXPECT_EQ(row.working(bad), row.working(end)) << bad;
            EXPECT_GE(row.toUnits(bad), row.minimum);
            EXPECT_LE(row.toUnits(bad), row.maximum);
        }
    }
}

// The model shows the table's texts, and its defaults are the table's.
TEST(ParameterTable, IsWhatTheModelShows) {
    QuellinCorvaneModel model;
    for (int i = 0; i < kParameterCount; ++i) {
        const ParameterRow& row = kParameterRows[i];
        EXPECT_STREQ(model.GetParameterDisplay(i).text, row.display(row.defaultValue).text);
        model.SetParameterValue(i, 0.77f);
        EXPECT_STREQ(model.GetParameterDisplay(i).text, row.display(0.77f).text);
    }
}

}  // namespace
