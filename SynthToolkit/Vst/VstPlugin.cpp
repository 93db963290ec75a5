#include "SynthToolkit/Vst/VstPlugin.h"

#include <cmath>
#include <cstring>

#include "vst/AEffEditor.h"
#include "vst/MidiEvents.h"
#include "vst/TextTools.h"

namespace SynthToolkit::Vst {
namespace {

using Platform::ScopedLock;

const char* const kCapabilities[] = {"receiveVstEvents", "receiveVstMidiEvent",
                                     "receiveVstTimeInfo"};

bool channelsPresent(float** channels, int count) {
    if (channels == nullptr) return false;
    for (int c = 0; c < count; ++c)
        if (channels[c] == nullptr) return false;
    return true;
}

}  // namespace

VstPlugin::VstPlugin(audioMasterCallback host, ServiceDispatcher* services, Model* model,
                     int pluginCategory, VstInt32 uniqueId)
    : AudioEffectX(host, model->programCount(), model->parameterCount()),
      ownedServices(services),
      ownedModel(model),
      category(pluginCategory),
      inputPointers(static_cast<std::size_t>(model->inputCount() > 0 ? model->inputCount() : 0)),
      outputPointers(
          static_cast<std::size_t>(model->outputCount() > 0 ? model->outputCount() : 0)) {
    midiQueue.reserve(kReservedMidiEvents);
    ownedModel->addObserver(this);
    setNumInputs(ownedModel->inputCount());
    setNumOutputs(ownedModel->outputCount());
    setUniqueID(uniqueId);
    canProcessReplacing(true);
    programsAreChunks(true);
    if (category == kPlugCategSynth) isSynth(true);
    VstPlugin::setProgram(0);
    VstPlugin::resume();
}

VstPlugin::~VstPlugin() {
    // The AudioEffect base deletes the editor only after this destructor: an editor still open
    // (a host closing the plug-in with its window up) must let go of its view, which observes
    // the model, while the model exists.
    if (editor != nullptr) editor->close();
    // The model first: its parts leave the services' registries on the way out.
    delete ownedModel;
    delete ownedServices;
}

void VstPlugin::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    if (const VstTimeInfo* time = getTimeInfo(kVstPpqPosValid | kVstTempoValid)) {
        ownedServices->setTempo(static_cast<float>(time->tempo));
        ownedServices->setSongPosition(static_cast<float>(time->ppqPos));
    }
    if (sampleFrames <= 0) return;  // queued events wait for a real block
    if (!channelsPresent(inputs, static_cast<int>(inputPointers.size())) ||
        !channelsPresent(outputs, static_cast<int>(outputPointers.size()))) {
        dispatchQueuedMidi();
        return;
    }
    int position = 0;
    while (position < sampleFrames && midiHead < midiQueue.size()) {
        const PendingMidiEvent event = midiQueue[midiHead];
        if (event.deltaFrames > sampleFrames) {
            // Late events all take effect before the rest of this block.
            dispatchQueuedMidi();
            break;
        }
        ++midiHead;
        // An offset behind the current position (decreasing or negative) is taken here and
        // now: nothing already rendered is rendered again.
        if (event.deltaFrames > position) {
            processBlock(inputs, outputs, position, event.deltaFrames - position);
            position = event.deltaFrames;
        }
        dispatchMidi(event);
    }
    if (position < sampleFrames) processBlock(inputs, outputs, position, sampleFrames - position);
    // Events at the very end of the block (or behind it) follow all of its audio.
    dispatchQueuedMidi();
}

void VstPlugin::processBlock(float** inputs, float** outputs, int start, int count) {
    while (count > 0) {
        const int span = count < kMaxSubBlock ? count : kMaxSubBlock;
        {
            // One lock around both, so a parameter change lands between spans, never between
            // a span's smoothing and its rendering.
            ScopedLock hold(ownedModel->lock());
            ownedServices->smoothAll(span);
            for (std::size_t c = 0; c < inputPointers.size(); ++c)
                inputPointers[c] = inputs[c] + start;
            for (std::size_t c = 0; c < outputPointers.size(); ++c)
                outputPointers[c] = outputs[c] + start;
            ownedModel->processLocked(inputPointers.data(), outputPointers.data(), span);
        }
        start += span;
        count -= span;
    }
}

void VstPlugin::dispatchMidi(const PendingMidiEvent& event) {
    ownedServices->messageDispatcher().dispatch(event.status, event.data1, event.data2);
}

void VstPlugin::dispatchQueuedMidi() {
    while (midiHead < midiQueue.size()) dispatchMidi(midiQueue[midiHead++]);
    midiQueue.clear();
    midiHead = 0;
}

VstInt32 VstPlugin::processEvents(VstEvents* events) {
    VstMidi::ForEachMidiEvent(events, [this](const VstMidi::ShortMessage& m) {
        midiQueue.push_back({m.deltaFrames, m.status, m.data1, m.data2});
    });
    return 1;
}

