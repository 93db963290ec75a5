#include "tests/plugin/MinimalEffect.h"

#include <cmath>
#include <cstring>

#include "vst/AudioEffectX.h"
#include "vst/PluginMain.h"
#include "vst/TextTools.h"

#ifndef MINIMAL_EFFECT_SETS_UNIQUE_ID
#define MINIMAL_EFFECT_SETS_UNIQUE_ID 1
#endif

namespace MinimalEffect {
namespace {

class Effect : public AudioEffectX {
public:
    explicit Effect(audioMasterCallback master) : AudioEffectX(master, kNumPrograms, kNumParams) {
        setNumInputs(kNumInputs);
        setNumOutputs(kNumOutputs);
#if MINIMAL_EFFECT_SETS_UNIQUE_ID
        setUniqueID(kUniqueId);
#endif
        canProcessReplacing(true);
        const char* names[kNumPrograms] = {"Unity", "Half", "Quiet", kLongProgramName};
        for (VstInt32 p = 0; p < kNumPrograms; ++p) VstText::CopyField(programNames[p], names[p]);
        callHost(audioMasterVendorSpecific, kAnnounceCreated);
    }

    ~Effect() override {
        callHost(audioMasterVendorSpecific, kAnnounceDestroyed);
    }

    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override {
        const float gain = params[kGain];
        // Sample by sample on each channel, so the same buffer as input and output works.
        for (VstInt32 c = 0; c < kNumOutputs; ++c) {
            const float* in = inputs[c];
            float* out = outputs[c];
            for (VstInt32 i = 0; i < sampleFrames; ++i) out[i] = in[i] * gain;
        }
    }

    void setParameter(VstInt32 index, float value) override {
        if (validParameter(index)) params[index] = value;
    }
    float getParameter(VstInt32 index) override {
        return validParameter(index) ? params[index] : 0.0f;
    }

    void setProgramName(char* name) override {
        if (validProgram(curProgram)) VstText::CopyField(programNames[curProgram], name);
    }
    void getProgramName(char* name) override {
        VstText::CopyField(name, validProgram(curProgram) ? programNames[curProgram] : "",
                           kVstMaxProgNameLen);
    }

    void getParameterName(VstInt32 index, char* text) override {
        VstText::CopyField(text,
                           index == kGain    ? "Gain"
                           : index == kWidth ? kWidthName
                                             : "",
                           kVstMaxParamStrLen);
    }
    void getParameterLabel(VstInt32 index, char* label) override {
        VstText::CopyField(label,
                           index == kGain    ? "lin"
                           : index == kWidth ? "%"
                                             : "",
                           kVstMaxParamStrLen);
    }
    void getParameterDisplay(VstInt32 index, char* text) override {
        // The formatters write a terminator after maxLen characters.
        if (index == kGain)
            float2string(params[kGain], text, kVstMaxParamStrLen - 1);
        else if (index == kWidth)
            int2string(static_cast<VstInt32>(std::lround(params[kWidth] * 100.0f)), text,
                       kVstMaxParamStrLen - 1);
        else
            VstText::CopyField(text, "", kVstMaxParamStrLen);
    }

    bool getEffectName(char* name) override {
        VstText::CopyField(name, kEffectName, kVstMaxEffectNameLen);
        return true;
    }
    bool getVendorString(char* text) override {
        VstText::CopyField(text, kVendor, kVstMaxVendorStrLen);
        return true;
    }
    bool getProductString(char* text) override {
        VstText::CopyField(text, kProduct, kVstMaxProductStrLen);
        return true;
    }
    VstInt32 getVendorVersion() override {
        return kVendorVersion;
    }

    VstInt32 canDo(const char* text) override {
        return text != nullptr && std::strcmp(text, "receiveVstMidiEvent") == 0 ? 1 : 0;
    }

    VstInt32 processEvents(VstEvents* events) override {
        eventCount = 0;
        if (events == nullptr) return 0;
        for (VstInt32 i = 0; i < events->numEvents && eventCount < kMaxRecordedEvents; ++i) {
            const VstEvent* event = events->events[i];
            if (event == nullptr || event->type != kVstMidiType) continue;
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
            ReceivedEvent& kept = received[eventCount++];
            kept.deltaFrames = midi->deltaFrames;
            for (int b = 0; b < 3; ++b)
                kept.midi[b] = static_cast<unsigned char>(midi->midiData[b]);
        }
        return 1;
    }

    VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) override {
        switch (index) {
            case kHookAutomate: setParameterAutomated(static_cast<VstInt32>(value), opt); return 1;
            case kHookEventCount: return eventCount;
            case kHookEventAt:
                if (ptr == nullptr || value < 0 || value >= eventCount) return 0;
                *static_cast<ReceivedEvent*>(ptr) = received[value];
                return 1;
            default: return 0;
        }
    }

private:
    static bool validParameter(VstInt32 index) {
        return index >= 0 && index < kNumParams;
    }
    // The base passes negative program numbers on, so every use of curProgram checks it.
    static bool validProgram(VstInt32 program) {
        return program >= 0 && program < kNumPrograms;
    }

    float params[kNumParams] = {1.0f, 0.5f};
    char programNames[kNumPrograms][kVstMaxProgNameLen] = {};
    ReceivedEvent received[kMaxRecordedEvents] = {};
    VstInt32 eventCount = 0;
};

}  // namespace
}  // namespace MinimalEffect

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    return new MinimalEffect::Effect(audioMaster);
}
