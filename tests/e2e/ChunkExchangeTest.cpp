// One side of the chunk interchange between the two Windows builds, which never share a process
// (a host loads the DLL of its own processor). Each build saves its program and bank as .fxp and
// .fxb files, as a host would, and loads the files the other build saved. chunk-exchange.sh
// runs the x64 side under wine64 and the x86 side under 32-bit Wine, in the order that lets
// each read the other's files; QC_EXCHANGE_DIR names the folder they meet in.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/ProductFacts.h"
#include "tools/qc-host/Session.h"

namespace {

namespace Product = TestSupport::Product;

using QcHost::FxFile;
using QcHost::FxKind;

const std::string kSelf = QC_EXCHANGE_BUILD;  // "x64" or "x86"
const std::string kOther = kSelf == "x64" ? "x86" : "x64";
constexpr VstInt32 kSavedProgram = 7;

std::string exchangeFile(const std::string& build, const char* suffix) {
    const char* dir = std::getenv("QC_EXCHANGE_DIR");
    return std::string(dir != nullptr ? dir : ".") + "/" + build + suffix;
}

// Distinct names and values in every program, the same whichever build wrote them.
std::string nameOf(VstInt32 program) {
    return "Exchange " + std::to_string(program);
}
float valueOf(VstInt32 program, VstInt32 parameter) {
    return static_cast<float>((program * 5 + parameter) % 97) / 96.0f;
}

class ChunkExchange : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(session.open(QC_EXCHANGE_PLUGIN, error)) << error;
    }

    VstHost::Host& vst() { return session.vst(); }

    void fill() {
        for (VstInt32 p = 0; p < 32; ++p) {
            vst().dispatch(effSetProgram, 0, p);
            for (VstInt32 i = 0; i < 5; ++i) vst().setParameter(i, valueOf(p, i));
            std::string name = nameOf(p);
            vst().dispatch(effSetProgramName, 0, 0, name.data());
        }
    }
    void expectProgram(VstInt32 program) {
        SCOPED_TRACE(nameOf(program));
        EXPECT_EQ(vst().getString(effGetProgramName, 0, 24).text, nameOf(program));
        for (VstInt32 i = 0; i < 5; ++i)
            EXPECT_EQ(vst().getParameter(i), valueOf(program, i)) << "parameter " << i;
    }
    void expectAllPrograms() {
        for (VstInt32 p = 0; p < 32; ++p) {
            vst().dispatch(effSetProgram, 0, p);
            expectProgram(p);
        }
    }
    // The other build's file, its chunk handed over directly: a host's own renaming after
    // the load would hide a name the chunk lost.
    FxFile read(const char* suffix, FxKind kind) {
        FxFile file;
        std::string error;
        const std::string path = exchangeFile(kOther, suffix);
        EXPECT_TRUE(QcHost::readFxFile(path, file, error)) << error;
        EXPECT_EQ(file.kind, kind) << path;
        return file;
    }
    VstIntPtr load(FxFile& file, bool program) {
        return vst().dispatch(effSetChunk, program ? 1 : 0,
                              static_cast<VstIntPtr>(file.chunk.size()), file.chunk.data());
    }
    // Sends one controller change and renders the block it lands in.
    void sendController(int controller, int value) {
        std::vector<float> in(64, 0.0f), out(64, 0.0f);
        vst().sendEvents({VstHost::makeControlChange(0, 0, controller, value)});
        ASSERT_TRUE(
            vst().processReplacing({in.data(), in.data()}, {out.data(), out.data()}, 64, 64));
    }

    QcHost::Session session;
};

TEST_F(ChunkExchange, Save) {
    fill();
    vst().dispatch(effSetProgram, 0, kSavedProgram);
    std::string error;
    const FxFile program = session.makePreset(false);
    EXPECT_EQ(program.chunk.size(), 208u);
    ASSERT_TRUE(QcHost::writeFxFile(exchangeFile(kSelf, "-program.fxp"), program, error)) << error;
    const FxFile bank = session.makePreset(true);
    // The x64 bank ends with its controller binding section, one byte per unbound parameter.
    EXPECT_EQ(bank.chunk.size(),
              kSelf == "x64" ? Product::kX64BankChunkSize : Product::kBankChunkSize);
    ASSERT_TRUE(QcHost::writeFxFile(exchangeFile(kSelf, "-bank.fxb"), bank, error)) << error;
}

TEST_F(ChunkExchange, TheOtherBuildsProgramArrivesUnchanged) {
    FxFile file = read("-program.fxp", FxKind::ProgramChunk);
    ASSERT_EQ(file.chunk.size(), 208u);
    vst().dispatch(effSetProgram, 0, 3);
    ASSERT_EQ(load(file, true), 1) << "x64 takes version 2000; x86 compares no versions";
    EXPECT_EQ(vst().dispatch(effGetProgram), 3);
    expectProgram(kSavedProgram);

    // Saved again, only the format version in the header's last four bytes may differ.
    const std::vector<unsigned char> again = session.makePreset(false).chunk;
    ASSERT_EQ(again.size(), 208u);
    EXPECT_EQ(std::memcmp(again.data(), file.chunk.data(), 160), 0) << "header names";
    EXPECT_EQ(std::memcmp(again.data() + 164, file.chunk.data() + 164, 44), 0) << "name, values";
}

TEST_F(ChunkExchange, TheOtherBuildsBankArrivesWithTheOutcomeOfItsFormat) {
    FxFile file = read("-bank.fxb", FxKind::BankChunk);
    if (kSelf == "x86") {
        ASSERT_EQ(file.chunk.size(), Product::kX64BankChunkSize);
        vst().dispatch(effSetProgram, 0, 3);
        EXPECT_EQ(load(file, false), 1) << "the binding section after the programs is ignored";
        EXPECT_EQ(vst().dispatch(effGetProgram), 3);
        expectAllPrograms();
        return;
    }
    ASSERT_EQ(file.chunk.size(), Product::kBankChunkSize);
    // First a binding of controller 20 to the cutoff, which the x86 bank cannot carry.
    void* data = nullptr;
    std::vector<unsigned char> bound(Product::kBankChunkSize);
    ASSERT_GE(vst().dispatch(effGetChunk, 0, 0, &data),
              static_cast<VstIntPtr>(Product::kBankChunkSize));
    std::memcpy(bound.data(), data, bound.size());
    bound.insert(bound.end(), {0, 1, 20, 0, 0, 0});
    ASSERT_EQ(vst().dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bound.size()), bound.data()),
              1);
    session.prepare(44100.0, 64);
    sendController(20, 127);
    ASSERT_EQ(vst().getParameter(1), 1.0f) << "the binding is in place";

    EXPECT_EQ(load(file, false), 0) << "no binding section to read";
    expectAllPrograms();
    vst().dispatch(effSetProgram, 0, 0);
    sendController(20, 127);
    EXPECT_EQ(vst().getParameter(1), valueOf(0, 1)) << "the bindings were cleared";
}

}  // namespace
