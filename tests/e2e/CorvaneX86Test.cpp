// The SynthToolkit build's binary as a host sees it: identity, parameter texts, programs, MIDI in
// the block, chunks and what it does with bad input. The 32-bit tree runs it on the shipped DLL
// under 32-bit Wine; the others on the same code built for x86-64.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "tests/e2e/PluginFixture.h"

namespace {

const char* const kPath = QC_CORVANE_X86_PATH;
using CorvaneX86 = TestSupport::PluginFixture<&kPath>;

TEST_F(CorvaneX86, RecordAndIdentity) {
    EXPECT_EQ(effect->magic, kEffectMagic);
#if defined(_WIN32)
    EXPECT_EQ(effect->flags, 0x31);  // editor, replacing, program chunks
    ERect* rect = nullptr;
    ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right - rect->left, 513);
    EXPECT_EQ(rect->bottom - rect->top, 221);
#else
    EXPECT_EQ(effect->flags, 0x30);  // the Linux build has no editor
#endif
    EXPECT_EQ(effect->numPrograms, 32);
    EXPECT_EQ(effect->numParams, 5);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->uniqueID, 0x00514356);
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(host.getString(effGetEffectName, 0, 32).text, "Quellin Corvane");
    EXPECT_EQ(host.getString(effGetVendorString, 0, 64).text, "Quellin Sound Design");
    EXPECT_EQ(host.getString(effGetProductString, 0, 64).text, "Quellin Corvane");
    EXPECT_EQ(host.dispatch(effGetVendorVersion), 2000);
    EXPECT_EQ(host.dispatch(effGetPlugCategory), kPlugCategEffect);
    EXPECT_EQ(host.dispatch(effGetNumMidiInputChannels), 1);
    EXPECT_EQ(host.dispatch(effGetNumMidiOutputChannels), 0);
    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo"})
        EXPECT_EQ(host.dispatch(effCanDo, 0, 0, const_cast<char*>(yes)), 1) << yes;
    for (const char* no : {"sendVstEvents", "sendVstMidiEvent", "bypass"})
        EXPECT_EQ(host.dispatch(effCanDo, 0, 0, const_cast<char*>(no)), -1) << no;
}

TEST_F(CorvaneX86, AsksForMidiOnResume) {
    host.clearCalls();
    host.dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(host.countCalls(audioMasterWantMidi), 1u);
}

TEST_F(CorvaneX86, ParameterTextsAsTheHostShowsThem) {
    const char* names[] = {"COut", "CCutFrq", "CSlope", "CSpread", "CAmp"};
    const char* labels[] = {"", "Hz", "dB", "", "dB"};
    const char* displays[] = {"Off", "100.000", "-6", "0", "0.00"};
    for (VstInt32 i = 0; i < 5; ++i) {
        const auto name = host.getString(effGetParamName, i, 8);
        EXPECT_TRUE(name.ok());
        EXPECT_EQ(name.text, names[i]);
        EXPECT_EQ(host.getString(effGetParamLabel, i, 8).text, labels[i]);
        EXPECT_EQ(host.getString(effGetParamDisplay, i, 8).text, displays[i]);
    }
    host.setParameter(1, 1.0f);
    EXPECT_EQ(host.getString(effGetParamDisplay, 1, 8).text, "10000.0");
    host.setParameter(3, 0.995f);
    EXPECT_EQ(host.getString(effGetParamDisplay, 3, 8).text, "100");
    host.setParameter(4, 0.0f);
    EXPECT_EQ(host.getString(effGetParamDisplay, 4, 8).text, "-10.00");
    host.setParameter(4, 0.0f);  // unchanged: nobody is told
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u) << "host changes are not echoed";
}

// Hosts with room for it show the long name; the short one comes along.
TEST_F(CorvaneX86, ParameterPropertiesGiveTheLongNames) {
    const char* longNames[] = {"Output", "Cutoff Freq.", "Filter Slope", "Stereo Spread",
                               "Bass Amp"};
    for (VstInt32 i = 0; i < 5; ++i) {
        VstParameterProperties properties;
        std::memset(&properties, 'x', sizeof(properties));
        ASSERT_EQ(host.dispatch(effGetParameterProperties, i, 0, &properties), 1) << i;
        EXPECT_STREQ(properties.label, longNames[i]);
        EXPECT_EQ(std::string(properties.shortLabel), host.getString(effGetParamName, i, 8).text);
        EXPECT_EQ(properties.flags, 0);
    }
    VstParameterProperties unused{};
    EXPECT_EQ(host.dispatch(effGetParameterProperties, 5, 0, &unused), 0);
    EXPECT_EQ(host.dispatch(effGetParameterProperties, -1, 0, &unused), 0);
}

