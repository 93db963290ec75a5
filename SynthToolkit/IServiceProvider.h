// What every audio object sees of the services: host state and the registries. Adding or
// removing never notifies anybody; registration happens while an instance is built or torn
// down.
#pragma once

#include "SynthToolkit/ServiceInterfaces.h"

namespace SynthToolkit {

namespace Midi {
class IMessageProvider;
class IControllerProvider;
}  // namespace Midi

class IServiceProvider {
public:
    virtual ~IServiceProvider() = default;
    virtual float currentSampleRate() const = 0;
    virtual float currentTempo() const = 0;
    virtual float currentSongPosition() const = 0;
    virtual Midi::IMessageProvider* messageProvider() = 0;
    virtual Midi::IControllerProvider* controllerProvider() = 0;
    virtual void addResettable(IResettable* object) = 0;
    virtual void removeResettable(IResettable* object) = 0;
    virtual void addSampleRateObserver(ISampleRateObserver* object) = 0;
    virtual void removeSampleRateObserver(ISampleRateObserver* object) = 0;
    virtual void addSmoothable(ISmoothable* object) = 0;
    virtual void removeSmoothable(ISmoothable* object) = 0;
    virtual void addTempoObserver(ITempoObserver* object) = 0;
    virtual void removeTempoObserver(ITempoObserver* object) = 0;
    virtual void addSongPositionObserver(ISongPositionObserver* object) = 0;
    virtual void removeSongPositionObserver(ISongPositionObserver* object) = 0;
};

}  // namespace SynthToolkit
