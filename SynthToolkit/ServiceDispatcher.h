// The one services object of a plug-in instance: host sample rate, tempo and position, the
// registries of objects to reset, notify or smooth, and the two MIDI fan-out objects. Created
// first and deleted last, so every registered object can leave in its own destructor. It holds
// no lock; the plug-in calls it with the model's lock held.
#pragma once

#include "SynthToolkit/IServiceProvider.h"
#include "SynthToolkit/Midi/ControllerDispatcher.h"
#include "SynthToolkit/Midi/MessageDispatcher.h"
#include "SynthToolkit/ObserverList.h"

namespace SynthToolkit {

class ServiceDispatcher : public IServiceProvider {
public:
    ServiceDispatcher();
    ServiceDispatcher(const ServiceDispatcher&) = delete;
    ServiceDispatcher& operator=(const ServiceDispatcher&) = delete;

    float currentSampleRate() const override { return sampleRate; }
    float currentTempo() const override { return tempo; }
    // NaN until the host first supplies a position.
    float currentSongPosition() const override { return songPosition; }
    Midi::IMessageProvider* messageProvider() override { return &messages; }
    Midi::IControllerProvider* controllerProvider() override { return &controllers; }
    Midi::MessageDispatcher& messageDispatcher() { return messages; }

    void addResettable(IResettable* object) override { resettables.add(object); }
    void removeResettable(IResettable* object) override { resettables.removeAll(object); }
    void addSampleRateObserver(ISampleRateObserver* object) override {
        sampleRateObservers.add(object);
    }
    void removeSampleRateObserver(ISampleRateObserver* object) override {
        sampleRateObservers.removeAll(object);
    }
    void addSmoothable(ISmoothable* object) override { smoothables.add(object); }
    void removeSmoothable(ISmoothable* object) override { smoothables.removeAll(object); }
    void addTempoObserver(ITempoObserver* object) override { tempoObservers.add(object); }
    void removeTempoObserver(ITempoObserver* object) override { tempoObservers.removeAll(object); }
    void addSongPositionObserver(ISongPositionObserver* object) override {
        songPositionObservers.add(object);
    }
    void removeSongPositionObserver(ISongPositionObserver* object) override {
        songPositionObservers.removeAll(object);
    }

    // Each stores the value and notifies its observers only when it differs from the stored
    // one. Rates that are not positive finite numbers, and tempos or positions that are not
    // finite, are ignored: every coefficient downstream would turn into NaN.
    void setSampleRate(float rate);
    void setTempo(float beatsPerMinute);
    void setSongPosition(float quarterNotes);

    void resetAll();
    // frames is at most the smoothers' buffer length (16384); audio thread.
    void smoothAll(int frames);

private:
    float sampleRate = 44100.0f;
    float tempo = 120.0f;
    float songPosition;
    ObserverList<IResettable> resettables;
    ObserverList<ISampleRateObserver> sampleRateObservers;
    ObserverList<ISmoothable> smoothables;
    ObserverList<ITempoObserver> tempoObservers;
    ObserverList<ISongPositionObserver> songPositionObservers;
    // In this order: the controller dispatcher subscribes to the message dispatcher, and goes
    // first when the services are destroyed.
    Midi::MessageDispatcher messages;
    Midi::ControllerDispatcher controllers;
};

}  // namespace SynthToolkit
