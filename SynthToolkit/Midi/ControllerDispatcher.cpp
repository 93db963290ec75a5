#include "SynthToolkit/Midi/ControllerDispatcher.h"

namespace SynthToolkit::Midi {
namespace {

void callCoarse(const ObserverList<IPairedControllerObserver>& list, int channel, int value) {
    list.forEach([&](IPairedControllerObserver* o) { o->coarseChanged(channel, value); });
}

void callFine(const ObserverList<IPairedControllerObserver>& list, int channel, int value) {
    list.forEach([&](IPairedControllerObserver* o) { o->fineChanged(channel, value); });
}

}  // namespace

ControllerDispatcher::ControllerDispatcher(IMessageProvider* messageProvider)
    : provider(messageProvider) {
    if (provider != nullptr) provider->addControllerObserver(this);
}

ControllerDispatcher::~ControllerDispatcher() {
    if (provider != nullptr) provider->removeControllerObserver(this);
}

void ControllerDispatcher::addModulationObserver(IPairedControllerObserver* observer) {
    modulationCoarseObservers.add(observer);
    modulationFineObservers.add(observer);
}
void ControllerDispatcher::removeModulationObserver(IPairedControllerObserver* observer) {
    modulationCoarseObservers.removeAll(observer);
    modulationFineObservers.removeAll(observer);
}
void ControllerDispatcher::addVolumeObserver(IPairedControllerObserver* observer) {
    volumeCoarseObservers.add(observer);
    volumeFineObservers.add(observer);
}
void ControllerDispatcher::removeVolumeObserver(IPairedControllerObserver* observer) {
    volumeCoarseObservers.removeAll(observer);
    volumeFineObservers.removeAll(observer);
}
void ControllerDispatcher::addExpressionObserver(IPairedControllerObserver* observer) {
    expressionCoarseObservers.add(observer);
    expressionFineObservers.add(observer);
}
void ControllerDispatcher::removeExpressionObserver(IPairedControllerObserver* observer) {
    expressionCoarseObservers.removeAll(observer);
    expressionFineObservers.removeAll(observer);
}
void ControllerDispatcher::addSustainObserver(ISustainObserver* observer) {
    sustainObservers.add(observer);
}
void ControllerDispatcher::removeSustainObserver(ISustainObserver* observer) {
    sustainObservers.removeAll(observer);
}
void ControllerDispatcher::addAllSoundOffObserver(IAllSoundOffObserver* observer) {
    allSoundOffObservers.add(observer);
}
void ControllerDispatcher::removeAllSoundOffObserver(IAllSoundOffObserver* observer) {
    allSoundOffObservers.removeAll(observer);
}
void ControllerDispatcher::addResetAllControllersObserver(IResetAllControllersObserver* observer) {
    resetAllControllersObservers.add(observer);
}
void ControllerDispatcher::removeResetAllControllersObserver(
    IResetAllControllersObserver* observer) {
    resetAllControllersObservers.removeAll(observer);
}
void ControllerDispatcher::addAllNotesOffObserver(IAllNotesOffObserver* observer) {
    allNotesOffObservers.add(observer);
}
void ControllerDispatcher::removeAllNotesOffObserver(IAllNotesOffObserver* observer) {
    allNotesOffObservers.removeAll(observer);
}
void ControllerDispatcher::addOmniModeObserver(IOmniModeObserver* observer) {
    omniModeObservers.add(observer);
}
void ControllerDispatcher::removeOmniModeObserver(IOmniModeObserver* observer) {
    omniModeObservers.removeAll(observer);
}

void ControllerDispatcher::controllerChanged(int channel, int controller, int value) {
    switch (controller & 0xFF) {
        case 1: modulationCoarse(channel, value); break;
        case 33: modulationFine(channel, value); break;
        case 7: volumeCoarse(channel, value); break;
        case 39: volumeFine(channel, value); break;
        case 11: expressionCoarse(channel, value); break;
        case 43: expressionFine(channel, value); break;
        case 64: sustainChanged(channel, (value & 0xFF) >= 64 ? 1 : 0); break;
        case 120: allSoundOff(channel); break;
        case 121: resetAllControllers(channel); break;
        case 123: allNotesOff(channel); break;
        case 124: omniModeChanged(channel, 0); break;
        case 125: omniModeChanged(channel, 1); break;
        default: break;
    }
}

void ControllerDispatcher::modulationCoarse(int channel, int value) {
    callCoarse(modulationCoarseObservers, channel, value);
}
void ControllerDispatcher::modulationFine(int channel, int value) {
    callFine(modulationFineObservers, channel, value);
}
void ControllerDispatcher::volumeCoarse(int channel, int value) {
    callCoarse(volumeCoarseObservers, channel, value);
}
void ControllerDispatcher::volumeFine(int channel, int value) {
    callFine(volumeFineObservers, channel, value);
}
void ControllerDispatcher::expressionCoarse(int channel, int value) {
    callCoarse(expressionCoarseObservers, channel, value);
}
void ControllerDispatcher::expressionFine(int channel, int value) {
    callFine(expressionFineObservers, channel, value);
}
void ControllerDispatcher::sustainChanged(int channel, int on) {
    sustainObservers.forEach([&](ISustainObserver* o) { o->sustainChanged(channel, on); });
}
void ControllerDispatcher::allSoundOff(int channel) {
    allSoundOffObservers.forEach([&](IAllSoundOffObserver* o) { o->allSoundOff(channel); });
}
void ControllerDispatcher::resetAllControllers(int channel) {
    resetAllControllersObservers.forEach(
        [&](IResetAllControllersObserver* o) { o->resetAllControllers(channel); });
}
void ControllerDispatcher::allNotesOff(int channel) {
    allNotesOffObservers.forEach([&](IAllNotesOffObserver* o) { o->allNotesOff(channel); });
}
void ControllerDispatcher::omniModeChanged(int channel, int on) {
    omniModeObservers.forEach([&](IOmniModeObserver* o) { o->omniModeChanged(channel, on); });
}

}  // namespace SynthToolkit::Midi
