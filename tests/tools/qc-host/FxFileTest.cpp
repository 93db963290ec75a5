// The preset containers byte for byte: where each header field sits and in which byte order,
// what readers must tolerate, and that every damaged file is refused with a reason.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "tools/qc-host/FxFile.h"

namespace {

using QcHost::FxFile;
using QcHost::FxKind;

std::uint32_t be32(const std::vector<unsigned char>& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
           (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}

FxFile sample(FxKind kind) {
    FxFile f;
    f.kind = kind;
    f.fxID = 0x00514356;
    f.fxVersion = 1;
    f.numParams = 5;
    f.numPrograms = 32;
    f.currentProgram = 7;
    f.program = {"Mono Bass 120 Hz", {0.875f, 0.1f, 0.125f, 0.0f, 0.5f}};
    for (int i = 0; i < 3; ++i) f.programs.push_back({"P" + std::to_string(i), {0.25f * i, 1.0f}});
    for (int i = 0; i < 208; ++i) f.chunk.push_back(static_cast<unsigned char>(i * 7));
    return f;
}

TEST(FxFile, HeadersAreBigEndianWithTheSizesHostsExpect) {
    struct Case {
        FxKind kind;
        const char* magic;
        std::uint32_t version;
        std::size_t length;
    };
    const Case cases[] = {
        {FxKind::ProgramChunk, "FPCh", 1, 60 + 208},
        {FxKind::BankChunk, "FBCh", 2, 160 + 208},
        {FxKind::ProgramParams, "FxCk", 1, 56 + 4 * 5},
        {FxKind::BankParams, "FxBk", 2, 156 + 3 * (56 + 8)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.magic);
        const auto bytes = QcHost::encodeFx(sample(c.kind));
        ASSERT_EQ(bytes.size(), c.length);
        EXPECT_EQ(std::memcmp(bytes.data(), "CcnK", 4), 0);
        EXPECT_EQ(be32(bytes, 4), c.length - 8);
        EXPECT_EQ(std::memcmp(bytes.data() + 8, c.magic, 4), 0);
        EXPECT_EQ(be32(bytes, 12), c.version);
        EXPECT_EQ(be32(bytes, 16), 0x00514356u);
        EXPECT_EQ(be32(bytes, 20), 1u);
    }
    const auto program = QcHost::encodeFx(sample(FxKind::ProgramChunk));
    EXPECT_EQ(be32(program, 24), 5u) << "numParams";
    EXPECT_STREQ(reinterpret_cast<const char*>(program.data() + 28), "Mono Bass 120 Hz");
    EXPECT_EQ(be32(program, 56), 208u) << "chunk size";
    EXPECT_EQ(program[60], 0);
    EXPECT_EQ(program[61], 7) << "chunk bytes are copied, not swapped";

    const auto bank = QcHost::encodeFx(sample(FxKind::BankChunk));
    EXPECT_EQ(be32(bank, 24), 32u) << "numPrograms";
    EXPECT_EQ(be32(bank, 28), 7u) << "currentProgram";
    for (std::size_t i = 32; i < 156; ++i) ASSERT_EQ(bank[i], 0) << "future area at " << i;
    EXPECT_EQ(be32(bank, 156), 208u);

    const auto params = QcHost::encodeFx(sample(FxKind::ProgramParams));
    EXPECT_EQ(be32(params, 56), 0x3F600000u) << "0.875 as a big-endian float";
}

TEST(FxFile, EveryKindReadsBackAsWritten) {
    for (FxKind kind :
         {FxKind::ProgramChunk, FxKind::BankChunk, FxKind::ProgramParams, FxKind::BankParams}) {
        SCOPED_TRACE(QcHost::fxMagic(kind));
        const FxFile original = sample(kind);
        FxFile read;
        std::string error;
        ASSERT_TRUE(QcHost::decodeFx(QcHost::encodeFx(original), read, error)) << error;
        EXPECT_EQ(read.kind, kind);
        EXPECT_EQ(read.fxID, original.fxID);
        EXPECT_EQ(read.fxVersion, original.fxVersion);
        if (read.isChunk()) {
            EXPECT_EQ(read.chunk, original.chunk);
        }
        if (kind == FxKind::BankChunk) {
            EXPECT_EQ(read.currentProgram, 7);
            EXPECT_EQ(read.numPrograms, 32);
        }
        if (kind == FxKind::ProgramChunk || kind == FxKind::ProgramParams) {
            EXPECT_EQ(read.program.name, "Mono Bass 120 Hz");
        }
        if (kind == FxKind::ProgramParams) {
            EXPECT_EQ(read.program.params, original.program.params);
        }
        if (kind == FxKind::BankParams) {
            ASSERT_EQ(read.programs.size(), 3u);
            EXPECT_EQ(read.programs[2].name, "P2");
            EXPECT_EQ(read.programs[2].params, original.programs[2].params);
        }
        // Writing what was read gives the same bytes again.
        EXPECT_EQ(QcHost::encodeFx(read), QcHost::encodeFx(original));
    }
}

TEST(FxFile, ReadersIgnoreWhatOtherWritersGetWrong) {
    auto bytes = QcHost::encodeFx(sample(FxKind::ProgramChunk));
    // A zero byteSize and another count at offset 24 (some writers put numPrograms there).
    std::memset(bytes.data() + 4, 0, 4);
    bytes[27] = 32;
    FxFile read;
    std::string error;
    ASSERT_TRUE(QcHost::decodeFx(bytes, read, error)) << error;
    EXPECT_EQ(read.chunk.size(), 208u);

    // Version 1 banks leave currentProgram undefined: whatever sits there is not used.
    auto bank = QcHost::encodeFx(sample(FxKind::BankChunk));
    bank[15] = 1;
    ASSERT_TRUE(QcHost::decodeFx(bank, read, error)) << error;
    EXPECT_EQ(read.version, 1);
    EXPECT_EQ(read.currentProgram, 0);

    // A name that fills its whole field without a terminator keeps 27 characters.
    auto named = QcHost::encodeFx(sample(FxKind::ProgramChunk));
    std::memset(named.data() + 28, 'x', 28);
    ASSERT_TRUE(QcHost::decodeFx(named, read, error)) << error;
    EXPECT_EQ(read.program.name, std::string(27, 'x'));
}

TEST(FxFile, DamagedFilesAreRefusedWithAReason) {
    for (FxKind kind :
         {FxKind::ProgramChunk, FxKind::BankChunk, FxKind::ProgramParams, FxKind::BankParams}) {
        const auto whole = QcHost::encodeFx(sample(kind));
        // Every truncation, from an empty file to one byte short.
        for (std::size_t length = 0; length < whole.size(); ++length) {
            std::vector<unsigned char> cut(whole.begin(),
                                           whole.begin() + static_cast<std::ptrdiff_t>(length));
            FxFile read;
            std::string error;
            ASSERT_FALSE(QcHost::decodeFx(cut, read, error))
                << QcHost::fxMagic(kind) << " cut at " << length;
            EXPECT_FALSE(error.empty());
        }
    }
    auto bytes = QcHost::encodeFx(sample(FxKind::ProgramChunk));
    FxFile read;
    std::string error;
    bytes[0] = 'X';
    EXPECT_FALSE(QcHost::decodeFx(bytes, read, error));
    EXPECT_NE(error.find("CcnK"), std::string::npos) << error;
    bytes[0] = 'C';
    std::memcpy(bytes.data() + 8, "WAVE", 4);
    EXPECT_FALSE(QcHost::decodeFx(bytes, read, error));
    EXPECT_NE(error.find("unknown preset type"), std::string::npos) << error;
    // A chunk size past the end of the file, even by one byte.
    bytes = QcHost::encodeFx(sample(FxKind::ProgramChunk));
    bytes[59] = 209;
    EXPECT_FALSE(QcHost::decodeFx(bytes, read, error));
    EXPECT_NE(error.find("truncated"), std::string::npos) << error;
    // A bank of parameters claiming more programs than its bytes can hold.
    bytes = QcHost::encodeFx(sample(FxKind::BankParams));
    bytes[24] = 0, bytes[25] = 1, bytes[26] = 0x86, bytes[27] = 0xA0;  // 100000
    EXPECT_FALSE(QcHost::decodeFx(bytes, read, error));
    EXPECT_NE(error.find("100000 program records do not fit"), std::string::npos) << error;
}

TEST(FxFile, IdsShowAsTextWhenPrintable) {
    EXPECT_EQ(QcHost::formatId(0x00514356), "0x00514356 'QCV'");
    EXPECT_EQ(QcHost::formatId(0x41424344), "0x41424344 'ABCD'");
    EXPECT_EQ(QcHost::formatId(0x00000001), "0x00000001");
}

}  // namespace
