// The chunk rules accept exactly the chunks single calls can produce.
#include "tests/stress/ChunkRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace Stress {
namespace {

// Two programs of two parameters; parameter 0 may be 0 or 1, parameter 1 only 0.5.
ChunkRules smallRules() {
    ChunkRules rules;
    rules.header.assign(kChunkHeaderSize, 0);
    rules.header[0] = 'Q';
    rules.programCount = 2;
    rules.parameterCount = 2;
    rules.allowValue(0, 0.0f);
    rules.allowValue(0, 1.0f);
    rules.allowValue(1, 0.5f);
    rules.nameFields.insert(std::string("Blank") + std::string(kProgramNameSize - 5, '\0'));
    rules.nameFields.insert(std::string("Other") + std::string(kProgramNameSize - 5, '\0'));
    rules.bankTail = {1, 20, 0};
    return rules;
}

void putFloat(Bytes& chunk, std::size_t offset, float value) {
    const std::uint32_t bits = floatBits(value);
    for (int b = 0; b < 4; ++b) chunk[offset + b] = static_cast<std::uint8_t>(bits >> (8 * b));
}

// A chunk that keeps smallRules(): every program "Blank" with 1.0 and 0.5.
Bytes goodChunk(const ChunkRules& rules, bool program) {
    Bytes chunk = rules.header;
    const int records = program ? 1 : rules.programCount;
    for (int r = 0; r < records; ++r) {
        const std::size_t at = chunk.size();
        chunk.resize(at + rules.recordSize(), 0);
        std::copy_n("Blank", 5, chunk.begin() + at);
        putFloat(chunk, at + kProgramNameSize, 1.0f);
        putFloat(chunk, at + kProgramNameSize + 4, 0.5f);
    }
    if (!program) chunk.insert(chunk.end(), rules.bankTail.begin(), rules.bankTail.end());
    return chunk;
}

const std::size_t kSecondRecord = kChunkHeaderSize + kProgramNameSize + 8;

struct Damage {
    const char* what;
    bool program;
    std::function<void(Bytes&)> apply;
    const char* expected;  // part of the complaint; null when the chunk must pass
};

TEST(ChunkRules, AcceptsWhatSingleCallsProduceAndNothingElse) {
    const ChunkRules rules = smallRules();
    const Damage cases[] = {
        {"program as written", true, [](Bytes&) {}, nullptr},
        {"bank as written", false, [](Bytes&) {}, nullptr},
        {"other allowed name", false,
         [](Bytes& c) { std::copy_n("Other", 5, c.begin() + kSecondRecord); }, nullptr},
        {"other allowed value", true,
         [](Bytes& c) { putFloat(c, kChunkHeaderSize + kProgramNameSize, 0.0f); }, nullptr},
        {"one byte short", true, [](Bytes& c) { c.pop_back(); }, "bytes, expected"},
        {"bank without bindings", false, [](Bytes& c) { c.resize(c.size() - 3); },
         "bytes, expected"},
        {"foreign header", true, [](Bytes& c) { c[0] = 'X'; }, "header"},
        {"version changed", false, [](Bytes& c) { c[kChunkHeaderSize - 1] = 1; }, "header"},
        {"name torn between two names", false,
         [](Bytes& c) { std::copy_n("Oth", 3, c.begin() + kSecondRecord); },
         "program 1 has a name"},
        {"garbage after the terminator", true, [](Bytes& c) { c[kChunkHeaderSize + 10] = 'z'; },
         "program 0 has a name"},
        {"value one step off", true,
         [](Bytes& c) {
             putFloat(c, kChunkHeaderSize + kProgramNameSize + 4, std::nextafter(0.5f, 1.0f));
         },
         "for parameter 1"},
        {"value allowed for another parameter", false,
         [](Bytes& c) { putFloat(c, kSecondRecord + kProgramNameSize + 4, 1.0f); },
         "program 1 holds 1 for parameter 1"},
        {"not a number", true,
         [](Bytes& c) { putFloat(c, kChunkHeaderSize + kProgramNameSize, std::nanf("")); },
         "for parameter 0"},
        {"binding changed", false, [](Bytes& c) { c[c.size() - 2] = 21; }, "bindings"},
    };
    for (const Damage& damage : cases) {
        Bytes chunk = goodChunk(rules, damage.program);
        damage.apply(chunk);
        const std::string complaint = rules.check(chunk, damage.program);
        if (damage.expected == nullptr) {
            EXPECT_EQ(complaint, "") << damage.what;
        } else {
            EXPECT_NE(complaint.find(damage.expected), std::string::npos)
                << damage.what << ": " << complaint;
        }
    }
}

TEST(ChunkRules, ValuesCompareBitForBit) {
    ChunkRules rules = smallRules();
    EXPECT_TRUE(rules.valueAllowed(0, 1.0f));
    EXPECT_FALSE(rules.valueAllowed(0, -0.0f));  // a different value as far as a chunk goes
    EXPECT_FALSE(rules.valueAllowed(1, 0.0f));
    EXPECT_FALSE(rules.valueAllowed(2, 0.5f));  // no such parameter
    EXPECT_FALSE(rules.valueAllowed(-1, 0.5f));
    rules.allowValue(3, 0.25f);
    EXPECT_TRUE(rules.valueAllowed(3, 0.25f));
    EXPECT_FALSE(rules.valueAllowed(2, 0.25f));
}

}  // namespace
}  // namespace Stress
