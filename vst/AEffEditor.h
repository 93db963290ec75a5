// Base of a plug-in editor. The host calls it through the effect's dispatcher, on its
// user-interface thread.
#pragma once

#include "vst/VstInterface.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* owner) : effect(owner) {}
    virtual ~AEffEditor() = default;

    virtual AudioEffect* getEffect() { return effect; }
    // Stores the address of an editor-owned rectangle in *rect; false when there is none.
    virtual bool getRect(ERect** rect);
    // parentWindow is the host's window (an HWND on Windows).
    virtual bool open(void* parentWindow);
    virtual void close() { systemWindow = nullptr; }
    virtual bool isOpen() { return systemWindow != nullptr; }
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyCode& keyCode);
    virtual bool onKeyUp(VstKeyCode& keyCode);
    virtual bool onWheel(float distance);
    virtual bool setKnobMode(VstInt32 mode);

protected:
    AudioEffect* effect;  // not owned
    void* systemWindow = nullptr;
};
