// The host library against an in-process fake effect, where the test controls exactly what
// the "plug-in" does, including the faults a real host has to notice.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/support/GuardedBuffer.h"
#include "tools/host/Host.h"

namespace {

using VstHost::FieldText;
using VstHost::Host;
using VstHost::HostCall;

struct FakeEffect {
    AEffect record{};
    audioMasterCallback master = nullptr;
    std::vector<VstMidiEvent> events;
    VstInt32 numEventsSeen = -1;
    std::vector<VstInt32> blockSizes;
    std::vector<float*> firstInputs;
    std::vector<float*> firstOutputs;
    VstIntPtr timeAnswer = -1;
    int closes = 0;
};

FakeEffect* fakeFrom(AEffect* e) {
    return static_cast<FakeEffect*>(e->object);
}

VstIntPtr VSTCALLBACK fakeDispatcher(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr,
                                     void* ptr, float) {
    FakeEffect* fake = fakeFrom(e);
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effClose: ++fake->closes; return 1;
        case effGetParamName:
            switch (index) {
                case 0: std::memcpy(text, "Fine", 5); return 0;
                case 1: std::memcpy(text, "NineChars", 10); return 0;  // two past an 8-byte field
                case 2: std::memset(text, 'x', 8); return 0;           // no terminator
                case 3:
                    text[-1] = 'b';
                    text[0] = 0;
                    return 0;  // one before the field
                default: return 0;
            }
        case effProcessEvents: {
            const auto* block = static_cast<const VstEvents*>(ptr);
            fake->numEventsSeen = block->numEvents;
            fake->events.clear();
            for (VstInt32 i = 0; i < block->numEvents; ++i)
                fake->events.push_back(*reinterpret_cast<const VstMidiEvent*>(block->events[i]));
            return 1;
        }
        case effVendorSpecific:
            fake->timeAnswer = fake->master(e, audioMasterGetTime, 0, 0, nullptr, 0.0f);
            return 1;
        default: return 0;
    }
}

void VSTCALLBACK fakeProcess(AEffect* e, float** inputs, float** outputs, VstInt32 frames) {
    FakeEffect* fake = fakeFrom(e);
    fake->blockSizes.push_back(frames);
    fake->firstInputs.push_back(inputs[0]);
    fake->firstOutputs.push_back(outputs[0]);
    for (VstInt32 i = 0; i < frames; ++i) outputs[0][i] = inputs[0][i] + 1.0f;
}

// The entry point has no context, so it hands out whichever fake the test staged.
FakeEffect* staged = nullptr;
bool badMagic = false;

AEffect* VSTCALLBACK fakeEntry(audioMasterCallback master) {
    FakeEffect* fake = staged;
    fake->master = master;
    // Before the record exists for the host: once with no effect, once with the record.
    if (master(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    AEffect& r = fake->record;
    r.magic = badMagic ? 0 : kEffectMagic;
    r.dispatcher = fakeDispatcher;
    r.processReplacing = fakeProcess;
    r.numInputs = 1;
    r.numOutputs = 1;
    r.object = fake;
    master(&r, audioMasterIdle, 7, 0, nullptr, 0.0f);
    return &r;
}

class HostLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        staged = &fake;
        badMagic = false;
    }
    void TearDown() override { staged = nullptr; }

    FakeEffect fake;
};

TEST_F(HostLibraryTest, EntryPointCallsReachTheLoadingHostThenTheRecordsOwner) {
    Host host;
    ASSERT_TRUE(host.open(fakeEntry)) << host.error();
    fake.master(&fake.record, audioMasterIdle, 9, 0, nullptr, 0.0f);

    const std::vector<HostCall> calls = host.calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].opcode, audioMasterVersion);
    EXPECT_EQ(calls[0].effect, nullptr);
    EXPECT_TRUE(calls[0].duringEntryPoint);
    EXPECT_EQ(calls[1].index, 7);
    EXPECT_TRUE(calls[1].duringEntryPoint);
    EXPECT_EQ(calls[2].index, 9);
    EXPECT_EQ(calls[2].effect, &fake.record);
    EXPECT_FALSE(calls[2].duringEntryPoint);
}

