// MIDI events and the VstEvents block that carries them to effProcessEvents.
#pragma once

#include <cstddef>
#include <vector>

#include "vst/VstInterface.h"

namespace VstHost {

// Channels are 0 to 15; data bytes are masked to 7 bits.
VstMidiEvent makeMidiEvent(VstInt32 deltaFrames, unsigned char status, unsigned char data1,
                           unsigned char data2);
VstMidiEvent makeControlChange(VstInt32 deltaFrames, int channel, int controller, int value);
VstMidiEvent makeNoteOn(VstInt32 deltaFrames, int channel, int note, int velocity);
VstMidiEvent makeNoteOff(VstInt32 deltaFrames, int channel, int note, int velocity = 0);

// The declared VstEvents has room for two event pointers only; a real block is the header
// followed by numEvents pointers, so it is laid out here in storage of the right size. The
// events themselves are copied and live as long as the block.
class EventBlock {
public:
    explicit EventBlock(std::vector<VstMidiEvent> events);
    EventBlock(const EventBlock&) = delete;
    EventBlock& operator=(const EventBlock&) = delete;
    EventBlock(EventBlock&&) = default;
    EventBlock& operator=(EventBlock&&) = default;

    VstEvents* get() { return reinterpret_cast<VstEvents*>(storage.data()); }
    std::size_t size() const { return events.size(); }

private:
    std::vector<VstMidiEvent> events;
    // Whole pointer-sized words keep the header and the pointer slots aligned.
    std::vector<VstIntPtr> storage;
};

}  // namespace VstHost
