// The MIDI events of a host's event list, as both builds' processEvents take them.
#pragma once

#include <cstdint>

#include "vst/VstInterface.h"

namespace VstMidi {

struct ShortMessage {
    VstInt32 deltaFrames;  // sample offset inside the block the list came with
    std::uint8_t status;
    std::uint8_t data1;
    std::uint8_t data2;
};

// Calls take(ShortMessage) for each MIDI event of the list, in order. Other event types, empty
// slots, a null list and a count below 1 give nothing.
template <typename Take>
void ForEachMidiEvent(const VstEvents* events, Take take) {
    if (events == nullptr) return;
    // The record declares two slots; a host allocates as many as it sends, so the list is
    // reached through a pointer rather than indexed as the two-element array.
    VstEvent* const* list = events->events;
    for (VstInt32 i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = list[i];
        if (event == nullptr || event->type != kVstMidiType) continue;
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
        take(ShortMessage{midi->deltaFrames, static_cast<std::uint8_t>(midi->midiData[0]),
                          static_cast<std::uint8_t>(midi->midiData[1]),
                          static_cast<std::uint8_t>(midi->midiData[2])});
    }
}

}  // namespace VstMidi
