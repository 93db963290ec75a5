// MinimalEffect loaded from its binary through the exported entry point, as a host does. What
// it shows is the base layer's behaviour as a host sees it across the binary boundary.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/plugin/MinimalEffect.h"
#include "tests/support/GuardedBuffer.h"
#include "tools/host/Host.h"

namespace {

using TestSupport::GuardedChannels;
using VstHost::FieldText;
using VstHost::Host;
using VstHost::HostCall;
using VstHost::PluginLibrary;

namespace ME = MinimalEffect;

bool isAnnouncement(const HostCall& call, VstInt32 what) {
    return call.opcode == audioMasterVendorSpecific && call.index == what;
}

std::size_t countAnnouncements(const std::vector<HostCall>& calls, VstInt32 what) {
    std::size_t n = 0;
    for (const HostCall& call : calls) n += isAnnouncement(call, what) ? 1 : 0;
    return n;
}

// Loading once per suite keeps every test on the same binary, as a host would.
class MinimalEffectTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        library = std::make_unique<PluginLibrary>();
        notifyLoaded = library->load(QC_MINIMAL_EFFECT_PATH);
        applyLibrary = std::make_unique<PluginLibrary>();
        applyLoaded = applyLibrary->load(QC_MINIMAL_EFFECT_APPLY_PATH);
    }
    static void TearDownTestSuite() {
        library.reset();
        applyLibrary.reset();
    }

    void SetUp() override {
        ASSERT_TRUE(notifyLoaded) << library->error();
        ASSERT_TRUE(applyLoaded) << applyLibrary->error();
        ASSERT_TRUE(host.open(*library)) << host.error();
    }

    GuardedChannels channels(float fill) const {
        return GuardedChannels(ME::kNumInputs, kFrames, fill);
    }

    static constexpr VstInt32 kFrames = 1000;
    static std::unique_ptr<PluginLibrary> library;
    static std::unique_ptr<PluginLibrary> applyLibrary;
    static bool notifyLoaded;
    static bool applyLoaded;
    Host host;
};

std::unique_ptr<PluginLibrary> MinimalEffectTest::library;
std::unique_ptr<PluginLibrary> MinimalEffectTest::applyLibrary;
bool MinimalEffectTest::notifyLoaded = false;
bool MinimalEffectTest::applyLoaded = false;

// ---- Entry point and instances -------------------------------------------------------------

TEST_F(MinimalEffectTest, MainAndVSTPluginMainAreOneFunction) {
    void* modern = library->symbol("VSTPluginMain");
    ASSERT_NE(modern, nullptr);
    EXPECT_EQ(library->symbol("main"), modern);
    EXPECT_EQ(reinterpret_cast<void*>(library->entryPoint()), modern);
}

TEST_F(MinimalEffectTest, HostAnsweringVersionZeroIsRefusedBeforeAnInstanceExists) {
    Host refused;
    refused.setVersionAnswer(0);
    EXPECT_FALSE(refused.open(*library));
    EXPECT_EQ(refused.effect(), nullptr);
    const std::vector<HostCall> calls = refused.calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].opcode, audioMasterVersion);
    EXPECT_TRUE(calls[0].duringEntryPoint);
}

TEST_F(MinimalEffectTest, EntryPointAsksTheVersionThenCreatesOneInstance) {
    const std::vector<HostCall> calls = host.calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].opcode, audioMasterVersion);
    EXPECT_EQ(countAnnouncements(calls, ME::kAnnounceCreated), 1u);
    for (const HostCall& call : calls) EXPECT_TRUE(call.duringEntryPoint);
}

