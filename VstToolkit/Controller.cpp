#include "VstToolkit/Controller.h"

#include <cmath>
#include <cstring>

#include "vst/AEffEditor.h"
#include "vst/MidiEvents.h"
#include "vst/TextTools.h"
#include "vst/platform/Trace.h"

using Platform::Trace;

namespace VstToolkit {
namespace {

// Tempo, position, time signature and the transport-playing bit.
constexpr VstInt32 kTimeInfoRequest =
    kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid | kVstTransportPlaying;

const char* const kCapabilities[] = {"receiveVstEvents", "receiveVstMidiEvent",
                                     "receiveVstTimeInfo", "sendVstEvents", "sendVstMidiEvent"};

}  // namespace

Controller::Controller(audioMasterCallback host, Model* ownedModel)
    : AudioEffectX(host, ownedModel->GetProgramCount(), ownedModel->GetParameterCount()),
      model(ownedModel) {
    Trace("Controller::Controller\r\n");
    model->SetController(this);
    canProcessReplacing(true);
    programsAreChunks(true);
    setNumInputs(model->GetInputCount());
    setNumOutputs(model->GetOutputCount());
    setUniqueID(model->GetUniqueId());
}

Controller::~Controller() {
    Trace("Controller::~Controller");
    // The AudioEffect base deletes the editor only after this destructor: an editor still open
    // (a host closing the plug-in with its window up) must let go of its view, which uses the
    // model and this controller, while both still exist.
    if (editor != nullptr) editor->close();
    delete model;
}

void Controller::setSampleRate(float rate) {
    Trace("Controller::setSampleRate\r\n");
    if (!(rate > 0.0f) || !std::isfinite(rate)) return;
    AudioEffectX::setSampleRate(rate);
    model->SetSampleRate(rate);
}

void Controller::setBlockSize(VstInt32 size) {
    Trace("Controller::setBlockSize\r\n");
    AudioEffectX::setBlockSize(size);
    model->SetSampleRate(getSampleRate());
}

void Controller::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    UpdateTimeInfo();
    // A host that hands over no buffers gets nothing rendered; queued events wait.
    if (inputs == nullptr || outputs == nullptr || inputs[0] == nullptr || inputs[1] == nullptr ||
        outputs[0] == nullptr || outputs[1] == nullptr)
        return;
    model->ProcessBlock(inputs, outputs, sampleFrames);
}

void Controller::UpdateTimeInfo() {
    const VstTimeInfo* time = getTimeInfo(kTimeInfoRequest);
    if (time == nullptr) return;
    if ((time->flags & kVstTempoValid) != 0) model->SetTempo(time->tempo);
    if ((time->flags & kVstPpqPosValid) != 0) model->SetPosition(time->ppqPos);
    model->SetTransportPlaying((time->flags & kVstTransportPlaying) != 0);
    if ((time->flags & kVstTimeSigValid) != 0)
        model->SetTimeSignature(time->timeSigNumerator, time->timeSigDenominator);
}

void Controller::setParameter(VstInt32 index, float value) {
    Trace("Controller::setParameter");
    if (!IsParameter(index)) return;
    model->SetParameterValue(index, value);
    if (view != nullptr) view->UpdateParameterControl(index, value);
}

float Controller::getParameter(VstInt32 index) {
    Trace("Controller::getParameter\r\n");
    return IsParameter(index) ? model->GetParameterValue(index) : 0.0f;
}

void Controller::setProgram(VstInt32 program) {
    Trace("Controller::setProgram\r\n");
    if (program < 0 || program >= model->GetProgramCount()) return;
    curProgram = program;
    model->SetSelectedProgramIndex(program);
    UpdateViewParameters();
}

void Controller::getProgramName(char* name) {
    Trace("Controller::getProgramName\r\n");
    VstText::CopyField(name, model->GetSelectedProgramName(), kVstMaxProgNameLen);
}

void Controller::setProgramName(char* name) {
    Trace("Controller::setProgramName\r\n");
    if (name != nullptr) model->SetSelectedProgramName(name);
}

void Controller::getParameterLabel(VstInt32 index, char* label) {
    Trace("Controller::getParameterLabel\r\n");
    VstText::CopyField(label, IsParameter(index) ? model->GetParameterLabel(index) : "",
                       kVstMaxParamStrLen);
}

void Controller::getParameterDisplay(VstInt32 index, char* text) {
    Trace("Controller::getParameterDisplay\r\n");
    const DisplayText display =
        IsParameter(index) ? model->GetParameterDisplay(index) : DisplayText{};
    VstText::CopyField(text, display.text, kVstMaxParamStrLen);
}

void Controller::getParameterName(VstInt32 index, char* text) {
    Trace("Controller::getParameterName\r\n");
    VstText::CopyField(text, IsParameter(index) ? model->GetParameterShortName(index) : "",
                       kVstMaxParamStrLen);
}

bool Controller::getParameterProperties(VstInt32 index, VstParameterProperties* properties) {
    Trace("Controller::getParameterProperties\r\n");
    if (properties == nullptr || !IsParameter(index)) return false;
    *properties = VstParameterProperties{};
    VstText::CopyField(properties->label, model->GetParameterLongName(index), kVstMaxLabelLen);
    VstText::CopyField(properties->shortLabel, model->GetParameterShortName(index),
                       kVstMaxShortLabelLen);
    return true;
}

