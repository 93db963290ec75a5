#include "SynthToolkit/ChunkReader.h"

#include <cstring>

namespace SynthToolkit {

ChunkReader::ChunkReader(const void* data, int byteCount) {
    if (data == nullptr || byteCount <= 0) return;
    const auto* first = static_cast<const std::uint8_t*>(data);
    bytes.assign(first, first + byteCount);
}

int ChunkReader::read(void* out, int count) {
    if (out == nullptr || count <= 0) return 0;
    const int remaining = size() - readPosition;
    const int taken = count < remaining ? count : remaining;
    if (taken > 0) std::memcpy(out, bytes.data() + readPosition, static_cast<std::size_t>(taken));
    readPosition += taken;
    return taken;
}

bool ChunkReader::readInt32(std::int32_t& value) {
    std::uint8_t raw[4];
    if (read(raw, 4) != 4) return false;
    const std::uint32_t bits =
        static_cast<std::uint32_t>(raw[0]) | static_cast<std::uint32_t>(raw[1]) << 8 |
        static_cast<std::uint32_t>(raw[2]) << 16 | static_cast<std::uint32_t>(raw[3]) << 24;
    value = static_cast<std::int32_t>(bits);
    return true;
}

bool ChunkReader::readFloat(float& value) {
    std::int32_t bits;
    if (!readInt32(bits)) return false;
    std::memcpy(&value, &bits, sizeof(value));
    return true;
}

}  // namespace SynthToolkit