TEST_F(MinimalEffectTest, InstancesAreIndependent) {
    Host second;
    Host third;
    ASSERT_TRUE(second.open(*library));
    ASSERT_TRUE(third.open(*library));
    EXPECT_NE(second.effect(), host.effect());
    EXPECT_NE(second.effect()->object, host.effect()->object);
    EXPECT_NE(third.effect(), second.effect());

    host.setParameter(ME::kGain, 0.25f);
    second.setParameter(ME::kGain, 0.75f);
    EXPECT_EQ(host.getParameter(ME::kGain), 0.25f);
    EXPECT_EQ(second.getParameter(ME::kGain), 0.75f);
    EXPECT_EQ(third.getParameter(ME::kGain), 1.0f);

    // Each instance's host calls reach its own host only.
    host.clearCalls();
    third.clearCalls();
    second.dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(second.countCalls(audioMasterWantMidi), 1u);
    EXPECT_EQ(host.countCalls(audioMasterWantMidi), 0u);
    EXPECT_EQ(third.countCalls(audioMasterWantMidi), 0u);

    EXPECT_EQ(second.close(), 1);
    EXPECT_EQ(third.dispatch(effGetVstVersion), kVstVersion);
    EXPECT_EQ(host.getParameter(ME::kGain), 0.25f);
}

// ---- The AEffect record --------------------------------------------------------------------

TEST_F(MinimalEffectTest, RecordHoldsTheEffectsSettingsAndBaseDefaults) {
    const AEffect& e = *host.effect();
    EXPECT_EQ(e.magic, kEffectMagic);
    EXPECT_NE(e.dispatcher, nullptr);
    EXPECT_NE(e.process, nullptr);
    EXPECT_NE(e.setParameter, nullptr);
    EXPECT_NE(e.getParameter, nullptr);
    EXPECT_NE(e.processReplacing, nullptr);
    EXPECT_EQ(e.numPrograms, ME::kNumPrograms);
    EXPECT_EQ(e.numParams, ME::kNumParams);
    EXPECT_EQ(e.numInputs, ME::kNumInputs);
    EXPECT_EQ(e.numOutputs, ME::kNumOutputs);
    EXPECT_EQ(e.flags & effFlagsCanReplacing, effFlagsCanReplacing);
    EXPECT_EQ(e.flags & (effFlagsHasEditor | effFlagsIsSynth), 0);
    EXPECT_EQ(e.ioRatio, 1.0f);
    EXPECT_EQ(e.uniqueID, ME::kUniqueId);
    EXPECT_EQ(e.version, 1);
    EXPECT_NE(e.object, nullptr);
    EXPECT_EQ(e.resvd1, 0);
    EXPECT_EQ(e.resvd2, 0);
    EXPECT_EQ(e.user, nullptr);
    EXPECT_EQ(e.initialDelay, 0);
    for (char c : e.future) EXPECT_EQ(c, 0);
}

TEST_F(MinimalEffectTest, UniqueIdDefaultsWhenTheEffectSetsNone) {
    Host other;
    ASSERT_TRUE(other.open(*applyLibrary)) << other.error();
    EXPECT_EQ(other.effect()->uniqueID, kDefaultUniqueId);
    EXPECT_EQ(other.effect()->uniqueID, 0x4E6F4566);
}

// ---- Dispatcher answers --------------------------------------------------------------------

TEST_F(MinimalEffectTest, FixedAnswersOfTheBase) {
    for (VstInt32 index : {0, 5, -1})
        for (VstIntPtr value : {VstIntPtr{0}, VstIntPtr{1}, VstIntPtr{-7}})
            EXPECT_EQ(host.dispatch(effIdentify, index, value, &host, 3.0f), 0x4E764566);
    EXPECT_EQ(host.dispatch(effGetVstVersion), 2400);
    char midiProgramName[512] = {};
    EXPECT_EQ(host.dispatch(effGetCurrentMidiProgram, 0, 0, midiProgramName), -1);
    EXPECT_EQ(host.dispatch(effGetTailSize), 0);
    EXPECT_EQ(host.dispatch(effKeysRequired), 0);
    EXPECT_EQ(host.dispatch(effGetVendorVersion), ME::kVendorVersion);
    for (VstIntPtr frames : {VstIntPtr{0}, VstIntPtr{1}, VstIntPtr{44100}, VstIntPtr{1} << 30})
        EXPECT_EQ(host.dispatch(effSetTotalSampleToProcess, 0, frames), frames);
    for (VstInt32 index : {0, 1, 2, 1000, -1})
        EXPECT_EQ(host.dispatch(effCanBeAutomated, index), 1) << "parameter " << index;
}

