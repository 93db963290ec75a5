// Decodes raw MIDI channel messages and fans them out by kind. It is the single MIDI entry of
// the framework: the plug-in hands it every queued event at the event's sample offset.
#pragma once

#include <cstdint>

#include "SynthToolkit/Midi/IMessageProvider.h"
#include "SynthToolkit/ObserverList.h"

namespace SynthToolkit::Midi {

class MessageDispatcher : public IMessageProvider {
public:
    void addNoteObserver(INoteObserver* observer) override;
    void removeNoteObserver(INoteObserver* observer) override;
    void addPolyPressureObserver(IPolyPressureObserver* observer) override;
    void removePolyPressureObserver(IPolyPressureObserver* observer) override;
    void addControllerObserver(IControllerObserver* observer) override;
    void removeControllerObserver(IControllerObserver* observer) override;
    void addProgramChangeObserver(IProgramChangeObserver* observer) override;
    void removeProgramChangeObserver(IProgramChangeObserver* observer) override;
    void addChannelPressureObserver(IChannelPressureObserver* observer) override;
    void removeChannelPressureObserver(IChannelPressureObserver* observer) override;
    void addPitchBendObserver(IPitchBendObserver* observer) override;
    void removePitchBendObserver(IPitchBendObserver* observer) override;

    // Each calls its list front to back; virtual so a subclass can intercept one kind.
    virtual void noteOn(std::uint8_t channel, std::uint8_t note, std::uint8_t velocity);
    virtual void noteOff(std::uint8_t channel, std::uint8_t note, std::uint8_t velocity);
    virtual void polyPressure(std::uint8_t channel, std::uint8_t note, std::uint8_t pressure);
    virtual void controlChange(std::uint8_t channel, std::uint8_t controller, std::uint8_t value);
    virtual void programChange(std::uint8_t channel, std::uint8_t program);
    virtual void channelPressure(std::uint8_t channel, std::uint8_t pressure);
    virtual void pitchBend(std::uint8_t channel, std::uint16_t value);

    // Statuses below 0x80 (running status) and from 0xF0 (system, real time) are ignored; a
    // note-on with velocity 0 is a note-off. Data bytes are passed on as received. Audio thread.
    void dispatch(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

private:
    ObserverList<INoteObserver> noteOnObservers;
    ObserverList<INoteObserver> noteOffObservers;
    ObserverList<IPolyPressureObserver> polyPressureObservers;
    ObserverList<IControllerObserver> controllerObservers;
    ObserverList<IProgramChangeObserver> programChangeObservers;
    ObserverList<IChannelPressureObserver> channelPressureObservers;
    ObserverList<IPitchBendObserver> pitchBendObservers;
};

}  // namespace SynthToolkit::Midi
