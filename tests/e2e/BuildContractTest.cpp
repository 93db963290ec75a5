// What both builds' binaries promise a host, run once per binary of the tree: identity, parameter
// texts, programs, chunks and what they do with bad input. One row per build says where the
// builds are allowed to differ; build-only behaviour stays in CorvaneX64Test and CorvaneX86Test.
// The VST3 module keeps the same promises in its own terms: Vst3Contract in tests/vst3.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tests/support/ProductFacts.h"
#include "tests/support/Signal.h"
#include "tools/host/Host.h"
#include "tools/host/PluginLibrary.h"

namespace {

namespace Product = TestSupport::Product;

// One parameter set to a value and the text the host then shows for it.
struct DisplayProbe {
    VstInt32 parameter;
    float value;
    const char* text;
};

struct BuildContract {
    const char* name;  // the test name's suffix
    const char* path;
    VstIntPtr vendorVersion;
    VstInt32 flags;
    int editorWidth, editorHeight;  // 0 where the binary has no editor
    const char* shortNames[Product::kParameters];
    const char* initialDisplays[Product::kParameters];
    std::vector<DisplayProbe> displays;
    bool sendsMidi;  // answers yes to the send canDos
    std::size_t bankChunkSize;
    bool storesNonFinite;  // a NaN parameter is kept as the host sent it, not refused
};

constexpr VstInt32 kEditorFlags = effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks;
constexpr VstInt32 kNoEditorFlags = effFlagsCanReplacing | effFlagsProgramChunks;

// Each tree builds the rows of the plug-ins it has.
#ifdef QC_CORVANE_X64_PATH
BuildContract x64Build(const char* name, const char* path) {
    return {name,
            path,
            2150,
            kEditorFlags,
            512,
            224,
            {"Out", "CutFrq", "Slope", "Spread", "Amp"},
            {"Off", "100.00", "-6", "0", "0.00"},
            {{1, 1.0f, "10000.0"}, {3, 0.999f, "99"}, {4, 0.0f, "-10.00"}, {2, 1.0f, "-24"}},
            true,
            Product::kX64BankChunkSize,
            true};
}
#endif

#ifdef QC_CORVANE_X86_PATH
// The SynthToolkit build: its Windows DLL has the dialog editor, its Linux twin none.
BuildContract x86Build(const char* name, const char* path) {
#if defined(_WIN32)
    const VstInt32 flags = kEditorFlags;
    const int width = 513, height = 221;
#else
    const VstInt32 flags = kNoEditorFlags;
    const int width = 0, height = 0;
#endif
    return {name,
            path,
            2000,
            flags,
            width,
            height,
            {"COut", "CCutFrq", "CSlope", "CSpread", "CAmp"},
            {"Off", "100.000", "-6", "0", "0.00"},
            {{1, 1.0f, "10000.0"}, {3, 0.995f, "100"}, {4, 0.0f, "-10.00"}},
            false,
            Product::kBankChunkSize,
            false};
}
#endif

std::vector<BuildContract> buildsInThisTree() {
    std::vector<BuildContract> builds;
#ifdef QC_CORVANE_X64_PATH
    builds.push_back(x64Build("X64", QC_CORVANE_X64_PATH));
#endif
#ifdef QC_CORVANE_X86_PATH
    builds.push_back(x86Build("X86", QC_CORVANE_X86_PATH));
#endif
    return builds;
}

class BuildContractTest : public ::testing::TestWithParam<BuildContract> {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.load(build().path)) << library.error();
        ASSERT_TRUE(host.open(library)) << host.error();
        effect = host.effect();
    }

    const BuildContract& build() const { return GetParam(); }

    std::vector<unsigned char> chunk(VstHost::Host& from, bool program) {
        void* data = nullptr;
        const VstIntPtr size = from.dispatch(effGetChunk, program ? 1 : 0, 0, &data);
        if (size <= 0 || data == nullptr) return {};
        return {static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size};
    }

    // Declared before the host, so the instance closes before the binary unloads.
    VstHost::PluginLibrary library;
    VstHost::Host host;
    AEffect* effect = nullptr;
};

