#include "tests/stress/ChunkRules.h"

#include <cstring>
#include <sstream>

namespace Stress {

std::uint32_t floatBits(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float floatFromBits(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void ChunkRules::allowValue(int parameter, float value) {
    if (parameter >= static_cast<int>(values.size())) values.resize(parameter + 1);
    values[parameter].insert(floatBits(value));
}

bool ChunkRules::valueAllowed(int parameter, float value) const {
    return parameter >= 0 && parameter < static_cast<int>(values.size()) &&
           values[parameter].count(floatBits(value)) != 0;
}

std::string ChunkRules::checkRecord(const Bytes& chunk, std::size_t offset, int program) const {
    const std::string name(reinterpret_cast<const char*>(chunk.data() + offset), kProgramNameSize);
    if (nameFields.count(name) == 0) {
        return "program " + std::to_string(program) + " has a name no single call set: \"" +
               name.c_str() + "\"";
    }
    for (int p = 0; p < parameterCount; ++p) {
        const std::uint8_t* at = chunk.data() + offset + kProgramNameSize + 4u * p;
        // Little-endian on every target, as the chunk format is.
        const std::uint32_t bits = at[0] | at[1] << 8 | at[2] << 16 | std::uint32_t{at[3]} << 24;
        if (!valueAllowed(p, floatFromBits(bits))) {
            std::ostringstream text;
            text.precision(9);
            text << "program " << program << " holds " << floatFromBits(bits) << " for parameter "
                 << p << ", a value nothing set";
            return text.str();
        }
    }
    return {};
}

std::string ChunkRules::check(const Bytes& chunk, bool program) const {
    const std::size_t expected = program ? programChunkSize() : bankChunkSize();
    if (chunk.size() != expected) {
        return std::string(program ? "program" : "bank") + " chunk of " +
               std::to_string(chunk.size()) + " bytes, expected " + std::to_string(expected);
    }
    if (!std::equal(header.begin(), header.end(), chunk.begin())) return "header differs";
    const int records = program ? 1 : programCount;
    for (int r = 0; r < records; ++r) {
        std::string broken = checkRecord(chunk, kChunkHeaderSize + recordSize() * r, r);
        if (!broken.empty()) return broken;
    }
    if (!program && !std::equal(bankTail.begin(), bankTail.end(), chunk.end() - bankTail.size()))
        return "controller bindings differ from the ones loaded";
    return {};
}

}  // namespace Stress
