// The audio thread's calls allocate nothing once the plug-in is running: every operator new in
// this executable is counted, and the steady-state blocks must not add to the count.
#include <gtest/gtest.h>

#include "tests/support/CountingAllocator.h"

#include <vector>

#include "SynthToolkit/Vst/VstPlugin.h"
#include "vst/PluginMain.h"

namespace {

VstTimeInfo hostTime{};

// Answers like a real host without keeping a record, which would allocate.
VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) return kVstVersion;
    if (opcode == audioMasterGetTime) return reinterpret_cast<VstIntPtr>(&hostTime);
    return 0;
}

TEST(AudioThread, ProcessingAndEventsAllocateNothingInSteadyState) {
    ASSERT_TRUE(TestSupport::countingAllocatorActive()) << "the counting allocator is not in use";

    hostTime.tempo = 120.0;
    hostTime.flags = kVstTempoValid | kVstPpqPosValid;
    AudioEffect* effect = createEffectInstance(quietHost);
    ASSERT_NE(effect, nullptr);
    effect->setParameter(0, 1.0f);
    effect->setParameter(2, 1.0f);
    effect->setParameter(4, 0.9f);  // a glide in progress

    constexpr int kFrames = 20000;  // more than one sub-block
    std::vector<float> left(kFrames, 0.25f), right(kFrames, -0.25f);
    float* channels[] = {left.data(), right.data()};
    std::vector<VstMidiEvent> midi(64);
    struct {
        VstInt32 numEvents;
        VstIntPtr reserved;
        VstEvent* events[64];
    } block{};
    block.numEvents = 64;
    for (int i = 0; i < 64; ++i) {
        midi[i] = VstMidiEvent{};
        midi[i].type = kVstMidiType;
        midi[i].byteSize = sizeof(VstMidiEvent);
        midi[i].deltaFrames = i * 300;
        midi[i].midiData[0] = static_cast<char>(0xB0);
        midi[i].midiData[1] = 7;
        midi[i].midiData[2] = static_cast<char>(i);
        block.events[i] = reinterpret_cast<VstEvent*>(&midi[i]);
    }
    auto* events = reinterpret_cast<VstEvents*>(&block);

    auto* plugin = static_cast<AudioEffectX*>(effect);
    plugin->processEvents(events);
    plugin->processReplacing(channels, channels, kFrames);  // warm-up
    const long before = TestSupport::allocationCount();
    for (int round = 0; round < 20; ++round) {
        hostTime.ppqPos = round;
        plugin->processEvents(events);
        plugin->processReplacing(channels, channels, kFrames);
        plugin->processReplacing(channels, channels, 32);
    }
    EXPECT_EQ(TestSupport::allocationCount(), before);
    delete effect;
}

}  // namespace
