#include "SynthToolkit/ChunkWriter.h"

#include <climits>
#include <cstring>

namespace SynthToolkit {

ChunkWriter::ChunkWriter() : storage(new std::uint8_t[kInitialCapacity]()) {}

ChunkWriter::~ChunkWriter() {
    delete[] storage;
}

void ChunkWriter::clear() {
    std::memset(storage, 0, static_cast<std::size_t>(written));
    written = 0;
}

void ChunkWriter::append(const void* bytes, int count) {
    if (bytes == nullptr || count <= 0 || count > INT_MAX - written) return;
    const int needed = written + count;
    if (needed > allocated) {
        long long grown = allocated;
        while (grown < needed) grown *= 2;
        const int newCapacity = grown > INT_MAX ? INT_MAX : static_cast<int>(grown);
        auto* larger = new std::uint8_t[static_cast<std::size_t>(newCapacity)]();
        std::memcpy(larger, storage, static_cast<std::size_t>(written));
        delete[] storage;
        storage = larger;
        allocated = newCapacity;
    }
    std::memcpy(storage + written, bytes, static_cast<std::size_t>(count));
    written = needed;
}

void ChunkWriter::appendInt32(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
        static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
    append(bytes, 4);
}

void ChunkWriter::appendFloat(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    appendInt32(static_cast<std::int32_t>(bits));
}

}  // namespace SynthToolkit
