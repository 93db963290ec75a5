// Programs, parameters across groups, observers and the chunk formats of the Model.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tests/SynthToolkit/TestModel.h"

using SynthToolkit::ChunkReader;
using SynthToolkit::ChunkWriter;
using TestSupport::TestModel;

namespace {

struct Watcher : SynthToolkit::IModelObserver {
    void parameterChanged(int index) override { changed.push_back(index); }
    void modelChanged() override { ++everything; }
    std::vector<int> changed;
    int everything = 0;
};

class ModelTest : public ::testing::Test {
protected:
    std::vector<std::uint8_t> programChunk() {
        ChunkWriter writer;
        model.writeProgram(writer);
        return {writer.data(), writer.data() + writer.size()};
    }
    std::vector<std::uint8_t> bankChunk() {
        ChunkWriter writer;
        model.writeBank(writer);
        return {writer.data(), writer.data() + writer.size()};
    }
    static bool readProgram(TestModel& into, const std::vector<std::uint8_t>& bytes) {
        ChunkReader reader(bytes.data(), static_cast<int>(bytes.size()));
        return into.readProgram(reader);
    }
    static bool readBank(TestModel& into, const std::vector<std::uint8_t>& bytes) {
        ChunkReader reader(bytes.data(), static_cast<int>(bytes.size()));
        return into.readBank(reader);
    }

    SynthToolkit::ServiceDispatcher services;
    TestModel model{services};
};

TEST_F(ModelTest, StartsWithBlankProgramsAndIndexesAcrossGroups) {
    EXPECT_EQ(model.programCount(), 32);
    EXPECT_EQ(model.currentProgram(), 0);
    for (int p = 0; p < 32; ++p) EXPECT_STREQ(model.programName(p), "Blank");
    EXPECT_EQ(model.parameterCount(), 5);
    EXPECT_STREQ(model.parameterShortName(3), "P0");
    EXPECT_STREQ(model.groupShortName(2), "A");
    EXPECT_STREQ(model.groupShortName(3), "B");
    EXPECT_FLOAT_EQ(model.parameterValue(4), 0.2f);
    EXPECT_STREQ(model.parameterDisplayText(4), "0.200");
    for (int bad : {-1, 5, 1000}) {
        model.setParameterValue(bad, 0.5f);
        model.resetParameter(bad);
        EXPECT_EQ(model.parameterValue(bad), 0.0f);
        EXPECT_STREQ(model.parameterShortName(bad), "");
        EXPECT_STREQ(model.parameterDisplayText(bad), "");
        EXPECT_STREQ(model.groupShortName(bad), "");
    }
    EXPECT_STREQ(model.programName(32), "");
}

TEST_F(ModelTest, ValuesAreKeptInsideTheNormalisedRange) {
    model.setParameterValue(0, 0.6f);
    model.setParameterValue(0, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(model.parameterValue(0), 0.6f);
    model.setParameterValue(0, 7.0f);
    EXPECT_EQ(model.parameterValue(0), 1.0f);
    model.setParameterValue(0, -std::numeric_limits<float>::infinity());
    EXPECT_EQ(model.parameterValue(0), 0.0f);
    model.resetParameter(0);
    EXPECT_FLOAT_EQ(model.parameterValue(0), 0.1f);
}

TEST_F(ModelTest, ProgramSelectionAndNames) {
    model.setParameterValue(1, 0.9f);
    model.selectProgram(3);
    EXPECT_EQ(model.currentProgram(), 3);
    EXPECT_FLOAT_EQ(model.parameterValue(1), 0.2f);
    model.setCurrentProgramName("A name well beyond twenty-three characters");
    EXPECT_STREQ(model.currentProgramName(), "A name well beyond twen");
    model.setCurrentProgramName(nullptr);
    EXPECT_STREQ(model.programName(3), "A name well beyond twen");
    model.selectProgram(32);
    model.selectProgram(-1);
    EXPECT_EQ(model.currentProgram(), 3);
    model.selectProgram(0);
    EXPECT_FLOAT_EQ(model.parameterValue(1), 0.9f);
}

TEST_F(ModelTest, NotificationSkipsTheExcludedObserverOnly) {
    Watcher a, b;
    model.addObserver(&a);
    model.addObserver(&b);
    model.addObserver(&a);
    model.notifyParameterChanged(&b, 2);
    model.notifyParameterChanged(nullptr, 4);
    EXPECT_EQ(a.changed, (std::vector<int>{2, 2, 4, 4}));
    EXPECT_EQ(b.changed, (std::vector<int>{4}));
    model.removeObserver(&a);
    model.notifyModelChanged();
    EXPECT_EQ(a.everything, 0);
    EXPECT_EQ(b.everything, 1);
}

TEST_F(ModelTest, UnmappedControllersChangeNothingAndMappedOnesNotifyEveryone) {
    Watcher w;
    model.addObserver(&w);
    for (int channel : {0, 15})
        for (int controller = 0; controller < 256; ++controller)
            services.messageDispatcher().dispatch(static_cast<std::uint8_t>(0xB0 | channel),
                                                  static_cast<std::uint8_t>(controller), 127);
    EXPECT_TRUE(w.changed.empty());
    EXPECT_FLOAT_EQ(model.parameterValue(0), 0.1f);

    model.setMapping(20, 3);
    model.setMapping(21, 99);  // no such parameter: ignored when it arrives
    services.messageDispatcher().dispatch(0xB5, 20, 127);
    services.messageDispatcher().dispatch(0xB5, 21, 127);
    EXPECT_EQ(model.parameterValue(3), 1.0f);
    EXPECT_EQ(w.changed, (std::vector<int>{3}));
}

TEST_F(ModelTest, ChunkSizesAndHeader) {
    const auto program = programChunk();
    const auto bank = bankChunk();
    EXPECT_EQ(program.size(), 208u);
    EXPECT_EQ(bank.size(), 1572u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(program.data())), "Quellin Corvane");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(program.data() + 32)),
              "Quellin Sound Design");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(program.data() + 96)), "Quellin Corvane");
    EXPECT_EQ(program[160], 2000 & 0xFF);
    EXPECT_EQ(program[161], 2000 >> 8);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(program.data() + 164)), "Blank");
    float first;
    std::memcpy(&first, program.data() + 188, 4);
    EXPECT_FLOAT_EQ(first, 0.1f);
}

