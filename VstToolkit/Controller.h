// The object the host talks to: an AudioEffectX that owns the Model, turns every host request
// into Model operations, keeps the editor's view in step and reports changes made in the
// editor or by a learned MIDI controller to the host as automation.
//
// Threads: processReplacing and processEvents (and so all MIDI handling and the model's
// OnModel... callbacks) run on the host's audio thread; everything else on its user-interface
// thread. No lock is taken. The audio thread never touches the view, which may be closing at
// that moment: it leaves marks that the editor's idle turns into view updates.
//
// Host indices are checked here: a parameter outside 0..count-1 or a program outside
// 0..count-1 reads and writes nothing and answers 0 or an empty text.
#pragma once

#include <atomic>
#include <cstdint>

#include "VstToolkit/Chunk.h"
#include "VstToolkit/Model.h"
#include "VstToolkit/ModelObserver.h"
#include "VstToolkit/ViewInterface.h"
#include "vst/AudioEffectX.h"

namespace VstToolkit {

class Controller : public AudioEffectX, public ModelObserver {
public:
    // Chunks larger than this cannot be ours; setChunk refuses them untouched.
    static constexpr VstInt32 kMaxChunkBytes = 1 << 20;

    // Takes ownership of the model.
    Controller(audioMasterCallback host, Model* model);
    ~Controller() override;

    // Rates that are not positive finite numbers are ignored.
    void setSampleRate(float rate) override;
    void setBlockSize(VstInt32 size) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void setProgram(VstInt32 program) override;
    void getProgramName(char* name) override;
    void setProgramName(char* name) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    void getParameterName(VstInt32 index, char* text) override;
    // The long name ("Cutoff Freq.") beside the short one, for hosts with room for it.
    bool getParameterProperties(VstInt32 index, VstParameterProperties* properties) override;
    VstInt32 getChunk(void** data, bool isPreset) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;
    VstInt32 processEvents(VstEvents* events) override;
    VstInt32 canDo(const char* text) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override;
    VstPlugCategory getPlugCategory() override;

    Model* GetModel() const { return model; }

    // The editor sets its view when it opens (then pushes every value to it) and null when
    // the view goes away.
    void SetView(ViewInterface* newView);
    // Pushes every current value to the view, whatever happened before.
    void PushParametersToView();
    // The user moved a control: store, then tell the host. User-interface thread.
    void OnViewParameterValueChanged(VstInt32 index, float value);
    // The user took hold of a control and let go of it again: the host hears beginEdit and
    // endEdit around the changes, so it can record touch automation. User-interface thread.
    void OnViewGestureBegan(VstInt32 index);
    void OnViewGestureEnded(VstInt32 index);
    // A learned controller changed a value: tell the host, and the view on the next idle.
    // Audio thread.
    void OnModelParameterValueChanged(VstInt32 index, float value, VstInt32 deltaFrames) override;
    // A controller was bound by MIDI learn: the "Learning..." text goes on the next idle.
    // Audio thread.
    void OnModelMidiLearned(VstInt32 controllerNumber, VstInt32 parameter,
                            VstInt32 deltaFrames) override;
    // Shows in the view what the audio thread changed since the last call. The editor's idle,
    // user-interface thread.
    void ShowAudioThreadChanges();
    void UpdateViewParameters();

private:
    bool IsParameter(VstInt32 index) const {
        return index >= 0 && index < model->GetParameterCount();
    }
    void UpdateTimeInfo();

    // The bit of viewUpdates for a finished MIDI learn; the bits below it are parameters.
    static constexpr VstInt32 kLearnedBit = 31;

    Model* model;
    ViewInterface* view = nullptr;  // user-interface thread only
    ChunkBuffer chunk;              // user-interface thread only
    // Set by the audio thread, taken by the user-interface thread's idle.
    std::atomic<std::uint32_t> viewUpdates{0};
};

}  // namespace VstToolkit
