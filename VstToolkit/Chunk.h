// Byte buffers for program and bank chunks. Everything is little-endian; the layout itself
// belongs to the Model's serialisers.
#pragma once

#include <cstdint>

#include "vst/VstInterface.h"

namespace VstToolkit {

// Growable output buffer. Its storage is what getChunk hands to the host, so it stays put
// until the next getChunk; Clear keeps the capacity.
class ChunkBuffer {
public:
    static constexpr VstInt32 kInitialCapacity = 256;

    ChunkBuffer();
    ~ChunkBuffer();
    ChunkBuffer(const ChunkBuffer&) = delete;
    ChunkBuffer& operator=(const ChunkBuffer&) = delete;

    // Zero-fills the bytes written so far and starts again at length 0.
    void Clear();
    void AppendBytes(const void* bytes, VstInt32 count);
    void AppendByte(std::uint8_t value) { AppendBytes(&value, 1); }
    void AppendInt32(std::int32_t value) { AppendUInt32(static_cast<std::uint32_t>(value)); }
    void AppendFloat(float value);

    const std::uint8_t* Data() const { return data; }
    std::uint8_t* Data() { return data; }
    VstInt32 Length() const { return length; }
    VstInt32 Capacity() const { return capacity; }

private:
    void AppendUInt32(std::uint32_t value);
    // Doubles the capacity until length + count fits.
    void Reserve(VstInt32 count);

    std::uint8_t* data;
    VstInt32 length = 0;
    VstInt32 capacity = kInitialCapacity;
};

// Reads fields from the host's bytes, never past size. A field that ends before it is complete
// is a failed read; the bytes that were there have still been consumed.
class ChunkReader {
public:
    ChunkReader(const void* bytes, VstInt32 byteCount)
        : data(static_cast<const std::uint8_t*>(bytes)),
          size(bytes != nullptr && byteCount > 0 ? byteCount : 0) {}

    // Copies up to count bytes into out; returns how many there were.
    VstInt32 ReadBytes(void* out, VstInt32 count);
    bool ReadByte(std::uint8_t& value) { return ReadBytes(&value, 1) == 1; }
    bool ReadInt32(std::int32_t& value);
    bool ReadFloat(float& value);

    VstInt32 Position() const { return position; }

private:
    const std::uint8_t* data;
    VstInt32 size;
    VstInt32 position = 0;
};

}  // namespace VstToolkit