VstInt32 Controller::getChunk(void** data, bool isPreset) {
    Trace("Controller::getChunk\r\n");
    if (data == nullptr) return 0;
    // A learned controller may change a value (or learning a binding) while the chunk is
    // written: write it again until it holds one state. The audio thread's changes are a few
    // stores each, so a second pass almost always suffices; the bound only guards against a
    // host that floods the plug-in with controller messages.
    constexpr int kAttempts = 1000;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::uint32_t begin = model->BeginStableRead();
        chunk.Clear();
        if (isPreset)
            model->SerializeSelectedProgram(chunk);
        else
            model->SerializeBank(chunk);
        if (model->EndStableRead(begin)) break;
    }
    *data = chunk.Data();
    return chunk.Length();
}

VstInt32 Controller::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
    Trace("Controller::setChunk\r\n");
    if (data == nullptr || byteSize <= 0 || byteSize > kMaxChunkBytes) return 0;
    // The reader stays inside byteSize and the serialisers only read, so the host's bytes are
    // read where they are.
    ChunkReader reader(data, byteSize);
    const bool loaded =
        isPreset ? model->DeserializeSelectedProgram(reader) : model->DeserializeBank(reader);
    if (loaded) UpdateViewParameters();
    return loaded ? 1 : 0;
}

VstInt32 Controller::processEvents(VstEvents* events) {
    Trace("Controller::processEvents\r\n");
    VstMidi::ForEachMidiEvent(events, [this](const VstMidi::ShortMessage& m) {
        model->PushMidiEvent({m.deltaFrames, m.status, m.data1, m.data2});
    });
    return 1;
}

VstInt32 Controller::canDo(const char* text) {
    Trace("Controller::canDo\r\n");
    if (text == nullptr) return -1;
    for (const char* capability : kCapabilities)
        if (std::strcmp(text, capability) == 0) return 1;
    return -1;
}

bool Controller::getEffectName(char* name) {
    Trace("Controller::getEffectName\r\n");
    VstText::CopyField(name, model->GetEffectName(), kVstMaxEffectNameLen);
    return true;
}

bool Controller::getVendorString(char* text) {
    Trace("Controller::getVendorString\r\n");
    VstText::CopyField(text, model->GetVendorString(), kVstMaxVendorStrLen);
    return true;
}

bool Controller::getProductString(char* text) {
    Trace("Controller::getProductString\r\n");
    VstText::CopyField(text, model->GetProductString(), kVstMaxProductStrLen);
    return true;
}

VstInt32 Controller::getVendorVersion() {
    Trace("Controller::getVendorVersion\r\n");
    return model->GetVendorVersion();
}

VstPlugCategory Controller::getPlugCategory() {
    Trace("Controller::getPlugCategory\r\n");
    return static_cast<VstPlugCategory>(model->GetPluginCategory());
}

void Controller::SetView(ViewInterface* newView) {
    Trace("Controller::SetView\r\n");
    view = newView;
}

void Controller::PushParametersToView() {
    if (view == nullptr) return;
    for (VstInt32 i = 0; i < model->GetParameterCount(); ++i)
        view->UpdateParameterControl(i, model->GetParameterValue(i));
}

void Controller::OnViewParameterValueChanged(VstInt32 index, float value) {
    Trace("Controller::OnViewParameterValueChanged\r\n");
    if (!IsParameter(index)) return;
    model->SetParameterValue(index, value);
    setParameterAutomated(index, value);
}

void Controller::OnViewGestureBegan(VstInt32 index) {
    Trace("Controller::OnViewGestureBegan\r\n");
    if (IsParameter(index)) beginEdit(index);
}

void Controller::OnViewGestureEnded(VstInt32 index) {
    Trace("Controller::OnViewGestureEnded\r\n");
    if (IsParameter(index)) endEdit(index);
}

void Controller::OnModelParameterValueChanged(VstInt32 index, float value, VstInt32) {
    Trace("Controller::OnModelParameterValueChanged\r\n");
    if (index >= 0 && index < kLearnedBit)
        viewUpdates.fetch_or(1u << index, std::memory_order_acq_rel);
    setParameterAutomated(index, value);
}

void Controller::OnModelMidiLearned(VstInt32, VstInt32, VstInt32) {
    Trace("Controller::OnModelMidiLearned\r\n");
    viewUpdates.fetch_or(1u << kLearnedBit, std::memory_order_acq_rel);
}

void Controller::ShowAudioThreadChanges() {
    const std::uint32_t updates = viewUpdates.exchange(0, std::memory_order_acq_rel);
    if (view == nullptr || updates == 0) return;
    for (VstInt32 i = 0; i < model->GetParameterCount() && i < kLearnedBit; ++i)
        if ((updates & (1u << i)) != 0)
            view->UpdateParameterControl(i, model->GetParameterValue(i));
    if ((updates & (1u << kLearnedBit)) != 0) view->SetStatusText("");
}

void Controller::UpdateViewParameters() {
    Trace("Controller::UpdateViewParameters\r\n");
    PushParametersToView();
}

}  // namespace VstToolkit