TEST_F(CorvaneX86, ProgramsAndTheirNames) {
    for (VstInt32 p : {0, 17, 31}) {
        host.dispatch(effSetProgram, 0, p);
        EXPECT_EQ(host.dispatch(effGetProgram), p);
        EXPECT_EQ(host.getString(effGetProgramName, 0, 24).text, "Blank");
    }
    char longName[] = "A thirty character long name!!";
    host.dispatch(effSetProgramName, 0, 0, longName);
    EXPECT_EQ(host.getString(effGetProgramName, 0, 24).text, "A thirty character long");
    const auto indexed = host.getString(effGetProgramNameIndexed, 31, 24);
    EXPECT_TRUE(indexed.ok());
    EXPECT_EQ(indexed.result, 1);
    EXPECT_EQ(indexed.text, "A thirty character long");
    EXPECT_EQ(host.getString(effGetProgramNameIndexed, 3, 24).text, "Blank");
    const auto outside = host.getString(effGetProgramNameIndexed, 32, 24);
    EXPECT_EQ(outside.result, 0);
    EXPECT_EQ(outside.text, "");
    // Where the pointer-sized value has more than 32 bits, an index whose low 32 bits are 0
    // must not pass for program 0.
    const VstIntPtr huge = sizeof(VstIntPtr) > 4 ? static_cast<VstIntPtr>(std::int64_t{1} << 40)
                                                 : std::numeric_limits<VstIntPtr>::min();
    for (VstIntPtr bad : {VstIntPtr{-1}, VstIntPtr{32}, huge}) {
        host.dispatch(effSetProgram, 0, bad);
        EXPECT_EQ(host.dispatch(effGetProgram), 31);
    }
}

TEST_F(CorvaneX86, BadIndicesAndPointersAreAnsweredNeutrally) {
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
    EXPECT_EQ(host.dispatch(effGetChunk, 0, 0, &first), 1572);
    EXPECT_EQ(host.dispatch(effGetChunk, 1, 0, &second), 208);
    EXPECT_EQ(first, second);
}

TEST_F(CorvaneX86, ChunksTravelBetweenInstances) {
    host.setParameter(0, 0.6f);
    host.setParameter(1, 0.42f);
    char name[] = "Tight Low End";
    host.dispatch(effSetProgramName, 0, 0, name);
    void* data = nullptr;
    const VstIntPtr programSize = host.dispatch(effGetChunk, 1, 0, &data);
    ASSERT_EQ(programSize, 208);
    std::vector<unsigned char> program(static_cast<unsigned char*>(data),
                                       static_cast<unsigned char*>(data) + programSize);
    const VstIntPtr bankSize = host.dispatch(effGetChunk, 0, 0, &data);
    std::vector<unsigned char> bank(static_cast<unsigned char*>(data),
                                    static_cast<unsigned char*>(data) + bankSize);

    VstHost::Host other;
    ASSERT_TRUE(other.open(*library));
    other.dispatch(effSetProgram, 0, 4);
    EXPECT_EQ(other.dispatch(effSetChunk, 1, programSize, program.data()), 1);
    EXPECT_EQ(other.getParameter(1), 0.42f);
    EXPECT_EQ(other.getString(effGetProgramName, 0, 24).text, "Tight Low End");
    EXPECT_EQ(other.getString(effGetParamDisplay, 0, 8).text, "High");
    EXPECT_EQ(other.dispatch(effGetProgram), 4);

    VstHost::Host third;
    ASSERT_TRUE(third.open(*library));
    EXPECT_EQ(third.dispatch(effSetChunk, 0, bankSize, bank.data()), 1);
    EXPECT_EQ(third.getParameter(0), 0.6f);
    EXPECT_EQ(third.dispatch(effSetChunk, 0, -1, bank.data()), 0);
    bank[40] = '#';  // one character of the vendor
    EXPECT_EQ(third.dispatch(effSetChunk, 0, bankSize, bank.data()), 0);
    program[5] = '#';
    EXPECT_EQ(third.dispatch(effSetChunk, 1, programSize, program.data()), 0);
    EXPECT_EQ(third.getParameter(0), 0.6f);
    EXPECT_EQ(third.getString(effGetProgramName, 0, 24).text, "Tight Low End");
}

TEST_F(CorvaneX86, HostileValuesNeverMakeNaNAudio) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    host.dispatch(effSetSampleRate, 0, 0, nullptr, 0.0f);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, -48000.0f);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, nan);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, inf);
    host.setParameter(0, inf);
    host.setParameter(1, nan);
    host.setParameter(2, -inf);
    host.setParameter(3, 12.0f);
    host.setParameter(4, nan);
    EXPECT_EQ(host.getParameter(1), 0.1f) << "a NaN is refused";
    EXPECT_EQ(host.getParameter(3), 1.0f) << "out of range is kept inside 0..1";
    EXPECT_EQ(host.getString(effGetParamDisplay, 0, 8).text, "Both");

    std::vector<float> left, right, outL, outR;
    TestSupport::makeTestSignal(left, right, 20000);
    host.sendEvents({VstHost::makeMidiEvent(5, 0xB0, 0xFF, 0xFF),
                     VstHost::makeMidiEvent(-20, 0x90, 60, 100),
                     VstHost::makeMidiEvent(1 << 30, 0xB0, 7, 7)});
    render(left, right, outL, outR, 20000);
    for (std::size_t i = 0; i < outL.size(); ++i)
        ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i])) << i;
}

}  // namespace
