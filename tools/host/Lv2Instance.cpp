#include "tools/host/Lv2Instance.h"

#include <lv2/atom/atom.h>
#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>

#include <cstring>

#include "effect/x64/ParameterTable.h"
#include "lv2/Messages.h"
#include "tools/host/SharedLibrary.h"

namespace Lv2Host {

using namespace QuellinCorvane;
using namespace QuellinCorvane::Lv2;

UridMap::UridMap()
    : map{this, [](LV2_URID_Map_Handle self, const char* uri) {
              auto& owner = *static_cast<UridMap*>(self);
              const std::lock_guard<std::mutex> lock(owner.guard);
              const auto next = static_cast<LV2_URID>(owner.ids.size() + 1);
              return owner.ids.emplace(uri, next).first->second;
          }} {}

bool Plugin::isLv2Path(const std::string& path) {
    const auto endsWith = [&](const std::string& tail) {
        return path.size() >= tail.size() &&
               path.compare(path.size() - tail.size(), tail.size(), tail) == 0;
    };
    return endsWith(".lv2") || endsWith(".lv2/") ||
           (path.find(".lv2/") != std::string::npos && endsWith(".so"));
}

bool Plugin::load(const std::string& path) {
    std::string binary = path;
    if (!binary.empty() && binary.back() == '/') binary.pop_back();
    if (binary.size() < 3 || binary.compare(binary.size() - 3, 3, ".so") != 0)
        binary += std::string("/") + kBinaryName;
    folder = binary.substr(0, binary.rfind('/'));
    void* opened = VstHost::openLibrary(binary, problem);
    if (opened == nullptr) return false;
    library.reset(opened, VstHost::closeLibrary);
    using Entry = const LV2_Descriptor* (*)(std::uint32_t);
    const auto entry = reinterpret_cast<Entry>(VstHost::findSymbol(opened, "lv2_descriptor"));
    if (entry == nullptr) {
        problem = "no lv2_descriptor in " + binary;
        return false;
    }
    for (std::uint32_t i = 0; (found = entry(i)) != nullptr; ++i)
        if (std::strcmp(found->URI, kPluginUri) == 0) return true;
    problem = std::string("no ") + kPluginUri + " in " + binary;
    return false;
}

Instance::Instance(const Plugin& plugin, UridMap& uridMap, double rate, bool activated)
    : descriptor(plugin.descriptor()), urids(uridMap) {
    sequenceType = urids(LV2_ATOM__Sequence);
    chunkType = urids(LV2_ATOM__Chunk);
    midiType = urids(LV2_MIDI__MidiEvent);
    objectType = urids(LV2_ATOM__Object);
    intType = urids(LV2_ATOM__Int);
    const LV2_Feature mapFeature{LV2_URID__map, &urids.map};
    const LV2_Feature* features[] = {&mapFeature, nullptr};
    handle = descriptor->instantiate(descriptor, rate, "", features);
    if (handle == nullptr) return;
    if (descriptor->extension_data != nullptr)
        state = static_cast<const LV2_State_Interface*>(
            descriptor->extension_data(LV2_STATE__interface));
    for (int i = 0; i < kParameterCount; ++i) {
        controls[i] = UnitsFor(kParameterRows[i], kParameterRows[i].defaultValue);
        descriptor->connect_port(handle, kFirstParameterPort + i, &controls[i]);
    }
    descriptor->connect_port(handle, kEnabledPort, &enabled);
    descriptor->connect_port(handle, kControlPort, control);
    descriptor->connect_port(handle, kNotifyPort, notify);
    clearControl();
    if (activated) activate();
}

Instance::~Instance() {
    if (handle == nullptr) return;
    deactivate();
    descriptor->cleanup(handle);
}

void Instance::activate() {
    if (active) return;
    if (descriptor->activate != nullptr) descriptor->activate(handle);
    active = true;
}

void Instance::deactivate() {
    if (!active) return;
    if (descriptor->deactivate != nullptr) descriptor->deactivate(handle);
    active = false;
}

void Instance::connect(std::uint32_t port, void* data) {
    descriptor->connect_port(handle, port, data);
}

void Instance::clearControl() {
    auto* sequence = reinterpret_cast<LV2_Atom_Sequence*>(control);
    sequence->atom = {sizeof(LV2_Atom_Sequence_Body), sequenceType};
    sequence->body = {0, 0};
}

void Instance::run(float* const* in, float* const* out, std::uint32_t frames) {
    for (std::uint32_t c = 0; c < 2; ++c) {
        descriptor->connect_port(handle, kInputLeft + c, in[c]);
        descriptor->connect_port(handle, kOutputLeft + c, out[c]);
    }
    // An output sequence arrives as an empty chunk whose size is the room the host gives.
    reinterpret_cast<LV2_Atom*>(notify)->size = sizeof(notify) - sizeof(LV2_Atom);
    reinterpret_cast<LV2_Atom*>(notify)->type = chunkType;
    descriptor->run(handle, frames);
    clearControl();
}

void Instance::queue(std::int64_t frame, LV2_URID type, const void* body, std::uint32_t size) {
    auto* sequence = reinterpret_cast<LV2_Atom_Sequence*>(control);
    const std::uint32_t used = sizeof(LV2_Atom) + sequence->atom.size;
    const std::uint32_t room = lv2_atom_pad_size(sizeof(LV2_Atom_Event) + size);
    if (used + room > kControlBytes) return;  // full: dropped, as a host drops overflow
    auto* event = reinterpret_cast<LV2_Atom_Event*>(control + used);
    event->time.frames = frame;
    event->body = {size, type};
    std::memcpy(event + 1, body, size);
    sequence->atom.size += room;
}

void Instance::midi(std::int64_t frame, std::uint8_t status, std::uint8_t data1,
                    std::uint8_t data2) {
    const std::uint8_t bytes[3] = {status, data1, data2};
    queue(frame, midiType, bytes, 3);
}

void Instance::message(std::int64_t frame, LV2_URID type, LV2_URID key, std::int32_t value) {
    struct {
        LV2_Atom_Object_Body object;
        LV2_Atom_Property_Body property;
        std::int32_t value, pad;
    } body{{0, type}, {key, 0, {sizeof(std::int32_t), intType}}, value, 0};
    queue(frame, objectType, &body,
          key != 0 ? sizeof(body) : static_cast<std::uint32_t>(sizeof(LV2_Atom_Object_Body)));
}

State Instance::save(std::uint32_t* flags) const {
    struct Saving {
        State state;
        std::uint32_t flags = ~std::uint32_t{0};
    } saving;
    if (state == nullptr || state->save == nullptr) return {};
    const auto store = [](LV2_State_Handle into, std::uint32_t key, const void* value,
                          std::size_t size, std::uint32_t type, std::uint32_t stored) {
        auto& kept = *static_cast<Saving*>(into);
        const auto* bytes = static_cast<const unsigned char*>(value);
        kept.state[key] = {type, {bytes, bytes + size}};
        kept.flags &= stored;
        return LV2_STATE_SUCCESS;
    };
    if (state->save(handle, store, &saving, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, nullptr) !=
        LV2_STATE_SUCCESS)
        return {};
    if (flags != nullptr) *flags = saving.flags;
    return saving.state;
}

LV2_State_Status Instance::restore(const State& saved) {
    if (state == nullptr || state->restore == nullptr) return LV2_STATE_ERR_NO_FEATURE;
    const auto retrieve = [](LV2_State_Handle from, std::uint32_t key, std::size_t* size,
                             std::uint32_t* type, std::uint32_t* flags) -> const void* {
        const auto& stored = *static_cast<const State*>(from);
        const auto found = stored.find(key);
        if (found == stored.end()) return nullptr;
        *size = found->second.second.size();
        *type = found->second.first;
        *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
        return found->second.second.data();
    };
    return state->restore(handle, retrieve, const_cast<State*>(&saved), 0, nullptr);
}

}  // namespace Lv2Host
