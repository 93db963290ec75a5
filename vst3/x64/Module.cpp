// The module's exported entry points. Hosts may call the init and exit pair more than once;
// nothing needs setting up, so they only count.
#include <atomic>

#include "vst3/x64/Plugin.h"

namespace {
std::atomic<int> entries{0};
}

extern "C" {

VST3_EXPORT Vst3::IPluginFactory* VST3_API GetPluginFactory() {
    return QuellinCorvane::Vst3Plugin::TheFactory();
}

#if defined(_WIN32)
VST3_EXPORT bool InitDll() {
    ++entries;
    return true;
}
VST3_EXPORT bool ExitDll() {
    return --entries >= 0;
}
#else
VST3_EXPORT bool ModuleEntry(void*) {
    ++entries;
    return true;
}
VST3_EXPORT bool ModuleExit() {
    return --entries >= 0;
}
#endif
}