TEST_F(HostLibraryTest, CallsFromAnUnknownRecordOutsideLoadingAreAnsweredZero) {
    Host host;
    ASSERT_TRUE(host.open(fakeEntry));
    host.clearCalls();
    AEffect stranger{};
    EXPECT_EQ(Host::callback(&stranger, audioMasterVersion, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(Host::callback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f), 0);
    EXPECT_TRUE(host.calls().empty());
}

TEST_F(HostLibraryTest, RefusalAndBadRecordsLeaveNoInstance) {
    Host refused;
    refused.setVersionAnswer(0);
    EXPECT_FALSE(refused.open(fakeEntry));
    EXPECT_FALSE(refused.isOpen());
    EXPECT_FALSE(refused.error().empty());
    EXPECT_EQ(refused.countCalls(audioMasterVersion), 1u);

    badMagic = true;
    Host wrong;
    EXPECT_FALSE(wrong.open(fakeEntry));
    EXPECT_EQ(wrong.effect(), nullptr);
    EXPECT_EQ(fake.closes, 0);  // a record without the magic is never dispatched to
}

TEST_F(HostLibraryTest, GetTimeAnswersTheTimeInfoSetOrZero) {
    Host host;
    ASSERT_TRUE(host.open(fakeEntry));
    host.dispatch(effVendorSpecific);
    EXPECT_EQ(fake.timeAnswer, 0);

    VstTimeInfo info{};
    info.sampleRate = 48000.0;
    info.tempo = 120.0;
    info.flags = kVstTempoValid;
    host.setTimeInfo(&info);
    host.dispatch(effVendorSpecific);
    ASSERT_NE(fake.timeAnswer, 0);
    const auto* answered = reinterpret_cast<const VstTimeInfo*>(fake.timeAnswer);
    EXPECT_EQ(answered->sampleRate, 48000.0);
    EXPECT_EQ(answered->tempo, 120.0);
    EXPECT_EQ(answered->flags, kVstTempoValid);

    host.setTimeInfo(nullptr);
    host.dispatch(effVendorSpecific);
    EXPECT_EQ(fake.timeAnswer, 0);
}

TEST_F(HostLibraryTest, GetStringNoticesOverrunsAndMissingTerminators) {
    Host host;
    ASSERT_TRUE(host.open(fakeEntry));

    const FieldText fine = host.getString(effGetParamName, 0, kVstMaxParamStrLen);
    EXPECT_TRUE(fine.ok());
    EXPECT_EQ(fine.text, "Fine");

    const FieldText past = host.getString(effGetParamName, 1, kVstMaxParamStrLen);
    EXPECT_TRUE(past.wroteAfter);
    EXPECT_FALSE(past.wroteBefore);
    EXPECT_FALSE(past.ok());

    const FieldText open = host.getString(effGetParamName, 2, kVstMaxParamStrLen);
    EXPECT_FALSE(open.terminated);
    EXPECT_FALSE(open.wroteAfter);
    EXPECT_EQ(open.text, "xxxxxxxx");
    EXPECT_FALSE(open.ok());

    const FieldText before = host.getString(effGetParamName, 3, kVstMaxParamStrLen);
    EXPECT_TRUE(before.wroteBefore);
    EXPECT_FALSE(before.ok());

    // An untouched field is unterminated: the pre-fill is not mistaken for an answer.
    const FieldText untouched = host.getString(effGetParamName, 4, kVstMaxParamStrLen);
    EXPECT_FALSE(untouched.terminated);
    EXPECT_FALSE(untouched.wroteAfter);
}

TEST_F(HostLibraryTest, EventBlocksCarryEveryEventInOrder) {
    Host host;
    ASSERT_TRUE(host.open(fakeEntry));
    // Zero, the declared two, and counts past them, which need the longer block.
    for (int n : {0, 1, 2, 3, 100}) {
        std::vector<VstMidiEvent> events;
        for (int i = 0; i < n; ++i) events.push_back(VstHost::makeControlChange(i, i % 16, 7, i));
        EXPECT_EQ(host.sendEvents(events), 1);
        ASSERT_EQ(fake.numEventsSeen, n);
        ASSERT_EQ(fake.events.size(), static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            const VstMidiEvent& got = fake.events[static_cast<std::size_t>(i)];
            EXPECT_EQ(got.type, kVstMidiType);
            EXPECT_EQ(got.byteSize, static_cast<VstInt32>(sizeof(VstMidiEvent)));
            EXPECT_EQ(got.deltaFrames, i);
            EXPECT_EQ(static_cast<unsigned char>(got.midiData[0]), 0xB0 | (i % 16));
            EXPECT_EQ(got.midiData[1], 7);
            EXPECT_EQ(got.midiData[2], i);
        }
    }
}

TEST_F(HostLibraryTest, MidiHelpersBuildChannelMessages) {
    const VstMidiEvent on = VstHost::makeNoteOn(5, 3, 60, 100);
    EXPECT_EQ(static_cast<unsigned char>(on.midiData[0]), 0x93);
    EXPECT_EQ(on.midiData[1], 60);
    EXPECT_EQ(on.midiData[2], 100);
    EXPECT_EQ(on.deltaFrames, 5);
    const VstMidiEvent off = VstHost::makeNoteOff(0, 15, 200, 0);
    EXPECT_EQ(static_cast<unsigned char>(off.midiData[0]), 0x8F);
    EXPECT_EQ(off.midiData[1], 200 & 0x7F);  // data bytes never carry the status bit
    EXPECT_EQ(off.midiData[3], 0);
}

TEST_F(HostLibraryTest, ProcessSplitsIntoBlocksWithAdvancedPointers) {
    Host host;
    ASSERT_TRUE(host.open(fakeEntry));
    TestSupport::GuardedBuffer in(100), out(100);
    in.fillRamp(0.0f, 1.0f);
    ASSERT_TRUE(host.processReplacing({in.data()}, {out.data()}, 100, 32));

    EXPECT_EQ(fake.blockSizes, (std::vector<VstInt32>{32, 32, 32, 4}));
    for (std::size_t b = 0; b < fake.firstInputs.size(); ++b) {
        EXPECT_EQ(fake.firstInputs[b], in.data() + 32 * b);
        EXPECT_EQ(fake.firstOutputs[b], out.data() + 32 * b);
    }
    std::vector<float> expected(100);
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<float>(i) + 1.0f;
    EXPECT_EQ(out.firstDifference(expected), std::nullopt);
    EXPECT_TRUE(in.guardsIntact());
    EXPECT_TRUE(out.guardsIntact());
}

TEST_F(HostLibraryTest, ProcessRefusesListsThatDoNotFitTheInstance) {
    Host host;
    ASSERT_TRUE(host.open(fakeEntry));
    TestSupport::GuardedBuffer a(16), b(16);
    EXPECT_FALSE(host.processReplacing({a.data(), b.data()}, {b.data()}, 16, 16));
    EXPECT_FALSE(host.processReplacing({a.data()}, {}, 16, 16));
    EXPECT_FALSE(host.processReplacing({nullptr}, {b.data()}, 16, 16));
    EXPECT_FALSE(host.processReplacing({a.data()}, {b.data()}, 16, 0));
    EXPECT_FALSE(host.process({a.data()}, {b.data()}, 16, 16));  // the fake has no process
    EXPECT_TRUE(fake.blockSizes.empty());
}

TEST_F(HostLibraryTest, CloseSendsEffCloseOnceAndTheDestructorOnlyIfStillOpen) {
    {
        Host host;
        ASSERT_TRUE(host.open(fakeEntry));
        EXPECT_EQ(host.dispatch(effClose), 1);
        EXPECT_EQ(host.close(), 0);
        EXPECT_FALSE(host.isOpen());
        EXPECT_EQ(host.dispatch(effGetVstVersion), 0);
    }
    EXPECT_EQ(fake.closes, 1);
    {
        Host host;
        ASSERT_TRUE(host.open(fakeEntry));
    }
    EXPECT_EQ(fake.closes, 2);
}

TEST(PluginLibraryTest, MissingBinaryReportsWhatFailed) {
    VstHost::PluginLibrary library;
    EXPECT_FALSE(library.load("/no/such/dir/NoPlugin.bin"));
    EXPECT_FALSE(library.isLoaded());
    EXPECT_EQ(library.entryPoint(), nullptr);
    EXPECT_NE(library.error().find("NoPlugin.bin"), std::string::npos) << library.error();
    EXPECT_EQ(library.symbol("main"), nullptr);
}

TEST(GuardedBufferTest, NamesTheFirstDamagedGuardAndDifference) {
    TestSupport::GuardedBuffer buffer(8, 4, 1.0f);
    EXPECT_TRUE(buffer.guardsIntact());
    EXPECT_EQ(buffer.firstDifference(1.0f), std::nullopt);
    buffer[5] = 2.0f;
    EXPECT_EQ(buffer.firstDifference(1.0f), 5u);

    buffer.data()[9] = 0.0f;
    EXPECT_EQ(buffer.firstDamagedGuard(), 9);
    buffer.data()[-2] = 0.0f;
    EXPECT_EQ(buffer.firstDamagedGuard(), -2);
}

}  // namespace
