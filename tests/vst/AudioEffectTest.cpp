// The AEffect record, its thunks and the opcodes the AudioEffect level answers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tests/vst/ProbeEffect.h"

namespace {

VstIntPtr dispatch(AEffect* e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
    return e->dispatcher(e, opcode, index, value, ptr, opt);
}

class AudioEffectTest : public ::testing::Test {
protected:
    RecordingHost host;
    ProbeEffect* probe = new ProbeEffect(RecordingHost::callback);
    AEffect* effect = probe->getAeffect();

    void TearDown() override {
        if (effect != nullptr) dispatch(effect, effClose);
    }
};

TEST_F(AudioEffectTest, RecordStartsWithTheBaseDefaults) {
    EXPECT_EQ(effect->magic, 0x56737450);
    EXPECT_EQ(effect->numPrograms, 4);
    EXPECT_EQ(effect->numParams, 2);
    EXPECT_EQ(effect->numInputs, 1);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->flags, effFlagsCanReplacing);
    EXPECT_EQ(effect->ioRatio, 1.0f);
    EXPECT_EQ(effect->object, static_cast<void*>(probe));
    EXPECT_EQ(effect->uniqueID, 0x4E6F4566);
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(effect->resvd1, 0);
    EXPECT_EQ(effect->resvd2, 0);
    EXPECT_EQ(effect->user, nullptr);
    EXPECT_EQ(effect->initialDelay, 0);
    for (char byte : effect->future) EXPECT_EQ(byte, 0);
    EXPECT_NE(effect->process, nullptr);
    EXPECT_NE(effect->processReplacing, nullptr);
    EXPECT_NE(effect->processDoubleReplacing, nullptr);
    EXPECT_EQ(probe->getSampleRate(), 44100.0f);
    EXPECT_EQ(probe->getBlockSize(), 1024);
}

TEST_F(AudioEffectTest, FlagSettersTouchOnlyTheirBit) {
    probe->programsAreChunks(true);
    probe->canDoubleReplacing(true);
    probe->hasVu(true);
    probe->hasClip(true);
    probe->canMono(true);
    EXPECT_EQ(effect->flags, 0x10 | 0x20 | 0x1000 | 0x4 | 0x2 | 0x8);
    probe->canProcessReplacing(false);
    probe->canDoubleReplacing(false);
    EXPECT_EQ(effect->flags, 0x20 | 0x4 | 0x2 | 0x8);
    probe->setUniqueID(0x00514356);
    probe->setNumInputs(2);
    probe->setInitialDelay(64);
    probe->setRealtimeQualities(3);
    probe->setOfflineQualities(4);
    EXPECT_EQ(effect->uniqueID, 0x00514356);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->initialDelay, 64);
    EXPECT_EQ(effect->realQualities, 3);
    EXPECT_EQ(effect->offQualities, 4);
}

TEST_F(AudioEffectTest, IdentifyAnswersTheSameWhateverTheArguments) {
    EXPECT_EQ(dispatch(effect, effIdentify), 0x4E764566);
    int scratch = 0;
    EXPECT_EQ(dispatch(effect, effIdentify, -7, 123456, &scratch, 3.5f), 0x4E764566);
}

TEST_F(AudioEffectTest, SetProgramChecksOnlyTheUpperBound) {
    dispatch(effect, effSetProgram, 0, 3);
    EXPECT_EQ(dispatch(effect, effGetProgram), 3);
    dispatch(effect, effSetProgram, 0, 4);  // numPrograms: ignored
    dispatch(effect, effSetProgram, 0, 1000);
    EXPECT_EQ(dispatch(effect, effGetProgram), 3);
    dispatch(effect, effSetProgram, 0, -1);  // passed on; the effect must guard it
    EXPECT_EQ(probe->log.back(), "setProgram -1");
}

TEST_F(AudioEffectTest, MainsChangedSuspendsOnZeroAndResumesOtherwise) {
    dispatch(effect, effMainsChanged, 0, 0);
    dispatch(effect, effMainsChanged, 0, 1);
    dispatch(effect, effMainsChanged, 0, -5);
    EXPECT_EQ(probe->log, (std::vector<std::string>{"suspend", "resume", "resume"}));
}

