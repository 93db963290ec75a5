// What a program or bank chunk may contain when every state it captures was reached by single
// calls: the header of a fresh instance, program names and parameter values from finite sets,
// and the controller-binding section the hammer loaded. A chunk read while another thread
// changes the plug-in must still fit these rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace Stress {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kChunkHeaderSize = 164;
constexpr std::size_t kProgramNameSize = 24;

struct ChunkRules {
    Bytes header;  // kChunkHeaderSize bytes
    int programCount = 0;
    int parameterCount = 0;
    // Per parameter, the bit patterns of the values it may hold.
    std::vector<std::set<std::uint32_t>> values;
    // Whole name fields, kProgramNameSize bytes each.
    std::set<std::string> nameFields;
    // The bank's bytes after its program records (controller bindings, or nothing).
    Bytes bankTail;

    std::size_t recordSize() const { return kProgramNameSize + 4u * parameterCount; }
    std::size_t programChunkSize() const { return kChunkHeaderSize + recordSize(); }
    std::size_t bankChunkSize() const {
        return kChunkHeaderSize + recordSize() * programCount + bankTail.size();
    }

    void allowValue(int parameter, float value);
    bool valueAllowed(int parameter, float value) const;

    // Empty when the chunk keeps the rules, else what broke first.
    std::string check(const Bytes& chunk, bool program) const;

private:
    std::string checkRecord(const Bytes& chunk, std::size_t offset, int program) const;
};

std::uint32_t floatBits(float value);
float floatFromBits(std::uint32_t bits);

}  // namespace Stress
