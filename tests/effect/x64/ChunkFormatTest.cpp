// The persistent chunk format of the effect: sizes, round trips, refusals and truncation.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "effect/x64/QuellinCorvaneModel.h"
#include "tests/support/ProductFacts.h"

using namespace QuellinCorvane;
using Bytes = std::vector<unsigned char>;

namespace {

namespace Product = TestSupport::Product;

Bytes serialize(QuellinCorvaneModel& model, bool program) {
    VstToolkit::ChunkBuffer buffer;
    if (program)
        model.SerializeSelectedProgram(buffer);
    else
        model.SerializeBank(buffer);
    return Bytes(buffer.Data(), buffer.Data() + buffer.Length());
}

bool load(QuellinCorvaneModel& model, const Bytes& bytes, bool program, std::size_t size = 0) {
    VstToolkit::ChunkReader reader(bytes.data(),
                                   static_cast<VstInt32>(size != 0 ? size : bytes.size()));
    return program ? model.DeserializeSelectedProgram(reader) : model.DeserializeBank(reader);
}

void putInt32(Bytes& bytes, std::size_t at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    const unsigned char little[4] = {
        static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
        static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
    std::copy(little, little + 4, bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

float floatAt(const Bytes& bytes, std::size_t at) {
    float value;
    std::memcpy(&value, &bytes[at], 4);
    return value;
}

// Every program gets its own name and values, and a few bindings are made.
void fillDistinctly(QuellinCorvaneModel& model) {
    for (VstInt32 p = 0; p < kProgramCount; ++p) {
        model.SetSelectedProgramIndex(p);
        model.SetSelectedProgramName(("Program " + std::to_string(p)).c_str());
        for (VstInt32 i = 0; i < kParameterCount; ++i)
            model.SetParameterValue(i, static_cast<float>(p * kParameterCount + i) / 160.0f);
    }
    model.SetSelectedProgramIndex(5);
    model.RegisterMidiControllerMapping(20, kCutoffFrequency);
    model.RegisterMidiControllerMapping(7, kBassAmp);
}

TEST(ChunkLayout, HeaderProgramAndBankSizes) {
    QuellinCorvaneModel model;
    const Bytes program = serialize(model, true);
    ASSERT_EQ(program.size(), Product::kProgramChunkSize);
    EXPECT_STREQ(reinterpret_cast<const char*>(&program[0]), "Quellin Corvane");
    EXPECT_STREQ(reinterpret_cast<const char*>(&program[32]), "Quellin Sound Design");
    EXPECT_STREQ(reinterpret_cast<const char*>(&program[96]), "Quellin Corvane");
    EXPECT_EQ(program[160], 0x66);  // 2150 little-endian
    EXPECT_EQ(program[161], 0x08);
    EXPECT_STREQ(reinterpret_cast<const char*>(&program[164]), "Blank");
    for (std::size_t i = 164 + 6; i < 164 + 24; ++i) EXPECT_EQ(program[i], 0) << "zero padded";
    EXPECT_EQ(floatAt(program, 188 + 4 * kCutoffFrequency), 0.1f);
    EXPECT_EQ(floatAt(program, 188 + 4 * kBassAmp), 0.5f);

    EXPECT_EQ(serialize(model, false).size(), Product::kX64BankChunkSize);
    for (VstInt32 i = 0; i < kParameterCount; ++i) model.RegisterMidiControllerMapping(100 + i, i);
    const Bytes bank = serialize(model, false);
    // One entry per parameter: 1 and the controller number.
    constexpr std::size_t kBindings = Product::kBindingsOffset;
    ASSERT_EQ(bank.size(), kBindings + 2 * kParameterCount);
    EXPECT_EQ(bank[kBindings], 1);
    EXPECT_EQ(bank[kBindings + 1], 100);
    model.RegisterMidiControllerMapping(3, kBassAmp);  // two controllers: the lowest is kept
    EXPECT_EQ(serialize(model, false)[kBindings + 2 * kBassAmp + 1], 3);
}

TEST(ChunkRoundTrip, BankRestoresEveryProgramAndBinding) {
    QuellinCorvaneModel source;
    fillDistinctly(source);
    const Bytes bank = serialize(source, false);

    QuellinCorvaneModel target;
    target.SetSelectedProgramIndex(2);
    ASSERT_TRUE(load(target, bank, false));
    EXPECT_EQ(target.GetSelectedProgramIndex(), 2) << "a bank does not change the selection";
    for (VstInt32 p = 0; p < kProgramCount; ++p) {
        EXPECT_STREQ(target.ProgramName(p), source.ProgramName(p));
        for (VstInt32 i = 0; i < kParameterCount; ++i)
            EXPECT_EQ(target.ProgramValue(p, i), source.ProgramValue(p, i));
    }
    EXPECT_EQ(target.ParameterToController(kCutoffFrequency), 20);
    EXPECT_EQ(target.ParameterToController(kBassAmp), 7);
    EXPECT_EQ(target.ParameterToController(kOutput), VstToolkit::Model::kControllerCount);
    // The selected program's values reach the signal path with the next block.
    target.SyncRenderState();
    EXPECT_EQ(target.GetSpread(), target.ProgramValue(2, kStereoSpread));
    EXPECT_EQ(serialize(target, false), bank);
}

TEST(ChunkRoundTrip, ProgramChunkLoadsIntoTheSelectedProgramAndLeavesTheMapAlone) {
    QuellinCorvaneModel source;
    fillDistinctly(source);
    const Bytes program = serialize(source, true);

    QuellinCorvaneModel target;
    target.RegisterMidiControllerMapping(42, kOutput);
    target.SetSelectedProgramIndex(9);
    ASSERT_TRUE(load(target, program, true));
    EXPECT_STREQ(target.ProgramName(9), "Program 5");
    for (VstInt32 i = 0; i < kParameterCount; ++i)
        EXPECT_EQ(target.ProgramValue(9, i), source.ProgramValue(5, i));
    EXPECT_STREQ(target.ProgramName(0), "Blank");
    EXPECT_EQ(target.ParameterToController(kOutput), 42);
}

TEST(ChunkRefusal, ForeignHeadersAndLaterVersionsChangeNothing) {
    QuellinCorvaneModel source;
    fillDistinctly(source);
    const Bytes bank = serialize(source, false);
    const Bytes pristine = serialize(*std::make_unique<QuellinCorvaneModel>(), false);

    for (std::size_t at : {std::size_t{0}, std::size_t{40}, std::size_t{100}}) {
        Bytes foreign = bank;
        foreign[at] ^= 0x20;
        QuellinCorvaneModel target;
        EXPECT_FALSE(load(target, foreign, false)) << "byte " << at;
        EXPECT_EQ(serialize(target, false), pristine);
    }
    Bytes later = bank;
    putInt32(later, 160, 2151);
    QuellinCorvaneModel target;
    EXPECT_FALSE(load(target, later, false));
    EXPECT_FALSE(
        load(target, Bytes(later.begin(), later.begin() + Product::kProgramChunkSize), true));
    EXPECT_EQ(serialize(target, false), pristine);

    for (std::int32_t accepted : {2150, 1, 2000, -5}) {
        Bytes older = bank;
        putInt32(older, 160, accepted);
        QuellinCorvaneModel reader;
        EXPECT_TRUE(load(reader, older, false)) << accepted;
    }
}

TEST(ChunkRefusal, TextAfterTheTerminatorIsIgnored) {
    QuellinCorvaneModel source;
    Bytes program = serialize(source, true);
    program[16] = 'Z';  // after "Quellin Corvane\0"
    program[31] = 0x7F;
    QuellinCorvaneModel target;
    EXPECT_TRUE(load(target, program, true));
}

TEST(ChunkTruncation, ProgramKeepsWhatWasReadBeforeTheEnd) {
    QuellinCorvaneModel source;
    source.SetSelectedProgramName("Cut Short");
    for (VstInt32 i = 0; i < kParameterCount; ++i) source.SetParameterValue(i, 0.9f);
    const Bytes program = serialize(source, true);

    QuellinCorvaneModel target;
    EXPECT_FALSE(load(target, program, true, 200));  // the name and three values
    EXPECT_STREQ(target.GetSelectedProgramName(), "Cut Short");
    EXPECT_EQ(target.GetParameterValue(0), 0.9f);
    EXPECT_EQ(target.GetParameterValue(2), 0.9f);
    EXPECT_EQ(target.GetParameterValue(3), 0.0f);
    EXPECT_EQ(target.GetParameterValue(4), 0.5f);

    QuellinCorvaneModel cutInName;
    EXPECT_FALSE(load(cutInName, program, true, 164 + 3));
    EXPECT_STREQ(cutInName.GetSelectedProgramName(), "Cutnk") << "three bytes over \"Blank\"";
}

TEST(ChunkTruncation, BankEndingInTheMapKeepsTheProgramsAndTheBindingsBeforeTheEnd) {
    QuellinCorvaneModel source;
    fillDistinctly(source);
    source.RegisterMidiControllerMapping(11, kOutput);
    const Bytes bank = serialize(source, false);  // map: 01 0B, 01 14, 00, 00, 01 07

    QuellinCorvaneModel target;
    target.RegisterMidiControllerMapping(90, kFilterSlope);
    EXPECT_FALSE(load(target, bank, false, Product::kBankChunkSize + 3));
    EXPECT_EQ(target.ProgramValue(31, kBassAmp), source.ProgramValue(31, kBassAmp));
    EXPECT_EQ(target.ParameterToController(kOutput), 11);
    EXPECT_EQ(target.ParameterToController(kCutoffFrequency), VstToolkit::Model::kControllerCount);
    EXPECT_FALSE(target.IsControllerMapped(90)) << "the map was cleared first";
}

TEST(ChunkTruncation, ABankFromTheOtherBuildAppliesItsProgramsThenFails) {
    QuellinCorvaneModel source;
    fillDistinctly(source);
    Bytes bank = serialize(source, false);
    // Header and programs only, as the other framework writes it.
    bank.resize(Product::kBankChunkSize);
    putInt32(bank, 160, 2000);

    QuellinCorvaneModel target;
    target.RegisterMidiControllerMapping(1, kOutput);
    EXPECT_FALSE(load(target, bank, false));
    EXPECT_STREQ(target.ProgramName(31), "Program 31");
    EXPECT_FALSE(target.IsControllerMapped(1));
}

TEST(ChunkHandMade, ControllerNumbersBeyondTheMapAreSkipped) {
    QuellinCorvaneModel source;
    Bytes bank = serialize(source, false);
    bank.resize(Product::kBankChunkSize);
    const unsigned char map[] = {1, 200, 1, 0x80, 1, 5, 0, 1, 127};
    bank.insert(bank.end(), std::begin(map), std::end(map));

    QuellinCorvaneModel target;
    EXPECT_TRUE(load(target, bank, false));
    EXPECT_EQ(target.ParameterToController(kOutput), VstToolkit::Model::kControllerCount);
    EXPECT_EQ(target.ParameterToController(kCutoffFrequency), VstToolkit::Model::kControllerCount);
    EXPECT_EQ(target.ParameterToController(kFilterSlope), 5);
    EXPECT_EQ(target.ParameterToController(kBassAmp), 127);
}

TEST(ChunkHandMade, UnterminatedNamesAreStoredAsStrings) {
    QuellinCorvaneModel source;
    Bytes program = serialize(source, true);
    std::memset(&program[164], 'N', 24);
    QuellinCorvaneModel target;
    ASSERT_TRUE(load(target, program, true));
    EXPECT_EQ(std::strlen(target.GetSelectedProgramName()), 23u);
}

}  // namespace
