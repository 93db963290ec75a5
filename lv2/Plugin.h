// The effect as an LV2 plug-in instance: ports in, the model driven on the audio thread, the
// bypass crossfade, MIDI learn from the panel's messages and the bindings in the state.
//
// Threads (as LV2 defines them): the constructor, Activate, Restore and the destructor run in
// the instantiation class, never beside Run; Connect and Run on the audio thread; Save may run
// beside Run. The model's atomics and sequence counts carry the bindings between Run and Save.
#pragma once

#include <lv2/atom/forge.h>
#include <lv2/state/state.h>

#include <cstdint>

#include "VstToolkit/ChangeSequence.h"
#include "VstToolkit/ModelObserver.h"
#include "dsp/BypassFade.h"
#include "effect/x64/QuellinCorvaneModel.h"
#include "lv2/Messages.h"
#include "lv2/Ports.h"

namespace QuellinCorvane::Lv2 {

class Plugin final : public VstToolkit::ModelObserver {
public:
    Plugin(double sampleRate, const LV2_URID_Map& map);
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // Unknown ports are ignored; null disconnects.
    void Connect(std::uint32_t port, void* data);
    // Clears the filters; the next Run takes the enabled port's state without a fade.
    void Activate();
    // Any frame count, 0 included. Without all four audio ports, the settings and the panel's
    // messages still apply, MIDI is dropped and any output connected is zeroed.
    // A control event running past the size its sequence claims ends the sequence there, and
    // a message's properties are read up to the first that runs past the message.
    void Run(std::uint32_t frames);

    LV2_State_Status Save(LV2_State_Store_Function store, LV2_State_Handle handle);
    // A state without bindings (a preset) keeps the current ones; a newer version, a wrong type
    // or a wrong count is refused and keeps them too. Allocates nothing.
    LV2_State_Status Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

    // The model's MIDI learn news, audio thread, inside Run: notifications at their frame.
    void OnModelMidiLearned(VstInt32 controllerNumber, VstInt32 parameter,
                            VstInt32 deltaFrames) override;
    void OnModelParameterValueChanged(VstInt32 index, float value, VstInt32 deltaFrames) override;

private:
    // Frames the bypass fade mixes per piece; longer runs are rendered in pieces.
    static constexpr std::uint32_t kScratchFrames = 1024;

    void ReadControlPorts();
    void HandleMessage(const LV2_Atom_Object& message);
    void RenderUntil(std::uint32_t end);
    void RenderPiece(std::uint32_t offset, std::uint32_t count);
    bool AudioConnected() const;
    // Binding of each controller, kUnbound when free; one consistent state of the map.
    void SnapshotBindings(std::int32_t (&bindings)[kBindingCount]) const;
    // Starts a notification object of type at frame (or the last one's, if later); false,
    // writing nothing, when the notify sequence lacks the bytes it needs (it stays valid: the
    // notification is dropped).
    bool BeginNotification(LV2_Atom_Forge_Frame& frame, LV2_URID type, std::uint32_t bytes,
                           std::int64_t time);
    void NotifyBindings();

    QuellinCorvaneModel model;
    const Urids urids;
    Dsp::BypassFade fade;

    // Audio thread only, below.
    const float* audioIn[2] = {nullptr, nullptr};
    float* audioOut[2] = {nullptr, nullptr};
    const float* parameterPorts[kParameterCount] = {};
    const float* enabledPort = nullptr;
    const LV2_Atom_Sequence* controlPort = nullptr;
    LV2_Atom_Sequence* notifyPort = nullptr;
    // The bits of each parameter port's value last applied (a change of bits is a change), or
    // kNeverSeen, which no float's bits equal.
    static constexpr std::uint64_t kNeverSeen = ~std::uint64_t{0};
    std::uint64_t lastSeen[kParameterCount];
    bool settleFade = true;
    LV2_Atom_Forge forge;
    LV2_Atom_Forge_Frame notifyFrame;
    bool notifying = false;
    std::uint32_t rendered = 0;     // frames of this run rendered so far
    std::uint32_t pieceStart = 0;   // where the piece being rendered starts
    std::int64_t lastNotified = 0;  // frame of this run's last notification
    std::uint32_t queuedMidi = 0;   // pushed to the model and not yet rendered
    float dry[2][kScratchFrames];

    // The map edits made here (the panel's actions) as one group each, for Save on another thread;
    // learning's own edits are grouped inside the model. Written by the audio thread.
    VstToolkit::ChangeSequence bindingEdits;
};

}  // namespace QuellinCorvane::Lv2