TEST_F(ModelTest, ProgramChunkRoundTripsIntoTheCurrentProgram) {
    model.setParameterValue(0, 0.25f);
    model.setParameterValue(4, 0.75f);
    model.setCurrentProgramName("Round Trip");
    const auto program = programChunk();

    TestModel other(services);
    other.selectProgram(5);
    ASSERT_TRUE(readProgram(other, program));
    EXPECT_EQ(other.currentProgram(), 5);
    EXPECT_STREQ(other.currentProgramName(), "Round Trip");
    EXPECT_EQ(other.parameterValue(0), 0.25f);
    EXPECT_EQ(other.parameterValue(4), 0.75f);
    EXPECT_STREQ(other.programName(0), "Blank");
}

TEST_F(ModelTest, AHeaderThatDiffersInOneCharacterChangesNothing) {
    model.setParameterValue(1, 0.9f);
    model.setCurrentProgramName("Changed");
    for (std::size_t offset : {std::size_t{3}, std::size_t{40}, std::size_t{100}}) {
        auto program = programChunk();
        program[offset] ^= 0x20;
        TestModel other(services);
        EXPECT_FALSE(readProgram(other, program)) << offset;
        EXPECT_STREQ(other.currentProgramName(), "Blank");
        EXPECT_FLOAT_EQ(other.parameterValue(1), 0.2f);
    }
    auto program = programChunk();
    program[161] = 0x7F;  // another version reads alike
    TestModel other(services);
    EXPECT_TRUE(readProgram(other, program));
}

