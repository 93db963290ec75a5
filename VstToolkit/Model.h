// The plug-in state, apart from the host boundary (Controller) and the editor (View): identity,
// a bank of programs (a name and one normalised value per parameter each), per-parameter
// names, labels, display texts and defaults, host time, the MIDI controller map with its
// learning state, and the queue of MIDI events for the coming block.
//
// An effect derives from Model and reacts through the On... hooks, which run after the new
// state is stored. The current value of a parameter is its value in the selected program.
//
// Threads: parameter, program, sample-rate and chunk operations arrive on the host's
// user-interface thread; ProcessBlock, the MIDI hooks and every change a learned controller
// makes run on the audio thread. No lock is taken anywhere. The two sides meet like this:
// - Document (program values, display texts, the controller map, the selected program, the
//   sample rate; program names stay on the user-interface thread): every field both threads
//   touch is an atomic, and a display text is one 8-byte atomic, so no text mixes two values.
// - Render state (what Process uses): the effect keeps it and changes it only on the audio
//   thread, in the Apply... hooks, which a RenderHandOver feeds at the start of each block. A
//   learned controller's change is applied on the spot, at its sample.
// - Chunks read on the user-interface thread never mix two states of the audio thread's
//   changes: those are made inside a second ChangeSequence, and getChunk reads again when it
//   moved.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "VstToolkit/ChangeSequence.h"
#include "VstToolkit/Chunk.h"
#include "VstToolkit/MidiEventQueue.h"
#include "VstToolkit/ModelObserver.h"
#include "VstToolkit/RenderHandOver.h"
#include "vst/VstInterface.h"

namespace VstToolkit {

class Controller;

struct ParameterInfo {
    const char* name;       // up to 63 characters
    const char* shortName;  // up to 7; what the host is given
    const char* unit;       // up to 7
    float defaultValue;     // normalised
};

// A parameter's display text as one value: up to 7 characters and the terminator.
struct DisplayText {
    char text[kVstMaxParamStrLen];
};

// What an effect tells its Model at construction; sizes never change afterwards.
struct PluginDescription {
    const char* effectName;
    const char* vendorString;
    const char* productString;
    VstInt32 uniqueId;
    VstInt32 vendorVersion;  // also the chunk format version
    VstInt32 category;
    VstInt32 programCount;
    VstInt32 inputCount;
    VstInt32 outputCount;
    const char* initialProgramName;
    const ParameterInfo* parameters;
    VstInt32 parameterCount;
};

class Model {
public:
    static constexpr VstInt32 kControllerCount = 128;
    static constexpr VstInt32 kHeaderBytes = 164;

    explicit Model(const PluginDescription& description);
    virtual ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // Renders count frames from offset on, in the host's channel buffers. Audio thread.
    virtual void Process(float** inputs, float** outputs, VstInt32 offset, VstInt32 count) = 0;

    virtual void SerializeSelectedProgram(ChunkBuffer& buffer);
    virtual bool DeserializeSelectedProgram(ChunkReader& reader);
    virtual void SerializeBank(ChunkBuffer& buffer);
    virtual bool DeserializeBank(ChunkReader& reader);