TEST_F(MinimalEffectTest, CanDoPassesTheEffectsOwnAnswer) {
    char midi[] = "receiveVstMidiEvent";
    char other[] = "sendVstMidiEvent";
    EXPECT_EQ(host.dispatch(effCanDo, 0, 0, midi), 1);
    EXPECT_EQ(host.dispatch(effCanDo, 0, 0, other), 0);
}

TEST_F(MinimalEffectTest, EditorOpcodesWithoutAnEditorAnswerZero) {
    ERect* rect = nullptr;
    EXPECT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, nullptr);
    int fakeWindow = 0;
    EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, &fakeWindow), 0);
    EXPECT_EQ(host.dispatch(effEditClose), 0);
    EXPECT_EQ(host.dispatch(effEditIdle), 0);
    EXPECT_EQ(host.dispatch(effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
    EXPECT_EQ(host.dispatch(effEditKeyUp, 'a', 0, nullptr, 0.0f), 0);
    EXPECT_EQ(host.dispatch(effSetEditKnobMode, 0, 2), 0);
}

TEST_F(MinimalEffectTest, SpeakerArrangementQueryNullsBothOutPointers) {
    VstSpeakerArrangement dummy{};
    VstSpeakerArrangement* input = &dummy;
    VstSpeakerArrangement* output = &dummy;
    host.dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
}

TEST_F(MinimalEffectTest, SetProgramIgnoresNumbersPastTheLastAndPassesNegativesOn) {
    host.dispatch(effSetProgram, 0, 2);
    EXPECT_EQ(host.dispatch(effGetProgram), 2);
    host.dispatch(effSetProgram, 0, ME::kNumPrograms);
    EXPECT_EQ(host.dispatch(effGetProgram), 2);
    host.dispatch(effSetProgram, 0, 1000);
    EXPECT_EQ(host.dispatch(effGetProgram), 2);
    host.dispatch(effSetProgram, 0, -1);
    EXPECT_EQ(host.dispatch(effGetProgram), -1);
    // The effect has to cope with that number itself.
    const FieldText name = host.getString(effGetProgramName, 0, kVstMaxProgNameLen);
    EXPECT_TRUE(name.ok());
    EXPECT_EQ(name.text, "");
}

TEST_F(MinimalEffectTest, NullPointerOnOpcodesThatUseItAnswersZero) {
    const VstInt32 opcodes[] = {effSetProgramName,
                                effGetProgramName,
                                effGetParamLabel,
                                effGetParamDisplay,
                                effGetParamName,
                                effEditGetRect,
                                effGetChunk,
                                effSetChunk,
                                effProcessEvents,
                                effGetProgramNameIndexed,
                                effGetInputProperties,
                                effGetOutputProperties,
                                effGetEffectName,
                                effGetVendorString,
                                effGetProductString,
                                effCanDo,
                                effGetParameterProperties,
                                effGetMidiProgramName,
                                effGetMidiProgramCategory,
                                effGetMidiKeyName,
                                effShellGetNextPlugin,
                                effBeginLoadBank,
                                effBeginLoadProgram,
                                effGetSpeakerArrangement};
    for (VstInt32 opcode : opcodes) {
        EXPECT_EQ(host.dispatch(opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
        // A byte count with no data, say; value is itself a pointer for the arrangement query.
        if (opcode != effGetSpeakerArrangement) {
            EXPECT_EQ(host.dispatch(opcode, 1, 16, nullptr), 0) << "opcode " << opcode;
        }
    }
    EXPECT_TRUE(host.isOpen());
    EXPECT_EQ(host.dispatch(effGetVstVersion), kVstVersion);
}

// ---- Text fields ---------------------------------------------------------------------------

void expectField(const FieldText& field, const std::string& full, std::size_t length,
                 const std::string& what) {
    EXPECT_TRUE(field.terminated) << what << " is unterminated";
    EXPECT_FALSE(field.wroteBefore) << what << " wrote before its field";
    EXPECT_FALSE(field.wroteAfter) << what << " wrote past its " << length << "-byte field";
    EXPECT_EQ(field.text, full.substr(0, length - 1)) << what;
}

TEST_F(MinimalEffectTest, NamesStayInsideTheirFields) {
    expectField(host.getString(effGetEffectName, 0, kVstMaxEffectNameLen), ME::kEffectName,
                kVstMaxEffectNameLen, "effect name");
    expectField(host.getString(effGetVendorString, 0, kVstMaxVendorStrLen), ME::kVendor,
                kVstMaxVendorStrLen, "vendor");
    expectField(host.getString(effGetProductString, 0, kVstMaxProductStrLen), ME::kProduct,
                kVstMaxProductStrLen, "product");
    EXPECT_EQ(host.getString(effGetProductString, 0, kVstMaxProductStrLen).text.size(), 63u);
}

TEST_F(MinimalEffectTest, ParameterTextsStayInsideTheirFields) {
    expectField(host.getString(effGetParamName, ME::kGain, kVstMaxParamStrLen), "Gain",
                kVstMaxParamStrLen, "gain name");
    expectField(host.getString(effGetParamName, ME::kWidth, kVstMaxParamStrLen), ME::kWidthName,
                kVstMaxParamStrLen, "width name");
    expectField(host.getString(effGetParamLabel, ME::kGain, kVstMaxParamStrLen), "lin",
                kVstMaxParamStrLen, "gain label");
    expectField(host.getString(effGetParamLabel, ME::kWidth, kVstMaxParamStrLen), "%",
                kVstMaxParamStrLen, "width label");

    host.setParameter(ME::kWidth, 0.5f);
    expectField(host.getString(effGetParamDisplay, ME::kWidth, kVstMaxParamStrLen), "50",
                kVstMaxParamStrLen, "width display");
    // Displays of every width must fit, whatever the value.
    for (float value : {0.0f, 0.5f, 1.0f, -123456.7f, 98765432.0f, 1e-7f}) {
        host.setParameter(ME::kGain, value);
        const FieldText display = host.getString(effGetParamDisplay, ME::kGain, kVstMaxParamStrLen);
        EXPECT_TRUE(display.ok()) << "gain display of " << value;
        EXPECT_FALSE(display.text.empty()) << "gain display of " << value;
    }
}

TEST_F(MinimalEffectTest, ProgramNamesStayInsideTheirFieldAndRoundTrip) {
    const char* expected[] = {"Unity", "Half", "Quiet", ME::kLongProgramName};
    for (VstInt32 p = 0; p < ME::kNumPrograms; ++p) {
        host.dispatch(effSetProgram, 0, p);
        expectField(host.getString(effGetProgramName, 0, kVstMaxProgNameLen), expected[p],
                    kVstMaxProgNameLen, "program " + std::to_string(p));
    }

    host.dispatch(effSetProgram, 0, 1);
    char renamed[] = "Renamed program with a name past twenty-four bytes";
    host.dispatch(effSetProgramName, 0, 0, renamed);
    expectField(host.getString(effGetProgramName, 0, kVstMaxProgNameLen), renamed,
                kVstMaxProgNameLen, "renamed program");
    host.dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(host.getString(effGetProgramName, 0, kVstMaxProgNameLen).text, "Unity");
}

// ---- Host calls ----------------------------------------------------------------------------

TEST_F(MinimalEffectTest, ResumeAsksForMidiExactlyOnceAndSuspendDoesNot) {
    host.clearCalls();
    host.dispatch(effMainsChanged, 0, 1);
    std::vector<HostCall> calls = host.calls();
    ASSERT_EQ(host.countCalls(audioMasterWantMidi), 1u);
    for (const HostCall& call : calls) {
        if (call.opcode != audioMasterWantMidi) continue;
        EXPECT_EQ(call.value, 1);
        EXPECT_EQ(call.effect, host.effect());
    }

    host.clearCalls();
    host.dispatch(effMainsChanged, 0, 0);
    EXPECT_EQ(host.countCalls(audioMasterWantMidi), 0u);

    host.dispatch(effMainsChanged, 0, 5);  // any nonzero value resumes
    EXPECT_EQ(host.countCalls(audioMasterWantMidi), 1u);
}

// What the parameter held at the moment the host was told, per automation call.
std::vector<float> valuesSeenWhenTold(Host& target, VstInt32 index, float value) {
    std::vector<float> seen;
    target.setCallHook([&](const HostCall& call) {
        if (call.opcode == audioMasterAutomate) seen.push_back(target.getParameter(call.index));
    });
    target.clearCalls();
    EXPECT_EQ(target.dispatch(effVendorSpecific, ME::kHookAutomate, index, nullptr, value), 1);
    target.setCallHook(nullptr);
    return seen;
}

TEST_F(MinimalEffectTest, AutomationTellsTheHostOnlyInTheNotifyBuild) {
    host.setParameter(ME::kWidth, 0.5f);
    const std::vector<float> seen = valuesSeenWhenTold(host, ME::kWidth, 0.25f);

    const std::vector<VstHost::Automation> told = host.automations();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].index, ME::kWidth);
    EXPECT_EQ(told[0].value, 0.25f);
    EXPECT_EQ(host.calls().size(), 1u);
    EXPECT_EQ(seen, std::vector<float>{0.5f});
    EXPECT_EQ(host.getParameter(ME::kWidth), 0.5f);
}

TEST_F(MinimalEffectTest, AutomationSetsTheParameterBeforeTellingTheHostInTheApplyBuild) {
    Host apply;
    ASSERT_TRUE(apply.open(*applyLibrary)) << apply.error();
    apply.setParameter(ME::kWidth, 0.5f);
    const std::vector<float> seen = valuesSeenWhenTold(apply, ME::kWidth, 0.25f);

    const std::vector<VstHost::Automation> told = apply.automations();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].index, ME::kWidth);
    EXPECT_EQ(told[0].value, 0.25f);
    EXPECT_EQ(seen, std::vector<float>{0.25f});
    EXPECT_EQ(apply.getParameter(ME::kWidth), 0.25f);
}

