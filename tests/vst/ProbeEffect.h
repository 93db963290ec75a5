// An AudioEffectX that records which virtual operations the dispatcher reached, and an editor
// that answers the editor opcodes, for tests of the base layer in-process.
#pragma once

#include <string>
#include <vector>

#include "tests/support/RecordingHost.h"
#include "vst/AEffEditor.h"
#include "vst/AudioEffectX.h"

using TestSupport::RecordedHostCall;
using TestSupport::RecordingHost;

class ProbeEffect : public AudioEffectX {
public:
    explicit ProbeEffect(audioMasterCallback host, bool* destroyed = nullptr)
        : AudioEffectX(host, 4, 2), destroyedFlag(destroyed) {}
    ~ProbeEffect() override {
        if (destroyedFlag != nullptr) *destroyedFlag = true;
    }

    void processReplacing(float**, float**, VstInt32) override { log.push_back("process"); }
    void open() override { log.push_back("open"); }
    void close() override { log.push_back("close"); }
    void suspend() override { log.push_back("suspend"); }
    void resume() override {
        log.push_back("resume");
        AudioEffectX::resume();
    }
    void setProgram(VstInt32 program) override {
        log.push_back("setProgram " + std::to_string(program));
        AudioEffectX::setProgram(program);
    }
    void setParameter(VstInt32 index, float value) override {
        log.push_back("setParameter " + std::to_string(index) + " " + std::to_string(value));
    }
    void getProgramName(char* name) override {
        log.push_back("getProgramName");
        AudioEffectX::getProgramName(name);
    }
    VstInt32 canDo(const char* text) override {
        return wantsMidi && std::string(text) == "receiveVstMidiEvent" ? 1 : -1;
    }
    VstInt32 processEvents(VstEvents*) override {
        log.push_back("processEvents");
        return 1;
    }
    VstInt32 getChunk(void**, bool isPreset) override {
        log.push_back(isPreset ? "getChunk program" : "getChunk bank");
        return 0;
    }

    using AudioEffect::setFlag;
    bool wantsMidi = false;
    std::vector<std::string> log;

private:
    bool* destroyedFlag;
};

class ProbeEditor : public AEffEditor {
public:
    explicit ProbeEditor(AudioEffect* owner, bool* destroyed = nullptr)
        : AEffEditor(owner), destroyedFlag(destroyed) {}
    ~ProbeEditor() override {
        if (destroyedFlag != nullptr) *destroyedFlag = true;
    }

    bool getRect(ERect** rect) override {
        *rect = &rectangle;
        return true;
    }
    bool open(void* parent) override {
        AEffEditor::open(parent);
        return true;
    }
    void idle() override { ++idles; }
    bool onKeyDown(VstKeyCode& key) override {
        lastKey = key;
        return true;
    }

    ERect rectangle{0, 0, 224, 512};
    int idles = 0;
    VstKeyCode lastKey{};

private:
    bool* destroyedFlag;
};
