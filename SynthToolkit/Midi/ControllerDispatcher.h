// Sorts control changes by meaning. It subscribes to every control change of the message
// dispatcher it is given, which must outlive it.
#pragma once

#include "SynthToolkit/Midi/IControllerProvider.h"
#include "SynthToolkit/Midi/IMessageProvider.h"
#include "SynthToolkit/ObserverList.h"

namespace SynthToolkit::Midi {

class ControllerDispatcher : public IControllerProvider, public IControllerObserver {
public:
    explicit ControllerDispatcher(IMessageProvider* messageProvider);
    ~ControllerDispatcher() override;
    ControllerDispatcher(const ControllerDispatcher&) = delete;
    ControllerDispatcher& operator=(const ControllerDispatcher&) = delete;

    void addModulationObserver(IPairedControllerObserver* observer) override;
    void removeModulationObserver(IPairedControllerObserver* observer) override;
    void addVolumeObserver(IPairedControllerObserver* observer) override;
    void removeVolumeObserver(IPairedControllerObserver* observer) override;
    void addExpressionObserver(IPairedControllerObserver* observer) override;
    void removeExpressionObserver(IPairedControllerObserver* observer) override;
    void addSustainObserver(ISustainObserver* observer) override;
    void removeSustainObserver(ISustainObserver* observer) override;
    void addAllSoundOffObserver(IAllSoundOffObserver* observer) override;
    void removeAllSoundOffObserver(IAllSoundOffObserver* observer) override;
    void addResetAllControllersObserver(IResetAllControllersObserver* observer) override;
    void removeResetAllControllersObserver(IResetAllControllersObserver* observer) override;
    void addAllNotesOffObserver(IAllNotesOffObserver* observer) override;
    void removeAllNotesOffObserver(IAllNotesOffObserver* observer) override;
    void addOmniModeObserver(IOmniModeObserver* observer) override;
    void removeOmniModeObserver(IOmniModeObserver* observer) override;

    // Decides by the low 8 bits of controller; numbers without a list are ignored. No state is
    // kept: a repeated value is delivered again.
    void controllerChanged(int channel, int controller, int value) override;

    virtual void modulationCoarse(int channel, int value);
    virtual void modulationFine(int channel, int value);
    virtual void volumeCoarse(int channel, int value);
    virtual void volumeFine(int channel, int value);
    virtual void expressionCoarse(int channel, int value);
    virtual void expressionFine(int channel, int value);
    virtual void sustainChanged(int channel, int on);
    virtual void allSoundOff(int channel);
    virtual void resetAllControllers(int channel);
    virtual void allNotesOff(int channel);
    virtual void omniModeChanged(int channel, int on);

private:
    ObserverList<IPairedControllerObserver> modulationCoarseObservers;
    ObserverList<IPairedControllerObserver> modulationFineObservers;
    ObserverList<IPairedControllerObserver> volumeCoarseObservers;
    ObserverList<IPairedControllerObserver> volumeFineObservers;
    ObserverList<IPairedControllerObserver> expressionCoarseObservers;
    ObserverList<IPairedControllerObserver> expressionFineObservers;
    ObserverList<ISustainObserver> sustainObservers;
    ObserverList<IAllSoundOffObserver> allSoundOffObservers;
    ObserverList<IResetAllControllersObserver> resetAllControllersObservers;
    ObserverList<IAllNotesOffObserver> allNotesOffObservers;
    ObserverList<IOmniModeObserver> omniModeObservers;
    IMessageProvider* provider;
};

}  // namespace SynthToolkit::Midi