// ---- Audio ---------------------------------------------------------------------------------

TEST_F(MinimalEffectTest, ProcessReplacingScalesEverySampleInAnyBlockSize) {
    host.dispatch(effMainsChanged, 0, 1);
    host.setParameter(ME::kGain, 0.5f);
    for (VstInt32 block : {1, 7, 64, 512, kFrames, 4096}) {
        GuardedChannels in = channels(0.0f);
        GuardedChannels out = channels(9.0f);
        std::vector<float> expected[ME::kNumInputs];
        for (std::size_t c = 0; c < in.channels(); ++c) {
            in[c].fillRamp(static_cast<float>(c) * 1000.0f, 1.0f);
            for (VstInt32 i = 0; i < kFrames; ++i) expected[c].push_back(in[c][i] * 0.5f);
        }
        ASSERT_TRUE(host.processReplacing(in.list(), out.list(), kFrames, block));
        for (std::size_t c = 0; c < out.channels(); ++c) {
            EXPECT_EQ(out[c].firstDifference(expected[c]), std::nullopt)
                << "block " << block << " channel " << c;
            EXPECT_EQ(out[c].firstDamagedGuard(), std::nullopt)
                << "block " << block << " channel " << c;
        }
        EXPECT_TRUE(in.guardsIntact()) << "block " << block;
    }
}

