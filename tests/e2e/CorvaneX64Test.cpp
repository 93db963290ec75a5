// The x64 build's binary as a host sees it: identity, parameters, programs, chunks, MIDI learn
// bindings, and what it does with bad input.
#include <cmath>
#include <cstring>
#include <limits>

#include "tests/e2e/PluginFixture.h"

namespace {

const char* const kPath = QC_CORVANE_X64_PATH;
using CorvaneX64 = TestSupport::PluginFixture<&kPath>;

TEST_F(CorvaneX64, RecordAndIdentity) {
    EXPECT_EQ(effect->magic, kEffectMagic);
    EXPECT_EQ(effect->flags, 0x31);  // editor, replacing, program chunks
    EXPECT_EQ(effect->numPrograms, 32);
    EXPECT_EQ(effect->numParams, 5);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->uniqueID, 0x00514356);
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(host.getString(effGetEffectName, 0, 32).text, "Quellin Corvane");
    EXPECT_EQ(host.getString(effGetVendorString, 0, 64).text, "Quellin Sound Design");
    EXPECT_EQ(host.getString(effGetProductString, 0, 64).text, "Quellin Corvane");
    EXPECT_EQ(host.dispatch(effGetVendorVersion), 2150);
    EXPECT_EQ(host.dispatch(effGetPlugCategory), kPlugCategEffect);
    EXPECT_EQ(host.dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(host.dispatch(effIdentify), 0x4E764566);
    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo",
                            "sendVstEvents", "sendVstMidiEvent"})
        EXPECT_EQ(host.dispatch(effCanDo, 0, 0, const_cast<char*>(yes)), 1) << yes;
    EXPECT_EQ(host.dispatch(effCanDo, 0, 0, const_cast<char*>("bypass")), -1);
    ERect* rect = nullptr;
    // The panel's size is known before the editor first opens.
    ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 224);
    EXPECT_EQ(rect->right, 512);
}

TEST_F(CorvaneX64, ResumeAsksForMidiOnce) {
    host.clearCalls();
    host.dispatch(effMainsChanged, 0, 1);
    ASSERT_EQ(host.countCalls(audioMasterWantMidi), 1u);
    for (const auto& call : host.calls()) {
        if (call.opcode == audioMasterWantMidi) {
            EXPECT_EQ(call.value, 1);
        }
    }
}

TEST_F(CorvaneX64, ParameterTextsAsTheHostShowsThem) {
    const char* names[] = {"Out", "CutFrq", "Slope", "Spread", "Amp"};
    const char* labels[] = {"", "Hz", "dB", "", "dB"};
    const char* displays[] = {"Off", "100.00", "-6", "0", "0.00"};
    for (VstInt32 i = 0; i < 5; ++i) {
        const auto name = host.getString(effGetParamName, i, 8);
        EXPECT_TRUE(name.ok());
        EXPECT_EQ(name.text, names[i]);
        EXPECT_EQ(host.getString(effGetParamLabel, i, 8).text, labels[i]);
        EXPECT_EQ(host.getString(effGetParamDisplay, i, 8).text, displays[i]);
    }
    host.setParameter(1, 1.0f);
    EXPECT_EQ(host.getString(effGetParamDisplay, 1, 8).text, "10000.0");
    host.setParameter(3, 0.999f);
    EXPECT_EQ(host.getString(effGetParamDisplay, 3, 8).text, "99");
    host.setParameter(4, 0.0f);
    EXPECT_EQ(host.getString(effGetParamDisplay, 4, 8).text, "-10.00");
    host.setParameter(2, 1.0f);
    EXPECT_EQ(host.getString(effGetParamDisplay, 2, 8).text, "-24");
    EXPECT_EQ(host.getParameter(2), 1.0f);
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u) << "host changes are not echoed";
}

