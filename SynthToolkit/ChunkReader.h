// Reads a chunk the host handed over. The bytes are copied at construction, so the host's
// buffer may go away; nothing is ever read past the copy. User-interface thread only.
#pragma once

#include <cstdint>
#include <vector>

namespace SynthToolkit {

class ChunkReader {
public:
    // A null pointer or a count of 0 or less gives an empty reader.
    ChunkReader(const void* bytes, int byteCount);

    // Copies as many bytes as remain, at most count, into out and advances past them; returns
    // how many. A null out or a count of 0 or less reads nothing.
    int read(void* out, int count);
    // Four bytes, little-endian; false (value untouched) when fewer than four remained.
    bool readInt32(std::int32_t& value);
    bool readFloat(float& value);

    int position() const { return readPosition; }
    int size() const { return static_cast<int>(bytes.size()); }

private:
    std::vector<std::uint8_t> bytes;
    int readPosition = 0;
};

}  // namespace SynthToolkit
