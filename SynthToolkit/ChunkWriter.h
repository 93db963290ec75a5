// The growable buffer behind getChunk. Its storage is what the host receives, so it stays put
// until the next write that outgrows it; clear keeps the capacity. User-interface thread only.
#pragma once

#include <cstdint>

namespace SynthToolkit {

class ChunkWriter {
public:
    static constexpr int kInitialCapacity = 256;

    ChunkWriter();
    ~ChunkWriter();
    ChunkWriter(const ChunkWriter&) = delete;
    ChunkWriter& operator=(const ChunkWriter&) = delete;

    // Zero-fills the bytes written so far and starts again at size 0.
    void clear();
    // Doubles the capacity until the bytes fit. A null pointer, a count of 0 or less, or a
    // count that would take the size past what an int holds appends nothing.
    void append(const void* bytes, int count);
    // Four bytes, little-endian.
    void appendInt32(std::int32_t value);
    void appendFloat(float value);

    const std::uint8_t* data() const { return storage; }
    std::uint8_t* data() { return storage; }
    int size() const { return written; }
    int capacity() const { return allocated; }

private:
    std::uint8_t* storage;
    int written = 0;
    int allocated = kInitialCapacity;
};

}  // namespace SynthToolkit
