// The audio thread's calls allocate nothing once the plug-in is running: every operator new in
// this executable is counted, and the steady-state blocks must not add to the count.
#include <gtest/gtest.h>

#include "tests/support/CountingAllocator.h"

#include <vector>

#include "VstToolkit/Controller.h"
#include "effect/x64/QuellinCorvaneModel.h"

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
    hostTime.flags = kVstTempoValid | kVstPpqPosValid | kVstTransportPlaying | kVstTimeSigValid;
    hostTime.timeSigNumerator = 4;
    hostTime.timeSigDenominator = 4;
    auto* model = new QuellinCorvane::QuellinCorvaneModel();
    VstToolkit::Controller controller(quietHost, model);
    model->RegisterMidiControllerMapping(20, QuellinCorvane::kCutoffFrequency);
    controller.setParameter(QuellinCorvane::kOutput, 1.0f);
    controller.setParameter(QuellinCorvane::kFilterSlope, 1.0f);

    constexpr int kFrames = 512;
    std::vector<float> left(kFrames, 0.25f), right(kFrames, -0.25f);
    float* channels[] = {left.data(), right.data()};
    std::vector<VstMidiEvent> midi(64);
    struct {
        VstInt32 numEvents;
        VstIntPtr reserved;
        VstEvent* events[64];
    } list{64, 0, {}};
    for (int i = 0; i < 64; ++i) {
        midi[i].type = kVstMidiType;
        midi[i].deltaFrames = i * 8;
        midi[i].midiData[0] = static_cast<char>(0xB0);
        midi[i].midiData[1] = 20;
        midi[i].midiData[2] = static_cast<char>(i * 2);
        list.events[i] = reinterpret_cast<VstEvent*>(&midi[i]);
    }
    auto block = [&] {
        controller.processEvents(reinterpret_cast<VstEvents*>(&list));
        controller.processReplacing(channels, channels, kFrames);
        hostTime.ppqPos += 0.5;
    };
    for (int i = 0; i < 4; ++i) block();  // warm up

    const long before = TestSupport::allocationCount();
    for (int i = 0; i < 200; ++i) block();
    EXPECT_EQ(TestSupport::allocationCount() - before, 0);
    EXPECT_GT(model->GetParameterValue(QuellinCorvane::kCutoffFrequency), 0.9f)
        << "the controller events were really played";
}

}  // namespace