TEST_F(MinimalEffectTest, ProcessReplacingInPlace) {
    host.setParameter(ME::kGain, 0.25f);
    for (VstInt32 block : {1, 33, kFrames}) {
        GuardedChannels io = channels(0.0f);
        std::vector<float> expected[ME::kNumInputs];
        for (std::size_t c = 0; c < io.channels(); ++c) {
            io[c].fillRamp(-500.0f + static_cast<float>(c), 1.0f);
            for (VstInt32 i = 0; i < kFrames; ++i) expected[c].push_back(io[c][i] * 0.25f);
        }
        ASSERT_TRUE(host.processReplacing(io.list(), io.list(), kFrames, block));
        for (std::size_t c = 0; c < io.channels(); ++c) {
            EXPECT_EQ(io[c].firstDifference(expected[c]), std::nullopt) << "block " << block;
            EXPECT_TRUE(io[c].guardsIntact()) << "block " << block;
        }
    }
}

TEST_F(MinimalEffectTest, AccumulatingProcessLeavesOutputsUntouched) {
    host.setParameter(ME::kGain, 1.0f);
    GuardedChannels in = channels(0.0f);
    GuardedChannels out = channels(3.0f);
    for (std::size_t c = 0; c < in.channels(); ++c) in[c].fillRamp(1.0f, 1.0f);
    ASSERT_TRUE(host.process(in.list(), out.list(), kFrames, 256));
    for (std::size_t c = 0; c < out.channels(); ++c) {
        EXPECT_EQ(out[c].firstDifference(3.0f), std::nullopt);
        EXPECT_TRUE(out[c].guardsIntact());
    }
}

