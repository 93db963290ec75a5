// The panel's entry: lv2ui_descriptor and the C functions hosts call, each handing over to
// Panel. Required feature: urid:map; optional: ui:parent, ui:resize, ui:touch. The panel
// offers ui:idleInterface, and hosts drive it through that alone.
#include <lv2/ui/ui.h>

#include <cstring>

#include "lv2/Ports.h"
#include "lv2/ui/Panel.h"

namespace QuellinCorvane::Lv2 {
namespace {

Panel* panel(LV2UI_Handle handle) {
    return static_cast<Panel*>(handle);
}

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
    if (pluginUri == nullptr || std::strcmp(pluginUri, kPluginUri) != 0 || widget == nullptr)
        return nullptr;
    PanelHost host;
    host.write = write;
    host.controller = controller;
    for (int i = 0; features != nullptr && features[i] != nullptr; ++i) {
        const char* uri = features[i]->URI;
        void* data = features[i]->data;
        if (std::strcmp(uri, LV2_URID__map) == 0)
            host.map = static_cast<const LV2_URID_Map*>(data);
        else if (std::strcmp(uri, LV2_UI__parent) == 0)
            host.parent = data;
        else if (std::strcmp(uri, LV2_UI__resize) == 0)
            host.resize = static_cast<const LV2UI_Resize*>(data);
        else if (std::strcmp(uri, LV2_UI__touch) == 0)
            host.touch = static_cast<const LV2UI_Touch*>(data);
    }
    std::unique_ptr<Panel> made = Panel::Create(host);
    if (made == nullptr) return nullptr;
    *widget = made->Widget();
    return made.release();
}

void cleanup(LV2UI_Handle handle) {
    delete panel(handle);
}

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
               const void* buffer) {
    panel(handle)->PortEvent(port, size, format, buffer);
}

int idle(LV2UI_Handle handle) {
    return panel(handle)->Idle();
}

const void* extensionData(const char* uri) {
    static const LV2UI_Idle_Interface idleInterface = {idle};
    return uri != nullptr && std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &idleInterface
                                                                          : nullptr;
}

const LV2UI_Descriptor kDescriptor = {kUiUri, instantiate, cleanup, portEvent, extensionData};

}  // namespace
}  // namespace QuellinCorvane::Lv2

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? &QuellinCorvane::Lv2::kDescriptor : nullptr;
}
