// The extension opcodes, resume's MIDI request, host wrappers and speaker tools.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/vst/ProbeEffect.h"

namespace {

class AudioEffectXTest : public ::testing::Test {
protected:
    RecordingHost host;
    ProbeEffect probe{RecordingHost::callback};

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) {
        return probe.dispatcher(opcode, index, value, ptr, opt);
    }
};

TEST_F(AudioEffectXTest, NeutralAnswersOfTheBase) {
    EXPECT_EQ(dispatch(effCanBeAutomated, 0), 1);
    EXPECT_EQ(dispatch(effCanBeAutomated, -3), 1);
    EXPECT_EQ(dispatch(effCanBeAutomated, 1 << 30), 1);
    EXPECT_EQ(dispatch(effGetVstVersion), 2400);
    MidiProgramName* noProgram = nullptr;
    EXPECT_EQ(dispatch(effGetCurrentMidiProgram, 0, 0, noProgram), -1);
    EXPECT_EQ(dispatch(effGetTailSize), 0);
    EXPECT_EQ(dispatch(effSetTotalSampleToProcess, 0, 4410), 4410);
    EXPECT_EQ(dispatch(effSetTotalSampleToProcess, 0, -1), -1);
    EXPECT_EQ(dispatch(effKeysRequired), 0);
    EXPECT_EQ(dispatch(effGetPlugCategory), kPlugCategUnknown);
    EXPECT_EQ(dispatch(effGetVendorVersion), 0);
    EXPECT_EQ(dispatch(effGetNumMidiInputChannels), 0);
    EXPECT_EQ(dispatch(effGetNumMidiOutputChannels), 0);
    EXPECT_EQ(dispatch(effSetBypass, 0, 1), 0);
    EXPECT_EQ(dispatch(effStartProcess), 0);
    EXPECT_EQ(dispatch(effSetProcessPrecision, 0, kVstProcessPrecision64), 0);
    char text[kVstMaxEffectNameLen] = "keep";
    EXPECT_EQ(dispatch(effGetEffectName, 0, 0, text), 0);
    EXPECT_EQ(dispatch(effGetProgramNameIndexed, 0, -1, text), 0);
    EXPECT_STREQ(text, "keep");
    // Deprecated opcodes fall through to the lower level, which knows none of them.
    for (VstInt32 opcode : {28, 30, 31, 32, 36, 37, 43, 46, 53, 54, 55, 57, 80, 1000, -1})
        EXPECT_EQ(dispatch(opcode, 1, 1, text, 1.0f), 0) << "opcode " << opcode;
}

TEST_F(AudioEffectXTest, SynthFlagMakesASynthCategory) {
    probe.isSynth(true);
    EXPECT_EQ(dispatch(effGetPlugCategory), kPlugCategSynth);
    probe.isSynth(false);
    probe.noTail(true);
    probe.wantAsyncOperation(true);
    probe.hasExternalBuffer(true);
    EXPECT_EQ(probe.getAeffect()->flags, 0x10 | 0x200 | 0x400 | 0x800);
}

TEST_F(AudioEffectXTest, SpeakerArrangementQueryNullsBothOutPointers) {
    VstSpeakerArrangement dummy{};
    VstSpeakerArrangement* input = &dummy;
    VstSpeakerArrangement* output = &dummy;
    EXPECT_EQ(dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output),
              0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
    EXPECT_EQ(dispatch(effGetSpeakerArrangement), 0);  // both absent: nothing to write
}

TEST_F(AudioEffectXTest, ResumeAsksForMidiOnceWhenTheEffectReceivesMidi) {
    dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(host.count(audioMasterWantMidi), 0);  // canDo says no

    probe.wantsMidi = true;
    dispatch(effMainsChanged, 0, 1);
    ASSERT_EQ(host.count(audioMasterWantMidi), 1);
    for (const auto& call : host.calls) {
        if (call.opcode == audioMasterWantMidi) {
            EXPECT_EQ(call.value, 1);
        }
    }
    dispatch(effMainsChanged, 0, 0);
    EXPECT_EQ(host.count(audioMasterWantMidi), 1);  // suspend asks nothing

    probe.wantsMidi = false;
    probe.isSynth(true);
    dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(host.count(audioMasterWantMidi), 2);
}

