// Registration for the standard controllers, sorted by meaning, so an observer need not decode
// controller numbers. Called on the audio thread at the message's sample position.
#pragma once

namespace SynthToolkit::Midi {

// Modulation wheel, channel volume and expression: both 7-bit halves as they arrive. Combining
// them into 14 bits is the observer's business.
class IPairedControllerObserver {
public:
    virtual ~IPairedControllerObserver() = default;
    virtual void coarseChanged(int channel, int value) = 0;
    virtual void fineChanged(int channel, int value) = 0;
};

// on is 1 for controller values of 64 and above.
class ISustainObserver {
public:
    virtual ~ISustainObserver() = default;
    virtual void sustainChanged(int channel, int on) = 0;
};

class IAllSoundOffObserver {
public:
    virtual ~IAllSoundOffObserver() = default;
    virtual void allSoundOff(int channel) = 0;
};

class IResetAllControllersObserver {
public:
    virtual ~IResetAllControllersObserver() = default;
    virtual void resetAllControllers(int channel) = 0;
};

class IAllNotesOffObserver {
public:
    virtual ~IAllNotesOffObserver() = default;
    virtual void allNotesOff(int channel) = 0;
};

// on is 0 for controller 124 (omni off), 1 for 125 (omni on).
class IOmniModeObserver {
public:
    virtual ~IOmniModeObserver() = default;
    virtual void omniModeChanged(int channel, int on) = 0;
};

// Adding appends (to both lists of a pair); removing deletes every registration.
class IControllerProvider {
public:
    virtual ~IControllerProvider() = default;
    virtual void addModulationObserver(IPairedControllerObserver* observer) = 0;
    virtual void removeModulationObserver(IPairedControllerObserver* observer) = 0;
    virtual void addVolumeObserver(IPairedControllerObserver* observer) = 0;
    virtual void removeVolumeObserver(IPairedControllerObserver* observer) = 0;
    virtual void addExpressionObserver(IPairedControllerObserver* observer) = 0;
    virtual void removeExpressionObserver(IPairedControllerObserver* observer) = 0;
    virtual void addSustainObserver(ISustainObserver* observer) = 0;
    virtual void removeSustainObserver(ISustainObserver* observer) = 0;
    virtual void addAllSoundOffObserver(IAllSoundOffObserver* observer) = 0;
    virtual void removeAllSoundOffObserver(IAllSoundOffObserver* observer) = 0;
    virtual void addResetAllControllersObserver(IResetAllControllersObserver* observer) = 0;
    virtual void removeResetAllControllersObserver(IResetAllControllersObserver* observer) = 0;
    virtual void addAllNotesOffObserver(IAllNotesOffObserver* observer) = 0;
    virtual void removeAllNotesOffObserver(IAllNotesOffObserver* observer) = 0;
    virtual void addOmniModeObserver(IOmniModeObserver* observer) = 0;
    virtual void removeOmniModeObserver(IOmniModeObserver* observer) = 0;
};

}  // namespace SynthToolkit::Midi
