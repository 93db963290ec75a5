// The SynthToolkit build's binary in what only it does: its MIDI channel counts, indexed program
// names, MIDI in the block and its chunk buffer. The 32-bit tree runs it on the shipped DLL
// under 32-bit Wine; the others on the same code built for x86-64. What both builds promise is
// in BuildContractTest.
#include <cstring>

#include "tests/e2e/PluginFixture.h"
#include "tests/support/ProductFacts.h"

namespace {

namespace Product = TestSupport::Product;

const char* const kPath = QC_CORVANE_X86_PATH;
using CorvaneX86 = TestSupport::PluginFixture<&kPath>;

TEST_F(CorvaneX86, TakesMidiOnOneChannelAndSendsNone) {
    EXPECT_EQ(host.dispatch(effGetNumMidiInputChannels), 1);
    EXPECT_EQ(host.dispatch(effGetNumMidiOutputChannels), 0);
}

TEST_F(CorvaneX86, ProgramNamesByIndex) {
    char longName[] = "A thirty character long name!!";
    host.dispatch(effSetProgram, 0, 31);
    host.dispatch(effSetProgramName, 0, 0, longName);
    const auto indexed = host.getString(effGetProgramNameIndexed, 31, 24);
    EXPECT_TRUE(indexed.ok());
    EXPECT_EQ(indexed.result, 1);
    EXPECT_EQ(indexed.text, "A thirty character long");
    EXPECT_EQ(host.getString(effGetProgramNameIndexed, 3, 24).text, "Blank");
    const auto outside = host.getString(effGetProgramNameIndexed, Product::kPrograms, 24);
    EXPECT_EQ(outside.result, 0);
    EXPECT_EQ(outside.text, "");
}

TEST_F(CorvaneX86, MidiEventsInsideTheBlockLeaveTheAudioInPlace) {
    // No controller is mapped in this product, so events must not change a single sample; a
    // sub-block rendered at the wrong offset would.
    host.setParameter(0, 1.0f);
    host.setParameter(3, 0.4f);
    host.dispatch(effMainsChanged, 0, 1);
    VstHost::Host plain;
    ASSERT_TRUE(plain.open(*library));
    plain.setParameter(0, 1.0f);
    plain.setParameter(3, 0.4f);
    plain.dispatch(effMainsChanged, 0, 1);
    std::vector<float> left, right, outL, outR, refL, refR;
    TestSupport::makeTestSignal(left, right, 64 * 8);
    for (int block = 0; block < 8; ++block) {
        host.sendEvents(
            {VstHost::makeControlChange(10, 0, 7, 100), VstHost::makeControlChange(20, 1, 1, 3),
             VstHost::makeNoteOn(64, 0, 60, 100), VstHost::makeControlChange(500, 0, 64, 127)});
    }
    render(left, right, outL, outR, 64);
    refL.assign(left.size(), 0.0f);
    refR.assign(left.size(), 0.0f);
    ASSERT_TRUE(plain.processReplacing({left.data(), right.data()}, {refL.data(), refR.data()},
                                       static_cast<VstInt32>(left.size()), 512));
    EXPECT_EQ(std::memcmp(outL.data(), refL.data(), outL.size() * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(outR.data(), refR.data(), outR.size() * sizeof(float)), 0);
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u);
}

TEST_F(CorvaneX86, GetChunkReusesItsBuffer) {
    void* first = nullptr;
    void* second = nullptr;
    EXPECT_EQ(host.dispatch(effGetChunk, 0, 0, &first), VstIntPtr{Product::kBankChunkSize});
    EXPECT_EQ(host.dispatch(effGetChunk, 1, 0, &second), VstIntPtr{Product::kProgramChunkSize});
    EXPECT_EQ(first, second);
}

}  // namespace