TEST_F(AudioEffectXTest, NullPointersOnBufferOpcodesAnswerZeroWithoutACall) {
    for (VstInt32 opcode :
         {effProcessEvents, effString2Parameter, effGetProgramNameIndexed, effGetInputProperties,
          effGetOutputProperties, effGetEffectName, effGetVendorString, effGetProductString,
          effCanDo, effGetParameterProperties, effGetMidiProgramName, effGetMidiProgramCategory,
          effGetMidiKeyName, effShellGetNextPlugin, effBeginLoadBank, effBeginLoadProgram}) {
        EXPECT_EQ(dispatch(opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
    }
    EXPECT_TRUE(probe.log.empty());
    VstEvents events{};
    EXPECT_EQ(dispatch(effProcessEvents, 0, 0, &events), 1);
    EXPECT_EQ(probe.log.back(), "processEvents");
}

TEST_F(AudioEffectXTest, HostWrappersPassTheirArgumentsAndConvertAnswers) {
    VstTimeInfo time{};
    host.timeInfo = &time;
    EXPECT_EQ(probe.getTimeInfo(0x2602), &time);
    EXPECT_EQ(host.calls.back().opcode, audioMasterGetTime);
    EXPECT_EQ(host.calls.back().value, 0x2602);

    host.answer = 48000;
    EXPECT_EQ(probe.updateSampleRate(), 48000.0);
    EXPECT_EQ(probe.getSampleRate(), 48000.0f);
    host.answer = -1;  // not positive: keeps what it had
    EXPECT_EQ(probe.updateSampleRate(), 48000.0);
    host.answer = 512;
    EXPECT_EQ(probe.updateBlockSize(), 512);

    host.answer = 1;
    EXPECT_TRUE(probe.sizeWindow(640, 480));
    EXPECT_EQ(host.calls.back().opcode, audioMasterSizeWindow);
    EXPECT_EQ(host.calls.back().index, 640);
    EXPECT_EQ(host.calls.back().value, 480);
    EXPECT_TRUE(probe.beginEdit(3));
    EXPECT_EQ(host.calls.back().opcode, audioMasterBeginEdit);
    EXPECT_EQ(host.calls.back().index, 3);
    EXPECT_EQ(probe.canHostDo("sizeWindow"), 1);
    const std::size_t before = host.calls.size();
    EXPECT_FALSE(probe.openFileSelector(nullptr));  // refused without asking the host
    EXPECT_FALSE(probe.getChunkFile(nullptr));
    EXPECT_EQ(host.calls.size(), before);
}

// Arrangements longer than eight speakers extend past the declared array.
VstSpeakerProperties& speaker(VstSpeakerArrangement* arrangement, int index) {
    auto* first =
        reinterpret_cast<unsigned char*>(arrangement) + offsetof(VstSpeakerArrangement, speakers);
    return *reinterpret_cast<VstSpeakerProperties*>(first + index * sizeof(VstSpeakerProperties));
}

TEST(SpeakerArrangementTools, AllocateMatchAndFree) {
    ProbeEffect probe(nullptr);
    VstSpeakerArrangement* made = nullptr;
    ASSERT_TRUE(probe.allocateArrangement(&made, 12));  // more than the declared eight
    EXPECT_EQ(made->numChannels, 12);
    EXPECT_EQ(speaker(made, 11).type, 0);
    made->type = kSpeakerArr102;
    speaker(made, 11).type = kSpeakerLfe2;
    std::memset(speaker(made, 11).name, 'n', sizeof(speaker(made, 11).name));  // unterminated

    VstSpeakerArrangement* copy = nullptr;
    ASSERT_TRUE(probe.matchArrangement(&copy, made));
    EXPECT_EQ(copy->type, kSpeakerArr102);
    EXPECT_EQ(copy->numChannels, 12);
    EXPECT_EQ(speaker(copy, 11).type, kSpeakerLfe2);
    EXPECT_EQ(std::strlen(speaker(copy, 11).name), 63u);

    EXPECT_FALSE(probe.matchArrangement(&copy, nullptr));
    EXPECT_FALSE(probe.allocateArrangement(&copy, -1));
    EXPECT_TRUE(probe.deallocateArrangement(&copy));
    EXPECT_EQ(copy, nullptr);
    EXPECT_TRUE(probe.deallocateArrangement(&made));
    EXPECT_FALSE(probe.deallocateArrangement(nullptr));
}

}  // namespace