TEST_F(AudioEffectTest, SampleRateAndBlockSizeAreStored) {
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, 96000.0f);
    dispatch(effect, effSetBlockSize, 0, 256);
    EXPECT_EQ(probe->getSampleRate(), 96000.0f);
    EXPECT_EQ(probe->getBlockSize(), 256);
}

TEST_F(AudioEffectTest, EditorOpcodesWithoutAnEditorAnswerZero) {
    ERect* rect = reinterpret_cast<ERect*>(0x1);
    EXPECT_EQ(dispatch(effect, effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(dispatch(effect, effEditOpen, 0, 0, &rect), 0);
    EXPECT_EQ(dispatch(effect, effEditClose), 0);
    EXPECT_EQ(dispatch(effect, effEditIdle), 0);
    EXPECT_EQ(dispatch(effect, effEditKeyDown, 'a', VKEY_SPACE), 0);
    EXPECT_EQ(dispatch(effect, effEditKeyUp, 'a', VKEY_SPACE), 0);
    EXPECT_EQ(dispatch(effect, effSetEditKnobMode, 0, 2), 0);
    EXPECT_EQ(effect->flags & effFlagsHasEditor, 0);
}

TEST_F(AudioEffectTest, EditorOpcodesReachTheEditorItOwns) {
    bool editorDestroyed = false;
    auto* editor = new ProbeEditor(probe, &editorDestroyed);
    probe->setEditor(editor);
    EXPECT_EQ(effect->flags & effFlagsHasEditor, effFlagsHasEditor);

    ERect* rect = nullptr;
    EXPECT_EQ(dispatch(effect, effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect, &editor->rectangle);
    int parent = 0;
    EXPECT_EQ(dispatch(effect, effEditOpen, 0, 0, &parent), 1);
    EXPECT_TRUE(editor->isOpen());
    dispatch(effect, effEditIdle);
    EXPECT_EQ(editor->idles, 1);
    EXPECT_EQ(dispatch(effect, effEditKeyDown, 'q', VKEY_ESCAPE, nullptr, 9.7f), 1);
    EXPECT_EQ(editor->lastKey.character, 'q');
    EXPECT_EQ(editor->lastKey.virt, VKEY_ESCAPE);
    EXPECT_EQ(editor->lastKey.modifier, 9);
    // Modifier bits beyond a byte, negative or not a number carry none.
    for (float bad : {-1.7e38f, -1.0f, 256.0f, 3e9f, std::nanf("")}) {
        dispatch(effect, effEditKeyDown, 'q', VKEY_ESCAPE, nullptr, bad);
        EXPECT_EQ(editor->lastKey.modifier, 0) << bad;
    }
    EXPECT_EQ(dispatch(effect, effEditKeyUp, 'q', VKEY_ESCAPE), 0);  // editor base
    dispatch(effect, effEditClose);
    EXPECT_FALSE(editor->isOpen());

    dispatch(effect, effClose);
    effect = nullptr;
    EXPECT_TRUE(editorDestroyed);
}

TEST_F(AudioEffectTest, CloseDeletesTheInstanceAndAnswersOne) {
    bool destroyed = false;
    auto* other = new ProbeEffect(RecordingHost::callback, &destroyed);
    AEffect* record = other->getAeffect();
    EXPECT_EQ(dispatch(record, effClose), 1);
    EXPECT_TRUE(destroyed);
}

TEST_F(AudioEffectTest, NullPointersOnBufferOpcodesAnswerZeroWithoutACall) {
    for (VstInt32 opcode : {effSetProgramName, effGetProgramName, effGetParamLabel,
                            effGetParamDisplay, effGetParamName, effGetChunk, effSetChunk}) {
        EXPECT_EQ(dispatch(effect, opcode, 0, 16, nullptr), 0) << "opcode " << opcode;
    }
    EXPECT_TRUE(probe->log.empty());
}

TEST_F(AudioEffectTest, ChunkOpcodesPassTheBankOrProgramChoice) {
    void* data = nullptr;
    dispatch(effect, effGetChunk, 0, 0, &data);
    dispatch(effect, effGetChunk, 1, 0, &data);
    EXPECT_EQ(probe->log, (std::vector<std::string>{"getChunk bank", "getChunk program"}));
    char bytes[4] = {};
    EXPECT_EQ(dispatch(effect, effSetChunk, 1, 4, bytes), 0);  // base refuses
}

TEST_F(AudioEffectTest, BaseStringsAreEmptyAndStayInsideTheirFields) {
    char name[kVstMaxProgNameLen];
    std::memset(name, 'x', sizeof(name));
    dispatch(effect, effGetProgramName, 0, 0, name);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(name[1], 'x');  // one terminator, nothing more
}

TEST_F(AudioEffectTest, AccumulatingProcessLeavesOutputsUntouched) {
    float inL[8], inR[8], outL[8], outR[8];
    for (int i = 0; i < 8; ++i) {
        inL[i] = inR[i] = 1.0f;
        outL[i] = outR[i] = 0.25f * static_cast<float>(i);
    }
    float* inputs[] = {inL, inR};
    float* outputs[] = {outL, outR};
    effect->process(effect, inputs, outputs, 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(outL[i], 0.25f * static_cast<float>(i));
        EXPECT_EQ(outR[i], 0.25f * static_cast<float>(i));
    }
}

TEST_F(AudioEffectTest, ThunksForwardToTheVirtuals) {
    effect->setParameter(effect, 1, 0.5f);
    EXPECT_EQ(probe->log.back(), "setParameter 1 0.500000");
    EXPECT_EQ(effect->getParameter(effect, 1), 0.0f);  // base answer
    effect->processReplacing(effect, nullptr, nullptr, 0);
    EXPECT_EQ(probe->log.back(), "process");
    dispatch(effect, effOpen);
    EXPECT_EQ(probe->log.back(), "open");
}

TEST_F(AudioEffectTest, ThunksIgnoreARecordWithoutAnObject) {
    AEffect stray = *effect;
    stray.object = nullptr;
    EXPECT_EQ(stray.dispatcher(&stray, effIdentify, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(stray.getParameter(&stray, 0), 0.0f);
    stray.setParameter(&stray, 0, 1.0f);
    stray.processReplacing(&stray, nullptr, nullptr, 16);
    EXPECT_EQ(effect->dispatcher(nullptr, effClose, 0, 0, nullptr, 0.0f), 0);
    EXPECT_TRUE(probe->log.empty());
}

TEST_F(AudioEffectTest, HostQueriesUseTheCallback) {
    host.versionAnswer = 2300;
    EXPECT_EQ(probe->getMasterVersion(), 2300);
    host.versionAnswer = 0;
    EXPECT_EQ(probe->getMasterVersion(), 1);  // a host answering 0 counts as version 1
    host.answer = 0;
    EXPECT_TRUE(probe->isInputConnected(1));
    EXPECT_TRUE(probe->isOutputConnected(0));
    host.answer = 1;
    EXPECT_FALSE(probe->isInputConnected(1));
    ASSERT_GE(host.calls.size(), 2u);
    const RecordedHostCall& last = host.calls.back();
    EXPECT_EQ(last.opcode, audioMasterPinConnected);
    EXPECT_EQ(last.index, 1);
    EXPECT_EQ(last.value, 0);  // 0 asks about an input
    EXPECT_EQ(probe->getCurrentUniqueId(), 1);
    probe->masterIdle();
    EXPECT_EQ(host.count(audioMasterIdle), 1);
}

TEST(AudioEffectWithoutHost, EveryHostCallIsSkipped) {
    ProbeEffect probe(nullptr);
    EXPECT_EQ(probe.getMasterVersion(), 1);
    EXPECT_EQ(probe.getCurrentUniqueId(), 0);
    EXPECT_TRUE(probe.isInputConnected(0));
    EXPECT_TRUE(probe.isOutputConnected(0));
    probe.masterIdle();
    probe.setParameterAutomated(0, 0.5f);
    EXPECT_EQ(probe.getTimeInfo(kVstTempoValid), nullptr);
    probe.wantsMidi = true;
    probe.resume();  // would ask for MIDI
    EXPECT_FALSE(probe.beginEdit(0));
    EXPECT_FALSE(probe.sizeWindow(10, 10));
    EXPECT_EQ(probe.updateSampleRate(), 44100.0);
    EXPECT_EQ(probe.updateBlockSize(), 1024);
    EXPECT_EQ(probe.canHostDo("sizeWindow"), 0);
    char text[kVstMaxVendorStrLen] = "unchanged";
    EXPECT_FALSE(probe.getHostVendorString(text));
    EXPECT_STREQ(text, "unchanged");
}

}  // namespace