    // Hooks; the base versions do nothing. OnSampleRateChanged, OnSelectedProgramChanged and
    // OnParameterValueChanged run on the thread that changed the document: they keep the
    // display texts and must not touch the render state.
    virtual void OnSampleRateChanged(float /*previous*/, float /*current*/) {}
    // Host time: called from processReplacing, audio thread.
    virtual void OnTempoChanged(double /*previous*/, double /*current*/) {}
    virtual void OnPositionChanged(double /*previous*/, double /*current*/) {}
    virtual void OnTransportChanged(bool /*playing*/) {}
    virtual void OnTimeSignatureChanged(VstInt32 /*previousNumerator*/,
                                        VstInt32 /*previousDenominator*/, VstInt32 /*numerator*/,
                                        VstInt32 /*denominator*/) {}
    virtual void OnSelectedProgramChanged(VstInt32 /*previous*/, VstInt32 /*current*/) {}
    // After a value was stored in the selected program: host, editor, MIDI or chunk.
    virtual void OnParameterValueChanged(VstInt32 /*index*/, float /*previous*/,
                                         float /*current*/) {}
    // Render-state hooks: audio thread only (or before the instance is shared), between the
    // pieces of a block, in the order the changes were made. A program change is followed by
    // every parameter value.
    virtual void ApplyProgramChange() {}
    virtual void ApplyParameterValue(VstInt32 /*index*/, float /*value*/) {}
    virtual void ApplySampleRate(float /*rate*/) {}
    // MIDI hooks, audio thread, between the pieces of a block; channel is 0..15.
    virtual void OnNoteOn(VstInt32 /*deltaFrames*/, VstInt32 /*channel*/, VstInt32 /*note*/,
                          VstInt32 /*velocity*/) {}
    virtual void OnNoteOff(VstInt32 /*deltaFrames*/, VstInt32 /*channel*/, VstInt32 /*note*/,
                           VstInt32 /*velocity*/) {}
    virtual void OnPolyPressure(VstInt32 /*deltaFrames*/, VstInt32 /*channel*/, VstInt32 /*note*/,
                                VstInt32 /*pressure*/) {}
    virtual void OnControlChange(VstInt32 /*deltaFrames*/, VstInt32 /*channel*/,
                                 VstInt32 /*controller*/, VstInt32 /*value*/) {}
    virtual void OnProgramChange(VstInt32 /*deltaFrames*/, VstInt32 /*channel*/,
                                 VstInt32 /*program*/) {}
    virtual void OnChannelPressure(VstInt32 /*deltaFrames*/, VstInt32 /*channel*/,
                                   VstInt32 /*pressure*/) {}
    // value is 0..16383, centre 8192.
    virtual void OnPitchBend(VstInt32 /*deltaFrames*/, VstInt32 /*channel*/, VstInt32 /*value*/) {}
    virtual void OnSustainOn(VstInt32 /*deltaFrames*/, VstInt32 /*channel*/) {}
    virtual void OnSustainOff(VstInt32 /*deltaFrames*/, VstInt32 /*channel*/) {}

    // The Controller is also the observer; SetObserver replaces the observer alone (a model
    // without a Controller, or one whose changes go elsewhere). Before the instance is shared.
    void SetController(Controller* owner);
    Controller* GetController() const { return controller; }
    void SetObserver(ModelObserver* newObserver) { observer = newObserver; }

    const char* GetEffectName() const;
    const char* GetVendorString() const;
    const char* GetProductString() const;
    VstInt32 GetUniqueId() const;
    VstInt32 GetVendorVersion() const;
    VstInt32 GetPluginCategory() const;
    VstInt32 GetProgramCount() const;
    VstInt32 GetParameterCount() const { return parameterCount; }
    VstInt32 GetInputCount() const;
    VstInt32 GetOutputCount() const;

    // Program and parameter indices are the caller's to keep in range (the Controller checks
    // what comes from the host).
    VstInt32 GetSelectedProgramIndex() const {
        return selectedProgram.load(std::memory_order_acquire);
    }
    // Calls OnSelectedProgramChanged even when the index stays the same.
    void SetSelectedProgramIndex(VstInt32 index);
    // Names belong to the user-interface thread.
    const char* GetSelectedProgramName() const { return ProgramName(GetSelectedProgramIndex()); }
    void SetSelectedProgramName(const char* name);
    const char* ProgramName(VstInt32 program) const { return programNames[program].text; }
    float ProgramValue(VstInt32 program, VstInt32 parameter) const {
        return programValues[ValueSlot(program, parameter)].load(std::memory_order_acquire);
    }

