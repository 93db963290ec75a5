// LV2 states as hosts hand them back: any bytes, size, type and flags for the version and the
// bindings, either missing. Restored before and after activation, a state the plug-in takes
// sets exactly the bindings it holds (or keeps them, without any); one it refuses keeps them;
// either way the next block renders sane audio.
#include <lv2/state/state.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "tests/fuzz/Lv2Rig.h"

namespace {

using namespace Lv2Fuzz;

// One stored property, in a heap block of exactly its size so ASan sees any read beyond it.
struct Property {
    bool present = false;
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;
    std::uint32_t type = 0, flags = 0;

    void set(const std::uint8_t* data, std::size_t count, std::uint32_t ofType) {
        present = true;
        bytes.reset(new std::uint8_t[count]);
        if (count > 0) std::memcpy(bytes.get(), data, count);
        size = count;
        type = ofType;
    }
};

struct State {
    LV2_URID versionKey, bindingsKey;
    Property version, bindings;

    LV2_State_Status restoreInto(Plugin& plugin) {
        auto retrieve = [](LV2_State_Handle handle, std::uint32_t key, std::size_t* size,
                           std::uint32_t* type, std::uint32_t* flags) -> const void* {
            auto& state = *static_cast<State*>(handle);
            Property* property = key == state.versionKey    ? &state.version
                                 : key == state.bindingsKey ? &state.bindings
                                                            : nullptr;
            if (property == nullptr || !property->present) return nullptr;
            *size = property->size;
            *type = property->type;
            *flags = property->flags;
            return property->bytes.get();
        };
        return plugin.Restore(retrieve, this);
    }
};

// A valid state binding controllers 0..9 to parameters in turn, to see what a restore changes.
void bindSome(Rig& rig) {
    struct {
        LV2_Atom_Vector_Body head;
        std::int32_t bindings[kBindingCount];
    } vector{};
    vector.head = {sizeof(std::int32_t), rig.uris(LV2_ATOM__Int)};
    for (int c = 0; c < kBindingCount; ++c) vector.bindings[c] = c < 10 ? c % kParameterCount : -1;
    State state{rig.uris(kStateVersionUri), rig.uris(kMidiBindingsUri), {}, {}};
    state.bindings.set(reinterpret_cast<const std::uint8_t*>(&vector), sizeof vector,
                       rig.uris(LV2_ATOM__Vector));
    if (state.restoreInto(*rig.plugin) != LV2_STATE_SUCCESS) std::abort();
}

// What a taken state's bindings vector must save back as: out-of-range entries unbound.
std::vector<std::uint8_t> normalised(const Property& bindings) {
    std::vector<std::uint8_t> bytes(bindings.bytes.get(), bindings.bytes.get() + bindings.size);
    const std::size_t head = sizeof(LV2_Atom_Vector_Body);
    for (std::size_t at = head; at + 4 <= bytes.size(); at += 4) {
        std::int32_t parameter;
        std::memcpy(&parameter, &bytes[at], 4);
        if (parameter < 0 || parameter >= kParameterCount) parameter = kUnbound;
        std::memcpy(&bytes[at], &parameter, 4);
    }
    return bytes;
}

}  // namespace

// Layout: [present bits: version, bindings, activate first] [version type] [bindings type]
// [flags] [version size 0..8] version bytes, then the bindings bytes to the end.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) return 0;
    Rig rig;
    const std::uint32_t types[] = {rig.uris(LV2_ATOM__Int), rig.uris(LV2_ATOM__Vector),
                                   rig.uris(LV2_ATOM__Float)};
    State state{rig.uris(kStateVersionUri), rig.uris(kMidiBindingsUri), {}, {}};
    const std::size_t versionSize = std::min<std::size_t>(data[4] % 9, size - 5);
    if (data[0] & 1) state.version.set(data + 5, versionSize, types[data[1] % 3]);
    if (data[0] & 2)
        state.bindings.set(data + 5 + versionSize, size - 5 - versionSize, types[data[2] % 3]);
    state.version.flags = state.bindings.flags = data[3];

    bindSome(rig);
    const std::vector<std::uint8_t> before = rig.savedBindings();
    if (data[0] & 4) rig.plugin->Activate();
    for (int pass = 0; pass < 2; ++pass) {
        const bool taken = state.restoreInto(*rig.plugin) == LV2_STATE_SUCCESS;
        const std::vector<std::uint8_t> after = rig.savedBindings();
        if (taken && state.bindings.present) {
            if (after != normalised(state.bindings)) std::abort();
        } else if (after != before) {
            std::abort();
        }
        rig.plugin->Activate();
    }
    rig.run(64);
    return 0;
}