void VstPlugin::setSampleRate(float rate) {
    if (!(rate > 0.0f) || !std::isfinite(rate)) return;
    ScopedLock hold(ownedModel->lock());
    ownedServices->setSampleRate(rate);
}

void VstPlugin::resetServices() {
    ScopedLock hold(ownedModel->lock());
    ownedServices->resetAll();
}

void VstPlugin::resume() {
    AudioEffectX::resume();
    resetServices();
}

void VstPlugin::setParameter(VstInt32 index, float value) {
    if (!isParameter(index) || std::isnan(value)) return;
    const float v = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
    if (v == ownedModel->parameterValue(index)) return;
    ownedModel->setParameterValue(index, v);
    // The host made this change; only the other observers need to hear of it.
    ownedModel->notifyParameterChanged(this, index);
}

float VstPlugin::getParameter(VstInt32 index) {
    return isParameter(index) ? ownedModel->parameterValue(index) : 0.0f;
}

void VstPlugin::setParameterAutomated(VstInt32 index, float value) {
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void VstPlugin::setProgram(VstInt32 program) {
    if (program < 0 || program >= ownedModel->programCount()) return;
    curProgram = program;
    ownedModel->selectProgram(program);
    ownedModel->notifyModelChanged();
    // A program change jumps: no glide from the previous program's values.
    resetServices();
}

void VstPlugin::getProgramName(char* name) {
    VstText::CopyField(name, ownedModel->currentProgramName(), kVstMaxProgNameLen);
}

void VstPlugin::setProgramName(char* name) {
    ownedModel->setCurrentProgramName(name);
}

bool VstPlugin::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
    const bool known = index >= 0 && index < ownedModel->programCount();
    VstText::CopyField(text, known ? ownedModel->programName(index) : "", kVstMaxProgNameLen);
    return known;
}

void VstPlugin::getParameterName(VstInt32 index, char* text) {
    if (!isParameter(index)) {
        VstText::CopyField(text, "", kVstMaxParamStrLen);
        return;
    }
    // Each part at most 8 characters, then the whole cut to the host's 8-byte field.
    char joined[2 * kVstMaxParamStrLen + 1] = {};
    std::strncat(joined, ownedModel->groupShortName(index), kVstMaxParamStrLen);
    std::strncat(joined, ownedModel->parameterShortName(index), kVstMaxParamStrLen);
    VstText::CopyField(text, joined, kVstMaxParamStrLen);
}

bool VstPlugin::getParameterProperties(VstInt32 index, VstParameterProperties* properties) {
    if (properties == nullptr || !isParameter(index)) return false;
    *properties = VstParameterProperties{};
    VstText::CopyField(properties->label, ownedModel->parameterLongName(index), kVstMaxLabelLen);
    getParameterName(index, properties->shortLabel);
    return true;
}

void VstPlugin::getParameterLabel(VstInt32 index, char* label) {
    VstText::CopyField(label, isParameter(index) ? ownedModel->parameterLabel(index) : "",
                       kVstMaxParamStrLen);
}

void VstPlugin::getParameterDisplay(VstInt32 index, char* text) {
    VstText::CopyField(text, isParameter(index) ? ownedModel->parameterDisplayText(index) : "",
                       kVstMaxParamStrLen);
}

VstInt32 VstPlugin::getChunk(void** data, bool isPreset) {
    if (data == nullptr) return 0;
    chunkWriter.clear();
    if (isPreset)
        ownedModel->writeProgram(chunkWriter);
    else
        ownedModel->writeBank(chunkWriter);
    *data = chunkWriter.data();
    return chunkWriter.size();
}

VstInt32 VstPlugin::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
    if (data == nullptr || byteSize <= 0 || byteSize > kMaxChunkBytes) return 0;
    ChunkReader reader(data, byteSize);
    const bool loaded = isPreset ? ownedModel->readProgram(reader) : ownedModel->readBank(reader);
    if (!loaded) return 0;
    ownedModel->notifyModelChanged();
    return 1;
}

bool VstPlugin::getEffectName(char* name) {
    VstText::ReplaceField(name, ownedModel->effectName(), kVstMaxEffectNameLen);
    return true;
}

bool VstPlugin::getVendorString(char* text) {
    VstText::ReplaceField(text, ownedModel->vendorName(), kVstMaxVendorStrLen);
    return true;
}

bool VstPlugin::getProductString(char* text) {
    VstText::ReplaceField(text, ownedModel->productName(), kVstMaxProductStrLen);
    return true;
}

VstInt32 VstPlugin::getVendorVersion() {
    return ownedModel->vendorVersion();
}

VstPlugCategory VstPlugin::getPlugCategory() {
    return static_cast<VstPlugCategory>(category);
}

VstInt32 VstPlugin::canDo(const char* text) {
    if (text == nullptr) return -1;
    for (const char* capability : kCapabilities)
        if (std::strcmp(text, capability) == 0) return 1;
    return -1;
}

void VstPlugin::parameterChanged(int index) {
    setParameterAutomated(index, ownedModel->parameterValue(index));
}

}  // namespace SynthToolkit::Vst