    float GetParameterValue(VstInt32 index) const {
        return ProgramValue(GetSelectedProgramIndex(), index);
    }
    // Stores the value unchecked and calls OnParameterValueChanged even when it is unchanged.
    void SetParameterValue(VstInt32 index, float value);
    const char* GetParameterShortName(VstInt32 index) const;
    const char* GetParameterLongName(VstInt32 index) const;
    const char* GetParameterLabel(VstInt32 index) const { return parameterLabels[index].text; }
    // A copy: the text can change on the audio thread at any time, never half-way.
    DisplayText GetParameterDisplay(VstInt32 index) const;
    float GetParameterDefault(VstInt32 index) const { return parameterDefaults[index]; }
    void SetParameterDisplay(VstInt32 index, const char* text);
    void SetIntegerParameterDisplay(VstInt32 index, VstInt32 value);
    void SetFloatParameterDisplay(VstInt32 index, float value);

    // value x count truncated, the last entry for 1.0. Values outside 0..1 (or NaN) select the
    // nearest end of the list rather than an entry that does not exist.
    VstInt32 NormalizedFloatToSelection(float value, VstInt32 count);

    float GetSampleRate() const { return sampleRate.load(std::memory_order_acquire); }
    // A new rate calls OnSampleRateChanged; the same rate, or one that is not a positive
    // finite number, changes nothing.
    void SetSampleRate(float rate);

    double GetTempo() const { return tempo; }
    double GetPosition() const { return position; }
    bool IsTransportPlaying() const { return transportPlaying; }
    VstInt32 GetTimeSignatureNumerator() const { return timeSignatureNumerator; }
    VstInt32 GetTimeSignatureDenominator() const { return timeSignatureDenominator; }
    // Each stores and calls its hook only on a real change (NaN counts as no change).
    void SetTempo(double bpm);
    void SetPosition(double quarterNotes);
    void SetTransportPlaying(bool playing);
    void SetTimeSignature(VstInt32 numerator, VstInt32 denominator);

    // MIDI: see ModelMidi.cpp.
    void PushMidiEvent(const MidiEvent& event);
    // A host's change of a parameter at a sample offset of the coming block, for formats whose
    // hosts send changes with the audio (VST3). Applied like a learned controller's change, at
    // its sample; an index out of range is ignored. Audio thread, in order of offset.
    void PushParameterChange(VstInt32 index, float value, VstInt32 deltaFrames);
    // A host's program change made with the audio (VST3): selects the program and hands it to
    // the render state at once, as SetSelectedProgramIndex does at the next block. An index out
    // of range is ignored. Audio thread, between blocks.
    void SelectProgramFromAudio(VstInt32 index);
    // Takes the user-interface thread's changes, then renders one host block in pieces cut at
    // the queued events' and parameter changes' offsets (at the same offset, MIDI comes first).
    // An empty block applies the queued parameter changes and keeps the MIDI events. Audio
    // thread.
    void ProcessBlock(float** inputs, float** outputs, VstInt32 sampleFrames);
    // Hands the user-interface thread's changes to the render state through the Apply...
    // hooks; false, changing nothing, while a group of changes is under way. Audio thread, or
    // any thread while nothing processes (construction, tests).
    bool SyncRenderState();
    // For the user-interface thread's readers of several values at once: read between
    // BeginStableRead and a true EndStableRead, the values belong to one state of the audio
    // thread's changes.
    std::uint32_t BeginStableRead() const;
    bool EndStableRead(std::uint32_t begin) const { return audioChanges.ReadValid(begin); }
    bool IsLearningMidi() const;
    void StartLearningMidi(VstInt32 parameter);
    void StopLearningMidi();
    // Only for a mapped controller.
    VstInt32 ControllerToParameter(VstInt32 controllerNumber) const;
    // The lowest controller bound to the parameter, kControllerCount when there is none.
    VstInt32 ParameterToController(VstInt32 parameter) const;
    bool IsControllerMapped(VstInt32 controllerNumber) const;
    // Controller numbers outside 0..127 are ignored.
    void RegisterMidiControllerMapping(VstInt32 controllerNumber, VstInt32 parameter);
    void UnregisterMidiControllerMapping(VstInt32 controllerNumber);
    void ClearMidiControllerMap();
    // What MIDI learn does once a controller arrives: the parameter's earlier controller is
    // unbound and this one bound to it.
    void BindLearnedController(VstInt32 controllerNumber, VstInt32 parameter);
    // Carries out one of the editor's MIDI learn actions, then tells the observer. The
    // user-interface thread.
    void ApplyMidiLearnCommand(const MidiLearnCommand& command);
    void DispatchController(VstInt32 deltaFrames, VstInt32 channel, VstInt32 controllerNumber,
                            VstInt32 value);

protected:
    // Chunk parts shared by the serialisers.
    void WriteHeader(ChunkBuffer& buffer);
    bool ReadHeader(ChunkReader& reader, VstInt32& version);

private:
    template <std::size_t N>
    struct Text {
        char text[N];
    };
    static constexpr VstInt32 kUnmapped = -1;
    static constexpr VstInt32 kNotLearning = -1;

