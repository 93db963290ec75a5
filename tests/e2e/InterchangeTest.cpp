// State saved by one build reaches the other: both binaries, loaded side by side in one run.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "tests/support/ProductFacts.h"
#include "tools/host/Host.h"

namespace {

namespace Product = TestSupport::Product;

using Bytes = std::vector<unsigned char>;

class Interchange : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        x64Library = std::make_unique<VstHost::PluginLibrary>();
        x86Library = std::make_unique<VstHost::PluginLibrary>();
        x64Loaded = x64Library->load(QC_CORVANE_X64_PATH);
        x86Loaded = x86Library->load(QC_CORVANE_X86_PATH);
    }
    static void TearDownTestSuite() {
        x64Library.reset();
        x86Library.reset();
    }
    void SetUp() override {
        ASSERT_TRUE(x64Loaded) << x64Library->error();
        ASSERT_TRUE(x86Loaded) << x86Library->error();
        ASSERT_TRUE(x64.open(*x64Library)) << x64.error();
        ASSERT_TRUE(x86.open(*x86Library)) << x86.error();
    }

    static Bytes chunk(VstHost::Host& host, bool program) {
        void* data = nullptr;
        const VstIntPtr size = host.dispatch(effGetChunk, program ? 1 : 0, 0, &data);
        return Bytes(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
    }
    static VstIntPtr load(VstHost::Host& host, Bytes& bytes, bool program) {
        return host.dispatch(effSetChunk, program ? 1 : 0, static_cast<VstIntPtr>(bytes.size()),
                             bytes.data());
    }
    // Distinct values and names in every program.
    static void fill(VstHost::Host& host) {
        for (VstInt32 p = 0; p < 32; ++p) {
            host.dispatch(effSetProgram, 0, p);
            for (VstInt32 i = 0; i < 5; ++i)
                host.setParameter(i, static_cast<float>((p * 5 + i) % 97) / 96.0f);
            std::string name = "Preset " + std::to_string(p);
            host.dispatch(effSetProgramName, 0, 0, name.data());
        }
        host.dispatch(effSetProgram, 0, 0);
    }
    static void expectProgramsOf(VstHost::Host& host) {
        for (VstInt32 p = 0; p < 32; ++p) {
            host.dispatch(effSetProgram, 0, p);
            EXPECT_EQ(host.getString(effGetProgramName, 0, 24).text, "Preset " + std::to_string(p));
            for (VstInt32 i = 0; i < 5; ++i)
                EXPECT_EQ(host.getParameter(i), static_cast<float>((p * 5 + i) % 97) / 96.0f)
                    << p << " " << i;
        }
    }

    static inline std::unique_ptr<VstHost::PluginLibrary> x64Library, x86Library;
    static inline bool x64Loaded = false, x86Loaded = false;
    VstHost::Host x64, x86;
};

TEST_F(Interchange, AProgramTravelsToTheOtherBuildAndBack) {
    const float values[] = {0.6f, 0.42f, 0.8f, 0.33f, 0.71f};
    for (VstInt32 i = 0; i < 5; ++i) x64.setParameter(i, values[i]);
    char name[] = "Both Ways";
    x64.dispatch(effSetProgramName, 0, 0, name);
    Bytes fromX64 = chunk(x64, true);
    ASSERT_EQ(fromX64.size(), 208u);

    x86.dispatch(effSetProgram, 0, 9);
    ASSERT_EQ(load(x86, fromX64, true), 1);
    EXPECT_EQ(x86.getString(effGetProgramName, 0, 24).text, "Both Ways");
    for (VstInt32 i = 0; i < 5; ++i) EXPECT_EQ(x86.getParameter(i), values[i]) << i;
    EXPECT_EQ(x86.getString(effGetParamDisplay, 0, 8).text, "High");

    Bytes fromX86 = chunk(x86, true);
    ASSERT_EQ(fromX86.size(), 208u);
    EXPECT_EQ(std::memcmp(fromX86.data(), fromX64.data(), 160), 0) << "same header names";
    EXPECT_EQ(std::memcmp(fromX86.data() + 164, fromX64.data() + 164, 44), 0)
        << "same name and values";

    VstHost::Host back;
    ASSERT_TRUE(back.open(*x64Library));
    ASSERT_EQ(load(back, fromX86, true), 1) << "2000 is not above 2150";
    EXPECT_EQ(back.getString(effGetProgramName, 0, 24).text, "Both Ways");
    for (VstInt32 i = 0; i < 5; ++i) EXPECT_EQ(back.getParameter(i), values[i]) << i;
}

TEST_F(Interchange, TheSynthToolkitBuildReadsABankWithBindings) {
    fill(x64);
    Bytes bank = chunk(x64, false);
    ASSERT_GT(bank.size(), Product::kBankChunkSize) << "the binding section follows the programs";
    x86.dispatch(effSetProgram, 0, 3);
    ASSERT_EQ(load(x86, bank, false), 1);
    EXPECT_EQ(x86.dispatch(effGetProgram), 3);
    EXPECT_EQ(x86.getParameter(2), static_cast<float>((3 * 5 + 2) % 97) / 96.0f);
    expectProgramsOf(x86);
}

TEST_F(Interchange, TheVstToolkitBuildAppliesABankWithoutBindingsAndReportsFailure) {
    fill(x86);
    Bytes bank = chunk(x86, false);
    ASSERT_EQ(bank.size(), Product::kBankChunkSize);
    EXPECT_EQ(load(x64, bank, false), 0) << "no binding section to read";
    expectProgramsOf(x64);
}

}  // namespace