TEST_P(BuildContractTest, RecordAndIdentity) {
    EXPECT_EQ(effect->magic, kEffectMagic);
    EXPECT_EQ(effect->flags, build().flags);
    EXPECT_EQ(effect->numPrograms, Product::kPrograms);
    EXPECT_EQ(effect->numParams, Product::kParameters);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->uniqueID, Product::kUniqueId);
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(host.getString(effGetEffectName, 0, 32).text, Product::kEffectName);
    EXPECT_EQ(host.getString(effGetVendorString, 0, 64).text, Product::kVendor);
    EXPECT_EQ(host.getString(effGetProductString, 0, 64).text, Product::kProductName);
    EXPECT_EQ(host.dispatch(effGetVendorVersion), build().vendorVersion);
    EXPECT_EQ(host.dispatch(effGetPlugCategory), kPlugCategEffect);
    for (const char* yes : Product::kReceiveCanDos)
        EXPECT_EQ(host.dispatch(effCanDo, 0, 0, const_cast<char*>(yes)), 1) << yes;
    for (const char* send : Product::kSendCanDos)
        EXPECT_EQ(host.dispatch(effCanDo, 0, 0, const_cast<char*>(send)),
                  build().sendsMidi ? 1 : -1)
            << send;
    EXPECT_EQ(host.dispatch(effCanDo, 0, 0, const_cast<char*>(Product::kRefusedCanDo)), -1);
    if (build().editorWidth == 0) return;
    // The panel's size is known before the editor first opens.
    ERect* rect = nullptr;
    ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->right, build().editorWidth);
    EXPECT_EQ(rect->bottom, build().editorHeight);
}

TEST_P(BuildContractTest, ResumeAsksForMidiOnce) {
    host.clearCalls();
    host.dispatch(effMainsChanged, 0, 1);
    ASSERT_EQ(host.countCalls(audioMasterWantMidi), 1u);
    for (const auto& call : host.calls()) {
        if (call.opcode == audioMasterWantMidi) {
            EXPECT_EQ(call.value, 1);
        }
    }
}

TEST_P(BuildContractTest, ParameterTextsAsTheHostShowsThem) {
    const char* labels[] = {"", "Hz", "dB", "", "dB"};
    for (VstInt32 i = 0; i < Product::kParameters; ++i) {
        const auto name = host.getString(effGetParamName, i, 8);
        EXPECT_TRUE(name.ok());
        EXPECT_EQ(name.text, build().shortNames[i]);
        EXPECT_EQ(host.getString(effGetParamLabel, i, 8).text, labels[i]);
        EXPECT_EQ(host.getString(effGetParamDisplay, i, 8).text, build().initialDisplays[i]);
    }
    for (const DisplayProbe& probe : build().displays) {
        host.setParameter(probe.parameter, probe.value);
        EXPECT_EQ(host.getString(effGetParamDisplay, probe.parameter, 8).text, probe.text)
            << probe.parameter << " at " << probe.value;
        // The ends of the range read back exactly, whatever steps the parameter has.
        if (probe.value == 0.0f || probe.value == 1.0f) {
            EXPECT_EQ(host.getParameter(probe.parameter), probe.value) << probe.parameter;
        }
    }
    host.setParameter(4, 0.0f);  // unchanged: nobody is told
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u) << "host changes are not echoed";
}

// Hosts with room for it show the long name; the short one comes along.
TEST_P(BuildContractTest, ParameterPropertiesGiveTheLongNames) {
    const char* longNames[] = {"Output", "Cutoff Freq.", "Filter Slope", "Stereo Spread",
                               "Bass Amp"};
    for (VstInt32 i = 0; i < Product::kParameters; ++i) {
        VstParameterProperties properties;
        std::memset(&properties, 'x', sizeof(properties));
        ASSERT_EQ(host.dispatch(effGetParameterProperties, i, 0, &properties), 1) << i;
        EXPECT_STREQ(properties.label, longNames[i]);
        EXPECT_EQ(std::string(properties.shortLabel), host.getString(effGetParamName, i, 8).text);
        EXPECT_EQ(properties.flags, 0);
    }
    VstParameterProperties unused{};
    EXPECT_EQ(host.dispatch(effGetParameterProperties, Product::kParameters, 0, &unused), 0);
    EXPECT_EQ(host.dispatch(effGetParameterProperties, -1, 0, &unused), 0);
}

TEST_P(BuildContractTest, ProgramsAndTheirNames) {
    for (VstInt32 p : {0, 17, 31}) {
        host.dispatch(effSetProgram, 0, p);
        EXPECT_EQ(host.dispatch(effGetProgram), p);
        EXPECT_EQ(host.getString(effGetProgramName, 0, 24).text, "Blank");
    }
    char longName[] = "A thirty character long name!!";
    host.dispatch(effSetProgramName, 0, 0, longName);
    const auto name = host.getString(effGetProgramName, 0, 24);
    EXPECT_TRUE(name.ok());
    EXPECT_EQ(name.text, "A thirty character long");
    // Where the pointer-sized value has more than 32 bits, an index whose low 32 bits are 0
    // must not pass for program 0.
    const VstIntPtr huge = sizeof(VstIntPtr) > 4 ? static_cast<VstIntPtr>(std::int64_t{1} << 40)
                                                 : std::numeric_limits<VstIntPtr>::min();
    for (VstIntPtr bad : {VstIntPtr{-1}, VstIntPtr{Product::kPrograms}, huge}) {
        host.dispatch(effSetProgram, 0, bad);
        EXPECT_EQ(host.dispatch(effGetProgram), 31) << bad;
    }
}

