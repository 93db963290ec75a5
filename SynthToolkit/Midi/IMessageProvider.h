// Registration for decoded MIDI channel messages. Observers are called on the audio thread, at
// the message's sample position inside the block; no lock of the dispatcher is held (the
// model's lock is not held either). An observer must not register or unregister observers of
// the list that is calling it.
#pragma once

namespace SynthToolkit::Midi {

class INoteObserver {
public:
    virtual ~INoteObserver() = default;
    virtual void noteOn(int channel, int note, int velocity) = 0;
    virtual void noteOff(int channel, int note, int velocity) = 0;
};

class IPolyPressureObserver {
public:
    virtual ~IPolyPressureObserver() = default;
    virtual void polyPressureChanged(int channel, int note, int pressure) = 0;
};

// Every control change: channel 0..15, controller and value as received (0..127 from a
// conforming host).
class IControllerObserver {
public:
    virtual ~IControllerObserver() = default;
    virtual void controllerChanged(int channel, int controller, int value) = 0;
};

class IProgramChangeObserver {
public:
    virtual ~IProgramChangeObserver() = default;
    virtual void programChanged(int channel, int program) = 0;
};

class IChannelPressureObserver {
public:
    virtual ~IChannelPressureObserver() = default;
    virtual void channelPressureChanged(int channel, int pressure) = 0;
};

// value 0..16383, centre 8192.
class IPitchBendObserver {
public:
    virtual ~IPitchBendObserver() = default;
    virtual void pitchBendChanged(int channel, int value) = 0;
};

// Adding appends (twice means called twice); removing deletes every registration of that
// observer; removing one that is not registered does nothing.
class IMessageProvider {
public:
    virtual ~IMessageProvider() = default;
    // Both the note-on and the note-off list.
    virtual void addNoteObserver(INoteObserver* observer) = 0;
    virtual void removeNoteObserver(INoteObserver* observer) = 0;
    virtual void addPolyPressureObserver(IPolyPressureObserver* observer) = 0;
    virtual void removePolyPressureObserver(IPolyPressureObserver* observer) = 0;
    virtual void addControllerObserver(IControllerObserver* observer) = 0;
    virtual void removeControllerObserver(IControllerObserver* observer) = 0;
    virtual void addProgramChangeObserver(IProgramChangeObserver* observer) = 0;
    virtual void removeProgramChangeObserver(IProgramChangeObserver* observer) = 0;
    virtual void addChannelPressureObserver(IChannelPressureObserver* observer) = 0;
    virtual void removeChannelPressureObserver(IChannelPressureObserver* observer) = 0;
    virtual void addPitchBendObserver(IPitchBendObserver* observer) = 0;
    virtual void removePitchBendObserver(IPitchBendObserver* observer) = 0;
};

}  // namespace SynthToolkit::Midi
