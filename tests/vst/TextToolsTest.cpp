// Number formatting and the fixed-field copy.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "tests/vst/ProbeEffect.h"
#include "vst/TextTools.h"

namespace {

// Formats into a buffer of maxLen + 1 bytes framed by guard bytes that must survive.
template <typename Format>
std::string formatted(Format format, VstInt32 maxLen = 8) {
    char buffer[40];
    std::memset(buffer, '#', sizeof(buffer));
    char* text = buffer + 8;
    format(text, maxLen);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(buffer[i], '#') << "wrote before the buffer";
    for (int i = maxLen + 1; i < 32; ++i) EXPECT_EQ(text[i], '#') << "wrote past maxLen + 1";
    EXPECT_EQ(text[maxLen], '\0');
    return std::string(text);
}

std::string floatText(float value, VstInt32 maxLen = 8) {
    return formatted([&](char* t, VstInt32 n) { VstText::FloatToString(value, t, n); }, maxLen);
}

std::string intText(VstInt32 value, VstInt32 maxLen = 12) {
    return formatted([&](char* t, VstInt32 n) { VstText::IntToString(value, t, n); }, maxLen);
}

TEST(FloatToString, UsesEightCharactersTruncatingTheFraction) {
    EXPECT_EQ(floatText(1.5f), "1.500000");
    EXPECT_EQ(floatText(-2.25f), "-2.25000");
    EXPECT_EQ(floatText(0.0f), "0.000000");
    EXPECT_EQ(floatText(0.999999f), "0.999998");  // truncated, never rounded up
    EXPECT_EQ(floatText(100.0f), "100.0000");
    EXPECT_EQ(floatText(-1234567.0f), "-234567.");  // the sign takes a digit's place
}

TEST(FloatToString, KeepsTheLowestIntegerDigitsWhenTheyDoNotFit) {
    EXPECT_EQ(floatText(12345678.0f), "2345678.");
    EXPECT_EQ(floatText(9999999.0f), "9999999.");
}

TEST(FloatToString, HugeAndNotANumberAreNamed) {
    EXPECT_EQ(floatText(1e9f), "Huge!");
    EXPECT_EQ(floatText(99999999.0f), "Huge!");  // as a float this is 100000000
    EXPECT_EQ(floatText(-1e7f), "Huge!");
    EXPECT_EQ(floatText(std::numeric_limits<float>::infinity()), "Huge!");
    EXPECT_EQ(floatText(-std::numeric_limits<float>::infinity()), "Huge!");
    EXPECT_EQ(floatText(std::nanf("")), "Huge!");
}

TEST(FloatToString, CopiesAtMostMaxLenCharacters) {
    EXPECT_EQ(floatText(1.5f, 3), "1.5");
    EXPECT_EQ(floatText(1.5f, 0), "");
    VstText::FloatToString(1.5f, nullptr, 8);  // nothing to write into
    char untouched[4] = "abc";
    VstText::FloatToString(1.5f, untouched, -1);
    EXPECT_STREQ(untouched, "abc");
}

TEST(IntToString, SignDigitsAndTheHugeLimit) {
    EXPECT_EQ(intText(-42), "-42");
    EXPECT_EQ(intText(0), "0");
    EXPECT_EQ(intText(99999999), "99999999");
    EXPECT_EQ(intText(100000000), "Huge!");
    EXPECT_EQ(intText(std::numeric_limits<VstInt32>::min()), "-2147483648");
    EXPECT_EQ(intText(123456, 3), "123");
}

TEST(DecibelToString, SilenceIsMinusInfinity) {
    auto dbText = [](float value) {
        return formatted([&](char* t, VstInt32 n) { VstText::DecibelToString(value, t, n); });
    };
    EXPECT_EQ(dbText(0.0f), "-oo");
    EXPECT_EQ(dbText(-1.0f), "-oo");
    EXPECT_EQ(dbText(1.0f), "0.000000");
    EXPECT_EQ(dbText(10.0f), "20.00000");
}

TEST(AudioEffectTextTools, UseTheSampleRate) {
    ProbeEffect probe(nullptr);
    probe.setSampleRate(48000.0f);
    EXPECT_EQ(formatted([&](char* t, VstInt32 n) { probe.Hz2string(480.0f, t, n); }), "100.0000");
    EXPECT_EQ(formatted([&](char* t, VstInt32 n) { probe.Hz2string(0.0f, t, n); }), "0.000000");
    EXPECT_EQ(formatted([&](char* t, VstInt32 n) { probe.ms2string(4800.0f, t, n); }), "100.0000");
    EXPECT_EQ(formatted([&](char* t, VstInt32 n) { probe.dB2string(0.0f, t, n); }), "-oo");
    EXPECT_EQ(formatted([&](char* t, VstInt32 n) { probe.float2string(1.5f, t, n); }), "1.500000");
    EXPECT_EQ(formatted([&](char* t, VstInt32 n) { probe.int2string(-42, t, n); }), "-42");
    probe.setSampleRate(0.0f);
    EXPECT_EQ(formatted([&](char* t, VstInt32 n) { probe.ms2string(1.0f, t, n); }), "Huge!");
}

TEST(CopyField, KeepsOneByteForTheTerminator) {
    char field[8 + 4];
    std::memset(field, '#', sizeof(field));
    VstText::CopyField(field, "Cutoff Frequency", 8);
    EXPECT_STREQ(field, "Cutoff ");
    for (int i = 8; i < 12; ++i) EXPECT_EQ(field[i], '#');

    VstText::CopyField(field, nullptr, 8);
    EXPECT_STREQ(field, "");
    VstText::CopyField(field, "x", 0);  // no room: untouched
    EXPECT_STREQ(field, "");

    char exact[4];
    VstText::CopyField(exact, "abc");
    EXPECT_STREQ(exact, "abc");
}

}  // namespace