// Hosts with room for it show the long name; the short one comes along.
TEST_F(CorvaneX64, ParameterPropertiesGiveTheLongNames) {
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

TEST_F(CorvaneX64, ProgramsAndTheirNames) {
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
    for (VstIntPtr bad : {VstIntPtr{-1}, VstIntPtr{32}, VstIntPtr{1} << 40}) {
        host.dispatch(effSetProgram, 0, bad);
        EXPECT_EQ(host.dispatch(effGetProgram), 31);
    }
}

TEST_F(CorvaneX64, BadIndicesAndPointersAreAnsweredNeutrally) {
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

TEST_F(CorvaneX64, ChunksTravelBetweenInstances) {
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
    ASSERT_EQ(bankSize, 1577);
    std::vector<unsigned char> bank(static_cast<unsigned char*>(data),
                                    static_cast<unsigned char*>(data) + bankSize);

    VstHost::Host other;
    ASSERT_TRUE(other.open(*library));
    other.dispatch(effSetProgram, 0, 4);
    EXPECT_EQ(other.dispatch(effSetChunk, 1, programSize, program.data()), 1);
    EXPECT_EQ(other.getParameter(1), 0.42f);
    EXPECT_EQ(other.getString(effGetProgramName, 0, 24).text, "Tight Low End");
    EXPECT_EQ(other.getString(effGetParamDisplay, 0, 8).text, "High");

    VstHost::Host third;
    ASSERT_TRUE(third.open(*library));
    EXPECT_EQ(third.dispatch(effSetChunk, 0, bankSize, bank.data()), 1);
    EXPECT_EQ(third.getParameter(0), 0.6f);
    EXPECT_EQ(third.dispatch(effSetChunk, 0, -1, bank.data()), 0);
    bank[5] = '#';
    EXPECT_EQ(third.dispatch(effSetChunk, 0, bankSize, bank.data()), 0);
    EXPECT_EQ(third.getParameter(0), 0.6f);
}

TEST_F(CorvaneX64, ALearnedControllerChangesTheParameterAtItsSampleOffset) {
    // A bank whose binding section ties controller 20 to the cutoff.
    void* data = nullptr;
    const VstIntPtr size = host.dispatch(effGetChunk, 0, 0, &data);
    std::vector<unsigned char> bank(static_cast<unsigned char*>(data),
                                    static_cast<unsigned char*>(data) + size);
    bank.resize(1572);
    const unsigned char bindings[] = {0, 1, 20, 0, 0, 0};
    bank.insert(bank.end(), std::begin(bindings), std::end(bindings));
    ASSERT_EQ(host.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bank.size()), bank.data()), 1);
    host.setParameter(0, 0.3f);  // "Low"

    std::vector<float> left, right, outL, outR;
    TestSupport::makeTestSignal(left, right, 512);
    host.clearCalls();
    host.sendEvents({VstHost::makeControlChange(100, 3, 20, 127)});
    render(left, right, outL, outR, 512);
    EXPECT_EQ(host.getParameter(1), 1.0f);
    const auto automations = host.automations();
    ASSERT_EQ(automations.size(), 1u);
    EXPECT_EQ(automations[0].index, 1);
    EXPECT_EQ(automations[0].value, 1.0f);

    // The same change made by the host between two blocks split at frame 100.
    VstHost::Host reference;
    ASSERT_TRUE(reference.open(*library));
    reference.setParameter(0, 0.3f);
    std::vector<float> refL(512), refR(512);
    ASSERT_TRUE(reference.processReplacing({left.data(), right.data()}, {refL.data(), refR.data()},
                                           100, 100));
    reference.setParameter(1, 1.0f);
    ASSERT_TRUE(reference.processReplacing({left.data() + 100, right.data() + 100},
                                           {refL.data() + 100, refR.data() + 100}, 412, 412));
    EXPECT_EQ(std::memcmp(outL.data(), refL.data(), 512 * 4), 0);
    EXPECT_EQ(std::memcmp(outR.data(), refR.data(), 512 * 4), 0);
}

TEST_F(CorvaneX64, HostileValuesNeverMakeNaNAudio) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    host.dispatch(effSetSampleRate, 0, 0, nullptr, 0.0f);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, -48000.0f);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, nan);
    host.setParameter(0, inf);
    host.setParameter(1, nan);
    host.setParameter(2, -inf);
    host.setParameter(3, 12.0f);
    host.setParameter(4, nan);
    EXPECT_TRUE(std::isnan(host.getParameter(1))) << "the host reads back what it stored";
    EXPECT_EQ(host.getString(effGetParamDisplay, 0, 8).text, "Both");

    std::vector<float> left, right, outL, outR;
    TestSupport::makeTestSignal(left, right, 2048);
    host.sendEvents({VstHost::makeMidiEvent(5, 0xB0, 0xFF, 0xFF),
                     VstHost::makeMidiEvent(-20, 0x90, 60, 100),
                     VstHost::makeMidiEvent(1 << 30, 0xB0, 7, 7)});
    render(left, right, outL, outR, 333);
    for (std::size_t i = 0; i < outL.size(); ++i)
        ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i])) << i;
}

}  // namespace
