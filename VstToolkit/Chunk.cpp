#include "VstToolkit/Chunk.h"

#include <cstring>
#include <new>

namespace VstToolkit {
namespace {

std::uint32_t fromLittleEndian(const std::uint8_t bytes[4]) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

ChunkBuffer::ChunkBuffer() : data(new std::uint8_t[kInitialCapacity]()) {}

ChunkBuffer::~ChunkBuffer() {
    delete[] data;
}

void ChunkBuffer::Clear() {
    std::memset(data, 0, static_cast<std::size_t>(length));
    length = 0;
}

void ChunkBuffer::Reserve(VstInt32 count) {
    const std::int64_t needed = static_cast<std::int64_t>(length) + count;
    std::int64_t grown = capacity;
    while (grown < needed) grown *= 2;
    if (grown == capacity) return;
    if (grown > INT32_MAX) throw std::bad_alloc();
    auto* larger = new std::uint8_t[static_cast<std::size_t>(grown)]();
    std::memcpy(larger, data, static_cast<std::size_t>(length));
    delete[] data;
    data = larger;
    capacity = static_cast<VstInt32>(grown);
}

void ChunkBuffer::AppendBytes(const void* bytes, VstInt32 count) {
    if (count <= 0) return;
    Reserve(count);
    std::memcpy(data + length, bytes, static_cast<std::size_t>(count));
    length += count;
}

void ChunkBuffer::AppendUInt32(std::uint32_t value) {
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    AppendBytes(bytes, 4);
}

void ChunkBuffer::AppendFloat(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    AppendUInt32(bits);
}

VstInt32 ChunkReader::ReadBytes(void* out, VstInt32 count) {
    if (count <= 0) return 0;
    const VstInt32 available = size - position < count ? size - position : count;
    if (available > 0) std::memcpy(out, data + position, static_cast<std::size_t>(available));
    position += available;
    return available;
}

bool ChunkReader::ReadInt32(std::int32_t& value) {
    std::uint8_t bytes[4];
    if (ReadBytes(bytes, 4) != 4) return false;
    value = static_cast<std::int32_t>(fromLittleEndian(bytes));
    return true;
}

bool ChunkReader::ReadFloat(float& value) {
    std::uint8_t bytes[4];
    if (ReadBytes(bytes, 4) != 4) return false;
    const std::uint32_t bits = fromLittleEndian(bytes);
    std::memcpy(&value, &bits, 4);
    return true;
}

}  // namespace VstToolkit