// ---- Events --------------------------------------------------------------------------------

TEST_F(MinimalEffectTest, EveryEventOfABlockArrives) {
    for (int n : {0, 1, 2, 3, 40}) {
        std::vector<VstMidiEvent> events;
        for (int i = 0; i < n; ++i)
            events.push_back(i % 2 == 0 ? VstHost::makeControlChange(i * 3, 1, 74, i)
                                        : VstHost::makeNoteOn(i * 3, 2, 60 + i, 100));
        EXPECT_EQ(host.sendEvents(events), 1);
        ASSERT_EQ(host.dispatch(effVendorSpecific, ME::kHookEventCount), n);
        for (int i = 0; i < n; ++i) {
            ME::ReceivedEvent got{};
            ASSERT_EQ(host.dispatch(effVendorSpecific, ME::kHookEventAt, i, &got), 1);
            const VstMidiEvent& sent = events[static_cast<std::size_t>(i)];
            EXPECT_EQ(got.deltaFrames, sent.deltaFrames) << "event " << i << " of " << n;
            for (int b = 0; b < 3; ++b)
                EXPECT_EQ(got.midi[b], static_cast<unsigned char>(sent.midiData[b]))
                    << "event " << i << " of " << n << " byte " << b;
        }
    }
}

// ---- Closing -------------------------------------------------------------------------------

TEST_F(MinimalEffectTest, CloseAnswersOneAndDeletesTheInstance) {
    host.clearCalls();
    EXPECT_EQ(host.dispatch(effClose), 1);
    EXPECT_EQ(countAnnouncements(host.calls(), ME::kAnnounceDestroyed), 1u);
    EXPECT_FALSE(host.isOpen());
    EXPECT_EQ(host.close(), 0);
    EXPECT_EQ(countAnnouncements(host.calls(), ME::kAnnounceDestroyed), 1u);
}

TEST_F(MinimalEffectTest, HostDestructorClosesAnInstanceLeftOpen) {
    std::vector<VstInt32> announced;
    {
        Host scoped;
        scoped.setCallHook([&announced](const HostCall& call) {
            if (call.opcode == audioMasterVendorSpecific) announced.push_back(call.index);
        });
        ASSERT_TRUE(scoped.open(*library));
    }
    EXPECT_EQ(announced, (std::vector<VstInt32>{ME::kAnnounceCreated, ME::kAnnounceDestroyed}));
}

}  // namespace
