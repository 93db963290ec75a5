#include "tools/host/MidiEvents.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace VstHost {

namespace {
unsigned char channelStatus(unsigned char kind, int channel) {
    return static_cast<unsigned char>(kind | (channel & 0x0F));
}
unsigned char dataByte(int value) {
    return static_cast<unsigned char>(value & 0x7F);
}
}  // namespace

VstMidiEvent makeMidiEvent(VstInt32 deltaFrames, unsigned char status, unsigned char data1,
                           unsigned char data2) {
    VstMidiEvent event;
    std::memset(&event, 0, sizeof(event));
    event.type = kVstMidiType;
    event.byteSize = static_cast<VstInt32>(sizeof(VstMidiEvent));
    event.deltaFrames = deltaFrames;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    return event;
}

VstMidiEvent makeControlChange(VstInt32 deltaFrames, int channel, int controller, int value) {
    return makeMidiEvent(deltaFrames, channelStatus(0xB0, channel), dataByte(controller),
                         dataByte(value));
}

VstMidiEvent makeNoteOn(VstInt32 deltaFrames, int channel, int note, int velocity) {
    return makeMidiEvent(deltaFrames, channelStatus(0x90, channel), dataByte(note),
                         dataByte(velocity));
}

VstMidiEvent makeNoteOff(VstInt32 deltaFrames, int channel, int note, int velocity) {
    return makeMidiEvent(deltaFrames, channelStatus(0x80, channel), dataByte(note),
                         dataByte(velocity));
}

EventBlock::EventBlock(std::vector<VstMidiEvent> midiEvents) : events(std::move(midiEvents)) {
    const std::size_t header = offsetof(VstEvents, events);
    const std::size_t bytes =
        std::max(sizeof(VstEvents), header + events.size() * sizeof(VstEvent*));
    storage.assign((bytes + sizeof(VstIntPtr) - 1) / sizeof(VstIntPtr), 0);

    auto* block = new (storage.data()) VstEvents{};
    block->numEvents = static_cast<VstInt32>(events.size());
    block->reserved = 0;
    // Index the slots from the raw storage: past the second one they lie outside the declared
    // array, and that is exactly the layout a plug-in expects.
    auto* slots = reinterpret_cast<VstEvent**>(reinterpret_cast<char*>(storage.data()) + header);
    for (std::size_t i = 0; i < events.size(); ++i)
        slots[i] = reinterpret_cast<VstEvent*>(&events[i]);
}

}  // namespace VstHost
