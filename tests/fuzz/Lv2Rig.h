// What both LV2 fuzzers need: a URID map, the plug-in linked in with every port connected to
// buffers of its own, a block rendered and checked for sane output, and the bindings as saved.
#pragma once

#include <lv2/atom/atom.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "lv2/Plugin.h"

namespace Lv2Fuzz {

using namespace QuellinCorvane;
using namespace QuellinCorvane::Lv2;

class UridMap {
public:
    LV2_URID_Map map{this, [](LV2_URID_Map_Handle self, const char* uri) {
                         auto& known = static_cast<UridMap*>(self)->ids;
                         const auto id = static_cast<LV2_URID>(known.size() + 1);
                         return known.emplace(uri, id).first->second;
                     }};
    LV2_URID operator()(const char* uri) { return map.map(map.handle, uri); }

private:
    std::map<std::string, LV2_URID> ids;
};

struct Rig {
    static constexpr std::uint32_t kMaxFrames = 256;

    UridMap uris;
    std::unique_ptr<Plugin> plugin = std::make_unique<Plugin>(48000.0, uris.map);
    float in[2][kMaxFrames], out[2][kMaxFrames];
    float controls[kParameterCount];
    float enabled = 1.0f;

    Rig() {
        for (std::uint32_t i = 0; i < kMaxFrames; ++i)
            in[0][i] = in[1][i] = 0.5f * std::sin(0.05f * static_cast<float>(i));
        for (int i = 0; i < kParameterCount; ++i) {
            controls[i] = UnitsFor(kParameterRows[i], kParameterRows[i].defaultValue);
            plugin->Connect(kFirstParameterPort + i, &controls[i]);
        }
        plugin->Connect(kInputLeft, in[0]);
        plugin->Connect(kInputRight, in[1]);
        plugin->Connect(kOutputLeft, out[0]);
        plugin->Connect(kOutputRight, out[1]);
        plugin->Connect(kEnabledPort, &enabled);
    }

    // Anything not finite or far beyond what the settings make of the tone is a finding.
    void run(std::uint32_t frames) {
        plugin->Run(frames);
        for (std::uint32_t i = 0; i < frames; ++i)
            if (!(std::fabs(out[0][i]) < 64.0f) || !(std::fabs(out[1][i]) < 64.0f)) std::abort();
    }

    // The bindings vector's bytes as Save stores them (empty when it stored none).
    std::vector<std::uint8_t> savedBindings() {
        struct Saved {
            LV2_URID key;
            std::vector<std::uint8_t> bytes;
        } saved{uris(kMidiBindingsUri), {}};
        auto store = [](LV2_State_Handle handle, std::uint32_t key, const void* value,
                        std::size_t size, std::uint32_t, std::uint32_t) {
            auto& into = *static_cast<Saved*>(handle);
            if (key == into.key) {
                const auto* bytes = static_cast<const std::uint8_t*>(value);
                into.bytes.assign(bytes, bytes + size);
            }
            return LV2_STATE_SUCCESS;
        };
        if (plugin->Save(store, &saved) != LV2_STATE_SUCCESS) std::abort();
        return saved.bytes;
    }
};

}  // namespace Lv2Fuzz
