// The audio thread's calls allocate nothing once the plug-in is running: every operator new in
// this executable is counted, and the steady-state blocks must not add to the count.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "VstToolkit/Controller.h"
#include "effect/x64/QuellinCorvaneModel.h"

namespace {
std::atomic<long> allocations{0};
// Keeps the probe allocation from being optimised away with its delete.
int* volatile probeAllocation = nullptr;
}  // namespace

// The replacements pair malloc with free on purpose.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size != 0 ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

VstTimeInfo hostTime{};

// Answers like a real host without keeping a record, which would allocate.
VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) return kVstVersion;
    if (opcode == audioMasterGetTime) return reinterpret_cast<VstIntPtr>(&hostTime);
    return 0;
}

TEST(AudioThread, ProcessingAndEventsAllocateNothingInSteadyState) {
    const long probe = allocations.load();
    probeAllocation = new int(1);
    delete probeAllocation;
    ASSERT_EQ(allocations.load(), probe + 1) << "the counting allocator is not in use";

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

    const long before = allocations.load();
    for (int i = 0; i < 200; ++i) block();
    EXPECT_EQ(allocations.load() - before, 0);
    EXPECT_GT(model->GetParameterValue(QuellinCorvane::kCutoffFrequency), 0.9f)
        << "the controller events were really played";
}

}  // namespace
