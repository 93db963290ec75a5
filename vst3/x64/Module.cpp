// The module's exported entry points. Hosts may call the init and exit pair more than once;
// nothing needs setting up, so they only count, and an exit without an entry is refused.
#include <atomic>

#include "vst3/x64/Plugin.h"

namespace {

std::atomic<int> entries{0};

bool enter() {
    ++entries;
    return true;
}

bool leave() {
    int current = entries.load();
    while (current > 0 && !entries.compare_exchange_weak(current, current - 1)) {
    }
    return current > 0;
}

}  // namespace

extern "C" {

VST3_EXPORT Vst3::IPluginFactory* VST3_API GetPluginFactory() {
    return QuellinCorvane::Vst3Plugin::TheFactory();
}

#if defined(_WIN32)
VST3_EXPORT bool InitDll() {
    return enter();
}
VST3_EXPORT bool ExitDll() {
    return leave();
}
#else
VST3_EXPORT bool ModuleEntry(void*) {
    return enter();
}
VST3_EXPORT bool ModuleExit() {
    return leave();
}
#endif
}
