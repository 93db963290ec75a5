// The LV2 entry: lv2_descriptor and the C functions hosts call, each handing over to Plugin.
// Required feature: urid:map; instantiation without it, or with a sample rate that is not a
// positive finite number, fails (null).
#include <lv2/core/lv2.h>

#include <cmath>
#include <cstring>
#include <new>

#include "lv2/Plugin.h"

namespace QuellinCorvane::Lv2 {
namespace {

Plugin* instance(LV2_Handle handle) {
    return static_cast<Plugin*>(handle);
}

LV2_Handle instantiate(const LV2_Descriptor*, double rate, const char*,
                       const LV2_Feature* const* features) {
    const LV2_URID_Map* map = nullptr;
    for (int i = 0; features != nullptr && features[i] != nullptr; ++i)
        if (std::strcmp(features[i]->URI, LV2_URID__map) == 0)
            map = static_cast<const LV2_URID_Map*>(features[i]->data);
    if (map == nullptr || !std::isfinite(rate) || !(rate > 0.0)) return nullptr;
    return new (std::nothrow) Plugin(rate, *map);
}

void connectPort(LV2_Handle handle, uint32_t port, void* data) {
    instance(handle)->Connect(port, data);
}

void activate(LV2_Handle handle) {
    instance(handle)->Activate();
}

void run(LV2_Handle handle, uint32_t frames) {
    instance(handle)->Run(frames);
}

void deactivate(LV2_Handle) {}

void cleanup(LV2_Handle handle) {
    delete instance(handle);
}

LV2_State_Status save(LV2_Handle handle, LV2_State_Store_Function store, LV2_State_Handle state,
                      uint32_t, const LV2_Feature* const*) {
    return instance(handle)->Save(store, state);
}

LV2_State_Status restore(LV2_Handle handle, LV2_State_Retrieve_Function retrieve,
                         LV2_State_Handle state, uint32_t, const LV2_Feature* const*) {
    return instance(handle)->Restore(retrieve, state);
}

const void* extensionData(const char* uri) {
    static const LV2_State_Interface state = {save, restore};
    return uri != nullptr && std::strcmp(uri, LV2_STATE__interface) == 0 ? &state : nullptr;
}

const LV2_Descriptor kDescriptor = {kPluginUri, instantiate, connectPort, activate,
                                    run,        deactivate,  cleanup,     extensionData};

}  // namespace
}  // namespace QuellinCorvane::Lv2

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    return index == 0 ? &QuellinCorvane::Lv2::kDescriptor : nullptr;
}