TEST_P(BuildContractTest, BadIndicesAndPointersAreAnsweredNeutrally) {
    for (VstInt32 bad : {-1, 5, 77, std::numeric_limits<VstInt32>::min()}) {
        host.setParameter(bad, 0.5f);
        EXPECT_EQ(host.getParameter(bad), 0.0f);
        for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
            const auto text = host.getString(opcode, bad, 8);
            EXPECT_TRUE(text.ok());
            EXPECT_EQ(text.text, "");
        }
    }
    for (VstInt32 opcode :
         {effGetProgramName, effSetProgramName, effGetParamName, effGetChunk, effSetChunk,
          effGetEffectName, effCanDo, effProcessEvents, effGetProgramNameIndexed})
        EXPECT_EQ(host.dispatch(opcode, 0, 100, nullptr), 0) << opcode;
}

TEST_P(BuildContractTest, ChunksTravelBetweenInstances) {
    host.setParameter(0, 0.6f);
    host.setParameter(1, 0.42f);
    char name[] = "Tight Low End";
    host.dispatch(effSetProgramName, 0, 0, name);
    std::vector<unsigned char> program = chunk(host, true);
    ASSERT_EQ(program.size(), Product::kProgramChunkSize);
    std::vector<unsigned char> bank = chunk(host, false);
    ASSERT_EQ(bank.size(), build().bankChunkSize);
    const auto programSize = static_cast<VstIntPtr>(program.size());
    const auto bankSize = static_cast<VstIntPtr>(bank.size());

    VstHost::Host other;
    ASSERT_TRUE(other.open(library));
    other.dispatch(effSetProgram, 0, 4);
    EXPECT_EQ(other.dispatch(effSetChunk, 1, programSize, program.data()), 1);
    EXPECT_EQ(other.getParameter(1), 0.42f);
    EXPECT_EQ(other.getString(effGetProgramName, 0, 24).text, "Tight Low End");
    EXPECT_EQ(other.getString(effGetParamDisplay, 0, 8).text, "High");
    EXPECT_EQ(other.dispatch(effGetProgram), 4);

    VstHost::Host third;
    ASSERT_TRUE(third.open(library));
    EXPECT_EQ(third.dispatch(effSetChunk, 0, bankSize, bank.data()), 1);
    EXPECT_EQ(third.getParameter(0), 0.6f);
    EXPECT_EQ(third.dispatch(effSetChunk, 0, -1, bank.data()), 0);
    // One character of the effect's name or of the vendor makes a chunk another product's.
    for (std::size_t at : {5, 40}) {
        std::vector<unsigned char> foreign = bank;
        foreign[at] = '#';
        EXPECT_EQ(third.dispatch(effSetChunk, 0, bankSize, foreign.data()), 0) << at;
        foreign = program;
        foreign[at] = '#';
        EXPECT_EQ(third.dispatch(effSetChunk, 1, programSize, foreign.data()), 0) << at;
    }
    EXPECT_EQ(third.getParameter(0), 0.6f);
    EXPECT_EQ(third.getString(effGetProgramName, 0, 24).text, "Tight Low End");
}

TEST_P(BuildContractTest, HostileValuesNeverMakeNaNAudio) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float rate : {0.0f, -48000.0f, nan, inf})
        host.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    host.setParameter(0, inf);
    host.setParameter(1, nan);
    host.setParameter(2, -inf);
    host.setParameter(3, 12.0f);
    host.setParameter(4, nan);
    if (build().storesNonFinite) {
        EXPECT_TRUE(std::isnan(host.getParameter(1))) << "the host reads back what it stored";
    } else {
        EXPECT_EQ(host.getParameter(1), 0.1f) << "a NaN is refused";
        EXPECT_EQ(host.getParameter(3), 1.0f) << "out of range is kept inside 0..1";
    }
    EXPECT_EQ(host.getString(effGetParamDisplay, 0, 8).text, "Both");

    std::vector<float> left, right;
    TestSupport::makeTestSignal(left, right, 20000);
    std::vector<float> outL(left.size()), outR(right.size());
    host.sendEvents({VstHost::makeMidiEvent(5, 0xB0, 0xFF, 0xFF),
                     VstHost::makeMidiEvent(-20, 0x90, 60, 100),
                     VstHost::makeMidiEvent(1 << 30, 0xB0, 7, 7)});
    // Blocks of a host's odd size, and the whole signal as one block.
    for (VstInt32 block : {333, 20000}) {
        ASSERT_TRUE(host.processReplacing({left.data(), right.data()}, {outL.data(), outR.data()},
                                          static_cast<VstInt32>(left.size()), block));
        for (std::size_t i = 0; i < outL.size(); ++i)
            ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i])) << block << ": " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, BuildContractTest, ::testing::ValuesIn(buildsInThisTree()),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