TEST_F(ModelTest, ATruncatedProgramKeepsWhatWasReadBeforeTheEnd) {
    for (int p = 0; p < 5; ++p) model.setParameterValue(p, 0.05f * (p + 1));
    model.setCurrentProgramName("Cut Short");
    auto program = programChunk();
    program.resize(164 + 24 + 3 * 4 + 2);
    TestModel other(services);
    EXPECT_FALSE(readProgram(other, program));
    EXPECT_STREQ(other.currentProgramName(), "Cut Short");
    EXPECT_FLOAT_EQ(other.parameterValue(0), 0.05f);
    EXPECT_FLOAT_EQ(other.parameterValue(2), 0.15f);
    EXPECT_FLOAT_EQ(other.parameterValue(3), 0.1f) << "the fourth value was not there";

    // A name cut off in the middle is not taken half.
    program.resize(164 + 10);
    TestModel third(services);
    EXPECT_FALSE(readProgram(third, program));
    EXPECT_STREQ(third.currentProgramName(), "Blank");
}

TEST_F(ModelTest, BankReadWhileProgramThreeIsCurrent) {
    for (int p = 0; p < 32; ++p) {
        model.selectProgram(p);
        model.setParameterValue(2, static_cast<float>(p) / 31.0f);
        model.setCurrentProgramName(("Program " + std::to_string(p)).c_str());
    }
    const auto bank = bankChunk();
    TestModel other(services);
    other.selectProgram(3);
    other.sink.received.clear();
    ASSERT_TRUE(readBank(other, bank));
    EXPECT_EQ(other.currentProgram(), 3);
    EXPECT_FLOAT_EQ(other.parameterValue(2), 3.0f / 31.0f);
    EXPECT_EQ(other.sink.received, (std::vector<float>{3.0f / 31.0f}))
        << "only the current program's change reaches the parameters' observers";
    EXPECT_STREQ(other.programName(31), "Program 31");
    other.selectProgram(17);
    EXPECT_FLOAT_EQ(other.parameterValue(2), 17.0f / 31.0f);
}

TEST_F(ModelTest, BankChunkValuesOutsideTheRangeAreKeptSafe) {
    auto bank = bankChunk();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float big = 1e30f;
    std::memcpy(bank.data() + 164 + 24, &nan, 4);
    std::memcpy(bank.data() + 164 + 24 + 4, &big, 4);
    TestModel other(services);
    ASSERT_TRUE(readBank(other, bank));
    EXPECT_FLOAT_EQ(other.parameterValue(0), 0.1f);
    EXPECT_EQ(other.parameterValue(1), 1.0f);
}

TEST(ChunkBuffers, WriterGrowsByDoublingAndClearKeepsTheStorage) {
    ChunkWriter writer;
    EXPECT_EQ(writer.capacity(), 256);
    std::vector<std::uint8_t> bytes(1000, 0xAB);
    writer.append(bytes.data(), 300);
    EXPECT_EQ(writer.capacity(), 512);
    writer.append(bytes.data(), 1000);
    EXPECT_EQ(writer.capacity(), 2048);
    const std::uint8_t* storage = writer.data();
    writer.clear();
    EXPECT_EQ(writer.size(), 0);
    EXPECT_EQ(writer.data(), storage);
    EXPECT_EQ(writer.data()[1299], 0) << "cleared bytes are zero";
    writer.append(nullptr, 4);
    writer.append(bytes.data(), -4);
    EXPECT_EQ(writer.size(), 0);
    writer.appendInt32(0x01020304);
    EXPECT_EQ(writer.data()[0], 0x04);
    EXPECT_EQ(writer.data()[3], 0x01);
}

TEST(ChunkBuffers, ReaderStopsAtTheEndOfItsCopy) {
    std::vector<std::uint8_t> bytes = {1, 0, 0, 0, 9, 9};
    ChunkReader reader(bytes.data(), 6);
    bytes.assign(6, 0xEE);  // the reader has its own copy
    std::int32_t value = 0;
    EXPECT_TRUE(reader.readInt32(value));
    EXPECT_EQ(value, 1);
    EXPECT_FALSE(reader.readInt32(value));
    EXPECT_EQ(value, 1);
    EXPECT_EQ(reader.position(), 6);
    std::uint8_t out[4];
    EXPECT_EQ(reader.read(out, 4), 0);
    ChunkReader none(nullptr, 100), negative(bytes.data(), -5);
    EXPECT_EQ(none.size(), 0);
    EXPECT_EQ(negative.read(out, 4), 0);
}

}  // namespace