    std::size_t ValueSlot(VstInt32 program, VstInt32 parameter) const {
        return static_cast<std::size_t>(program) * static_cast<std::size_t>(parameterCount) +
               static_cast<std::size_t>(parameter);
    }
    void WriteProgram(ChunkBuffer& buffer, VstInt32 program);
    void DispatchEvent(const MidiEvent& event);
    // Plays the earliest queued MIDI event or parameter change; false when both queues are empty.
    bool DispatchNext();
    void StoreValue(VstInt32 program, VstInt32 parameter, float value) {
        programValues[ValueSlot(program, parameter)].store(value, std::memory_order_release);
    }
    // A learned controller's change: stored and shown like a host change, applied at once.
    void SetParameterValueFromAudio(VstInt32 index, float value);

    Controller* controller = nullptr;
    ModelObserver* observer = nullptr;
    char effectName[kVstMaxEffectNameLen];
    char vendorString[kVstMaxVendorStrLen];
    char productString[kVstMaxProductStrLen];
    VstInt32 uniqueId;
    VstInt32 vendorVersion;
    VstInt32 pluginCategory;
    std::vector<Text<kVstMaxProgNameLen>> programNames;  // user-interface thread only
    // Program-major rows of parameterCount values. Written by the user-interface thread (host,
    // editor, chunks) and the audio thread (learned controllers); read by both.
    std::unique_ptr<std::atomic<float>[]> programValues;
    // Controller to parameter, kUnmapped when free. Written by both threads (menus, chunks;
    // learning), read by both.
    std::atomic<VstInt32> midiControllerMap[kControllerCount];
    std::vector<Text<kVstMaxParamStrLen>> parameterShortNames;
    std::vector<Text<64>> parameterLongNames;
    std::vector<Text<kVstMaxParamStrLen>> parameterLabels;
    // One 8-byte text each. Written by whichever thread changed the value, read by the
    // user-interface thread.
    std::unique_ptr<std::atomic<std::uint64_t>[]> parameterDisplays;
    std::vector<float> parameterDefaults;
    VstInt32 programCount;
    VstInt32 parameterCount;
    VstInt32 inputCount;
    VstInt32 outputCount;
    // Written by the user-interface thread (and the audio thread's SelectProgramFromAudio),
    // read by both. Whichever write comes last, the render state ends up with that program: a
    // stamped program change reads the values of the program selected when it is taken.
    std::atomic<VstInt32> selectedProgram{0};
    std::atomic<float> sampleRate{44100.0f};
    // Host time: audio thread only.
    double tempo = 120.0;
    double position = 0.0;
    bool transportPlaying = true;
    VstInt32 timeSignatureNumerator = 4;
    VstInt32 timeSignatureDenominator = 4;
    MidiEventQueue midiEvents;              // audio thread only
    ParameterChangeQueue parameterChanges;  // audio thread only
    // The parameter being learned, kNotLearning when idle. Set by the user-interface thread's
    // menus, ended by either thread.
    std::atomic<VstInt32> learningParameter{kNotLearning};

    // The user-interface thread's changes to the render state: stamped there, taken by the
    // audio thread.
    RenderHandOver renderChanges;
    // The audio thread's changes to the document (learned values, learning), for readers of
    // several values on the user-interface thread.
    ChangeSequence audioChanges;
};

}  // namespace VstToolkit
