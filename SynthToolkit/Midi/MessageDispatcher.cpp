#include "SynthToolkit/Midi/MessageDispatcher.h"

namespace SynthToolkit::Midi {

void MessageDispatcher::addNoteObserver(INoteObserver* observer) {
    noteOnObservers.add(observer);
    noteOffObservers.add(observer);
}

void MessageDispatcher::removeNoteObserver(INoteObserver* observer) {
    noteOnObservers.removeAll(observer);
    noteOffObservers.removeAll(observer);
}

void MessageDispatcher::addPolyPressureObserver(IPolyPressureObserver* observer) {
    polyPressureObservers.add(observer);
}
void MessageDispatcher::removePolyPressureObserver(IPolyPressureObserver* observer) {
    polyPressureObservers.removeAll(observer);
}
void MessageDispatcher::addControllerObserver(IControllerObserver* observer) {
    controllerObservers.add(observer);
}
void MessageDispatcher::removeControllerObserver(IControllerObserver* observer) {
    controllerObservers.removeAll(observer);
}
void MessageDispatcher::addProgramChangeObserver(IProgramChangeObserver* observer) {
    programChangeObservers.add(observer);
}
void MessageDispatcher::removeProgramChangeObserver(IProgramChangeObserver* observer) {
    programChangeObservers.removeAll(observer);
}
void MessageDispatcher::addChannelPressureObserver(IChannelPressureObserver* observer) {
    channelPressureObservers.add(observer);
}
void MessageDispatcher::removeChannelPressureObserver(IChannelPressureObserver* observer) {
    channelPressureObservers.removeAll(observer);
}
void MessageDispatcher::addPitchBendObserver(IPitchBendObserver* observer) {
    pitchBendObservers.add(observer);
}
void MessageDispatcher::removePitchBendObserver(IPitchBendObserver* observer) {
    pitchBendObservers.removeAll(observer);
}

void MessageDispatcher::noteOn(std::uint8_t channel, std::uint8_t note, std::uint8_t velocity) {
    noteOnObservers.forEach([&](INoteObserver* o) { o->noteOn(channel, note, velocity); });
}

void MessageDispatcher::noteOff(std::uint8_t channel, std::uint8_t note, std::uint8_t velocity) {
    noteOffObservers.forEach([&](INoteObserver* o) { o->noteOff(channel, note, velocity); });
}

void MessageDispatcher::polyPressure(std::uint8_t channel, std::uint8_t note,
                                     std::uint8_t pressure) {
    polyPressureObservers.forEach(
        [&](IPolyPressureObserver* o) { o->polyPressureChanged(channel, note, pressure); });
}

void MessageDispatcher::controlChange(std::uint8_t channel, std::uint8_t controller,
                                      std::uint8_t value) {
    controllerObservers.forEach(
        [&](IControllerObserver* o) { o->controllerChanged(channel, controller, value); });
}

void MessageDispatcher::programChange(std::uint8_t channel, std::uint8_t program) {
    programChangeObservers.forEach(
        [&](IProgramChangeObserver* o) { o->programChanged(channel, program); });
}

void MessageDispatcher::channelPressure(std::uint8_t channel, std::uint8_t pressure) {
    channelPressureObservers.forEach(
        [&](IChannelPressureObserver* o) { o->channelPressureChanged(channel, pressure); });
}

void MessageDispatcher::pitchBend(std::uint8_t channel, std::uint16_t value) {
    pitchBendObservers.forEach([&](IPitchBendObserver* o) { o->pitchBendChanged(channel, value); });
}

void MessageDispatcher::dispatch(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    if (status < 0x80 || status >= 0xF0) return;
    const auto channel = static_cast<std::uint8_t>(status & 0x0F);
    switch (status & 0xF0) {
        case 0x80: noteOff(channel, data1, data2); break;
        case 0x90:
            if (data2 > 0)
                noteOn(channel, data1, data2);
            else
                noteOff(channel, data1, data2);
            break;
        case 0xA0: polyPressure(channel, data1, data2); break;
        case 0xB0: controlChange(channel, data1, data2); break;
        case 0xC0: programChange(channel, data1); break;
        case 0xD0: channelPressure(channel, data1); break;
        default:  // 0xE0
            pitchBend(channel, static_cast<std::uint16_t>(data2 * 128 + data1));
            break;
    }
}

}  // namespace SynthToolkit::Midi
