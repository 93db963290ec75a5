#include "vst/AudioEffect.h"

#include <cstring>

#include "vst/AEffEditor.h"
#include "vst/TextTools.h"

#ifndef VST_AUTOMATION_SETS_PARAMETER
#error "VST_AUTOMATION_SETS_PARAMETER must be set by the build (0 or 1)"
#endif

namespace {
// A host handing back a record that is not ours (or none) reaches nothing.
AudioEffect* effectOf(AEffect* e) {
    return e != nullptr ? static_cast<AudioEffect*>(e->object) : nullptr;
}

// Opcodes whose handler reads or writes through ptr; a null ptr answers 0 before any call.
bool needsPointer(VstInt32 opcode) {
    switch (opcode) {
        case effSetProgramName:
        case effGetProgramName:
        case effGetParamLabel:
        case effGetParamDisplay:
        case effGetParamName:
        case effEditGetRect:
        case effGetChunk:
        case effSetChunk: return true;
        default: return false;
    }
}
}  // namespace

AudioEffect::AudioEffect(audioMasterCallback host, VstInt32 programCount, VstInt32 parameterCount)
    : audioMaster(host), numPrograms(programCount), numParams(parameterCount) {
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffectClass;
    cEffect.process = processClass;
    cEffect.setParameter = setParameterClass;
    cEffect.getParameter = getParameterClass;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = kDefaultUniqueId;
    cEffect.version = 1;
    cEffect.processReplacing = processClassReplacing;
    cEffect.processDoubleReplacing = processClassDoubleReplacing;
}

AudioEffect::~AudioEffect() {
    delete editor;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    if (newEditor == editor) return;
    delete editor;
    editor = newEditor;
    setFlag(effFlagsHasEditor, editor != nullptr);
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
    if (ptr == nullptr && needsPointer(opcode)) return 0;
    switch (opcode) {
        case effOpen: open(); break;
        case effClose: close(); break;
        case effSetProgram:
            if (value < numPrograms) setProgram(static_cast<VstInt32>(value));
            break;
        case effGetProgram: return getProgram();
        case effSetProgramName: setProgramName(static_cast<char*>(ptr)); break;
        case effGetProgramName: getProgramName(static_cast<char*>(ptr)); break;
        case effGetParamLabel: getParameterLabel(index, static_cast<char*>(ptr)); break;
        case effGetParamDisplay: getParameterDisplay(index, static_cast<char*>(ptr)); break;
        case effGetParamName: getParameterName(index, static_cast<char*>(ptr)); break;
        case effSetSampleRate: setSampleRate(opt); break;
        case effSetBlockSize: setBlockSize(static_cast<VstInt32>(value)); break;
        case effMainsChanged:
            if (value == 0)
                suspend();
            else
                resume();
            break;
        case effEditGetRect:
            return editor != nullptr && editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
        case effEditOpen: return editor != nullptr && editor->open(ptr) ? 1 : 0;
        case effEditClose:
            if (editor != nullptr) editor->close();
            break;
        case effEditIdle:
            if (editor != nullptr) editor->idle();
            break;
        case effIdentify: return kEffectIdentify;
        case effGetChunk: return getChunk(static_cast<void**>(ptr), index != 0);
        case effSetChunk: return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
        default: break;
    }
    return 0;
}

void AudioEffect::processDoubleReplacing(double**, double**, VstInt32) {}
void AudioEffect::setParameter(VstInt32, float) {}
float AudioEffect::getParameter(VstInt32) {
    return 0.0f;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
#if VST_AUTOMATION_SETS_PARAMETER
    setParameter(index, value);
#endif
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::setProgramName(char*) {}
void AudioEffect::getProgramName(char* name) {
    VstText::CopyField(name, "", kVstMaxProgNameLen);
}
void AudioEffect::getParameterLabel(VstInt32, char* label) {
    VstText::CopyField(label, "", kVstMaxParamStrLen);
}
void AudioEffect::getParameterDisplay(VstInt32, char* text) {
    VstText::CopyField(text, "", kVstMaxParamStrLen);
}
void AudioEffect::getParameterName(VstInt32, char* text) {
    VstText::CopyField(text, "", kVstMaxParamStrLen);
}
VstInt32 AudioEffect::getChunk(void**, bool) {
    return 0;
}
VstInt32 AudioEffect::setChunk(void*, VstInt32, bool) {
    return 0;
}

VstInt32 AudioEffect::getMasterVersion() {
    const VstIntPtr version = callHost(audioMasterVersion);
    return version != 0 ? static_cast<VstInt32>(version) : 1;
}

VstInt32 AudioEffect::getCurrentUniqueId() {
    return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle() {
    callHost(audioMasterIdle);
}

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
    VstText::DecibelToString(value, text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
    VstText::FloatToString(samples == 0.0f ? 0.0f : getSampleRate() / samples, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
    VstText::FloatToString(samples * 1000.0f / getSampleRate(), text, maxLen);
}

void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
    VstText::FloatToString(value, text, maxLen);
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
    VstText::IntToString(value, text, maxLen);
}

void AudioEffect::process(float**, float**, VstInt32) {}

bool AudioEffect::isInputConnected(VstInt32 input) {
    return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output) {
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
    return audioMaster != nullptr ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
    if (state)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

VstIntPtr VSTCALLBACK AudioEffect::dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index,
                                                       VstIntPtr value, void* ptr, float opt) {
    AudioEffect* effect = effectOf(e);
    if (effect == nullptr) return 0;
    if (opcode == effClose) {
        effect->dispatcher(opcode, index, value, ptr, opt);
        delete effect;
        return 1;
    }
    return effect->dispatcher(opcode, index, value, ptr, opt);
}

void VSTCALLBACK AudioEffect::processClass(AEffect* e, float** inputs, float** outputs,
                                           VstInt32 sampleFrames) {
    if (AudioEffect* effect = effectOf(e)) effect->process(inputs, outputs, sampleFrames);
}

void VSTCALLBACK AudioEffect::processClassReplacing(AEffect* e, float** inputs, float** outputs,
                                                    VstInt32 sampleFrames) {
    if (AudioEffect* effect = effectOf(e)) effect->processReplacing(inputs, outputs, sampleFrames);
}

void VSTCALLBACK AudioEffect::processClassDoubleReplacing(AEffect* e, double** inputs,
                                                          double** outputs, VstInt32 sampleFrames) {
    if (AudioEffect* effect = effectOf(e))
        effect->processDoubleReplacing(inputs, outputs, sampleFrames);
}

void VSTCALLBACK AudioEffect::setParameterClass(AEffect* e, VstInt32 index, float value) {
    if (AudioEffect* effect = effectOf(e)) effect->setParameter(index, value);
}

float VSTCALLBACK AudioEffect::getParameterClass(AEffect* e, VstInt32 index) {
    AudioEffect* effect = effectOf(e);
    return effect != nullptr ? effect->getParameter(index) : 0.0f;
}
