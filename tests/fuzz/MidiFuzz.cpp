// A stream of MIDI events as a host delivers it, block by block, into processEvents and
// processReplacing: any status and data bytes, offsets inside, before and beyond the block,
// with a controller bound to every parameter so learned changes land mid-block.
#include "tests/fuzz/FuzzedInstance.h"

namespace {

void sendEvents(Fuzz::Instance& instance, const std::vector<VstMidiEvent>& midi) {
    std::vector<std::uint8_t> storage(sizeof(VstEvents) + midi.size() * sizeof(VstEvent*));
    auto* list = reinterpret_cast<VstEvents*>(storage.data());
    list->numEvents = static_cast<VstInt32>(midi.size());
    // The record declares two slots; a host allocates as many as it sends.
    VstEvent** slots = list->events;
    for (std::size_t i = 0; i < midi.size(); ++i)
        slots[i] = reinterpret_cast<VstEvent*>(const_cast<VstMidiEvent*>(&midi[i]));
    instance.Dispatch(effProcessEvents, 0, 0, list);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fuzz::Bytes bytes(data, size);
    Fuzz::Instance instance;
    instance.effect->setParameter(instance.effect, 0, 1.0f);  // both bands
    while (bytes.Left() > 0) {
        const VstInt32 frames = bytes.Byte();
        const int count = bytes.Byte() % 16;
        std::vector<VstMidiEvent> midi(static_cast<std::size_t>(count));
        for (VstMidiEvent& event : midi) {
            event = {};
            event.type = kVstMidiType;
            event.byteSize = sizeof(VstMidiEvent);
            event.deltaFrames = static_cast<std::int8_t>(bytes.Byte()) * 2;
            event.midiData[0] = static_cast<char>(bytes.Byte());
            event.midiData[1] = static_cast<char>(bytes.Byte());
            event.midiData[2] = static_cast<char>(bytes.Byte());
        }
        sendEvents(instance, midi);
        instance.Render(frames);
    }
    return 0;
}
