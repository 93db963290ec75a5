// First-in first-out queues of the coming block's MIDI events and parameter changes. Each keeps
// its storage: after the first blocks it never allocates again unless a block brings more events
// than ever before.
#pragma once

#include <cstdint>
#include <vector>

#include "vst/VstInterface.h"

namespace VstToolkit {

struct MidiEvent {
    VstInt32 deltaFrames;  // sample offset inside the host block the event came with
    std::uint8_t status;
    std::uint8_t data1;
    std::uint8_t data2;
};

// A host's parameter change at a sample offset of the block it came with.
struct ParameterChange {
    VstInt32 deltaFrames;
    VstInt32 index;
    float value;  // normalised
};

template <typename Event>
class EventQueue {
public:
    static constexpr std::size_t kInitialCapacity = 1024;

    EventQueue() : slots(kInitialCapacity) {}

    bool Empty() const { return count == 0; }
    std::size_t Size() const { return count; }

    void PushBack(const Event& event) {
        if (count == slots.size()) Grow();
        slots[(head + count) % slots.size()] = event;
        ++count;
    }

    // Only when not empty.
    const Event& Front() const { return slots[head]; }
    Event PopFront() {
        const Event event = slots[head];
        head = (head + 1) % slots.size();
        --count;
        return event;
    }

private:
    void Grow() {
        std::vector<Event> larger(slots.size() * 2);
        for (std::size_t i = 0; i < count; ++i) larger[i] = slots[(head + i) % slots.size()];
        slots.swap(larger);
        head = 0;
    }

    std::vector<Event> slots;
    std::size_t head = 0;
    std::size_t count = 0;
};

using MidiEventQueue = EventQueue<MidiEvent>;
using ParameterChangeQueue = EventQueue<ParameterChange>;

}  // namespace VstToolkit
