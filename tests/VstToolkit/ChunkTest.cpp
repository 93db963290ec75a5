#include <gtest/gtest.h>

#include <cstring>

#include "VstToolkit/Chunk.h"

using VstToolkit::ChunkBuffer;
using VstToolkit::ChunkReader;

TEST(ChunkBuffer, GrowsByDoublingAndKeepsItsContent) {
    ChunkBuffer buffer;
    EXPECT_EQ(buffer.Capacity(), 256);
    for (int i = 0; i < 64; ++i) buffer.AppendInt32(i);
    EXPECT_EQ(buffer.Capacity(), 256);
    buffer.AppendByte(0xAB);
    EXPECT_EQ(buffer.Capacity(), 512);
    std::vector<unsigned char> big(2000, 7);
    buffer.AppendBytes(big.data(), 2000);
    EXPECT_EQ(buffer.Capacity(), 4096);
    EXPECT_EQ(buffer.Length(), 256 + 1 + 2000);
    const unsigned char* d = buffer.Data();
    EXPECT_EQ(d[4], 1);  // little-endian
    EXPECT_EQ(d[252], 63);
    EXPECT_EQ(d[256], 0xAB);
    EXPECT_EQ(d[257], 7);
}

TEST(ChunkBuffer, ClearZeroesWhatWasWrittenAndKeepsTheStorage) {
    ChunkBuffer buffer;
    buffer.AppendFloat(1.0f);
    const unsigned char* before = buffer.Data();
    EXPECT_EQ(std::memcmp(before, "\x00\x00\x80\x3f", 4), 0);
    buffer.Clear();
    EXPECT_EQ(buffer.Length(), 0);
    EXPECT_EQ(buffer.Data(), before);
    EXPECT_EQ(before[3], 0);
    buffer.AppendBytes(nullptr, 0);
    buffer.AppendBytes("x", -1);
    EXPECT_EQ(buffer.Length(), 0);
}

TEST(ChunkReader, StopsAtTheEndAndReportsShortFields) {
    const unsigned char bytes[] = {1, 0, 0, 0, 0xFF, 2, 3};
    ChunkReader reader(bytes, sizeof(bytes));
    std::int32_t value = 0;
    EXPECT_TRUE(reader.ReadInt32(value));
    EXPECT_EQ(value, 1);
    std::uint8_t byte = 0;
    EXPECT_TRUE(reader.ReadByte(byte));
    EXPECT_EQ(byte, 0xFF);
    EXPECT_FALSE(reader.ReadInt32(value)) << "only two bytes remain";
    EXPECT_EQ(reader.Position(), 7);
    EXPECT_FALSE(reader.ReadByte(byte));

    ChunkReader none(nullptr, 100);
    EXPECT_FALSE(none.ReadByte(byte));
    ChunkReader negative(bytes, -5);
    EXPECT_FALSE(negative.ReadByte(byte));
}
