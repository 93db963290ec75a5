#include "vst/PluginMain.h"

#if defined(_WIN32)
#define VST_EXPORT __declspec(dllexport)
#else
#define VST_EXPORT __attribute__((visibility("default")))
#endif

extern "C" VST_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster) {
    if (audioMaster == nullptr) return nullptr;
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    AudioEffect* effect = createEffectInstance(audioMaster);
    return effect != nullptr ? effect->getAeffect() : nullptr;
}

#if !defined(_WIN32)
// C++ forbids defining a function called main with this signature, so the second export name
// is an alias symbol. Windows builds get it from the module definition file instead.
extern "C" VST_EXPORT AEffect* vstPluginMainAlias(audioMasterCallback) __asm__("main")
    __attribute__((alias("VSTPluginMain")));
#endif
