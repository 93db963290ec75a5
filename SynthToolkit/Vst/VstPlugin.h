// The plug-in object the host talks to: owns the Model and the services, turns every host
// request into model and service calls, makes the host's MIDI events sample-accurate inside
// each block, and reports changes made inside the plug-in back to the host as automation.
//
// Threads: processEvents and processReplacing run on the host's audio thread and alone touch
// the MIDI queue; everything else comes from the host's other threads. Each processing span
// (smoothing plus rendering), each reset of the services and each sample-rate change holds the
// model's lock.
//
// Host input is checked here: parameter indices outside the model's count read 0 or "" and
// change nothing, programs outside 0..count-1 are ignored, NaN values are ignored and others
// are kept inside 0..1, sample rates that are not positive finite numbers are ignored, and
// chunks that are null, empty, negative in size or larger than kMaxChunkBytes are refused.
#pragma once

#include <cstdint>
#include <vector>

#include "SynthToolkit/ChunkWriter.h"
#include "SynthToolkit/IModelObserver.h"
#include "SynthToolkit/Model.h"
#include "SynthToolkit/Parameters/Smoother.h"
#include "SynthToolkit/ServiceDispatcher.h"
#include "vst/AudioEffectX.h"

namespace SynthToolkit::Vst {

struct PendingMidiEvent {
    std::int32_t deltaFrames;
    std::uint8_t status;
    std::uint8_t data1;
    std::uint8_t data2;
};

class VstPlugin : public AudioEffectX, public IModelObserver {
public:
    // The model's spans are never longer than the smoother buffers.
    static constexpr int kMaxSubBlock = Parameters::Smoother::kBufferSize;
    // Far beyond any chunk of this family; larger ones cannot be ours and are not copied.
    static constexpr VstInt32 kMaxChunkBytes = 1 << 20;
    // Queue storage reserved up front, so ordinary event traffic never allocates on the audio
    // thread. More events still fit: the queue grows once and keeps that capacity.
    static constexpr std::size_t kReservedMidiEvents = 1024;

    // Takes ownership of services and model; the model must have been built on services.
    // Category 2 marks a synth.
    VstPlugin(audioMasterCallback host, ServiceDispatcher* services, Model* model, int category,
              VstInt32 uniqueId);
    ~VstPlugin() override;
    VstPlugin(const VstPlugin&) = delete;
    VstPlugin& operator=(const VstPlugin&) = delete;

    // Null channel lists or channel pointers render nothing; the queued events are still
    // dispatched, so the queue never outlives the block.
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    // Queues MIDI events in the order given. A null list or a negative count queues nothing;
    // null entries and other event types are skipped.
    VstInt32 processEvents(VstEvents* events) override;
    void setSampleRate(float rate) override;
    void resume() override;
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    // Only tells the host; the value is already in the model.
    void setParameterAutomated(VstInt32 index, float value) override;
    void setProgram(VstInt32 program) override;
    void getProgramName(char* name) override;
    void setProgramName(char* name) override;
    // False with an empty text for an index outside the programs.
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
    // The group's short name followed by the parameter's, cut to the 8-byte field.
    void getParameterName(VstInt32 index, char* text) override;
    // The long name beside the short one, for hosts with room for it.
    bool getParameterProperties(VstInt32 index, VstParameterProperties* properties) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    VstInt32 getChunk(void** data, bool isPreset) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override;
    VstPlugCategory getPlugCategory() override;
    VstInt32 canDo(const char* text) override;
    VstInt32 getNumMidiInputChannels() override { return 1; }

    // Reports the model's current value of index to the host.
    void parameterChanged(int index) override;
    void modelChanged() override {}

    Model* model() const { return ownedModel; }
    ServiceDispatcher* services() const { return ownedServices; }

private:
    bool isParameter(VstInt32 index) const {
        return index >= 0 && index < ownedModel->parameterCount();
    }
    void processBlock(float** inputs, float** outputs, int start, int count);
    void dispatchMidi(const PendingMidiEvent& event);
    void dispatchQueuedMidi();
    void resetServices();

    ServiceDispatcher* ownedServices;
    Model* ownedModel;
    int category;
    ChunkWriter chunkWriter;
    // A FIFO: events are taken from midiHead on, and the storage is emptied (keeping its
    // capacity) once everything is taken.
    std::vector<PendingMidiEvent> midiQueue;
    std::size_t midiHead = 0;
    std::vector<float*> inputPointers;
    std::vector<float*> outputPointers;
};

}  // namespace SynthToolkit::Vst
