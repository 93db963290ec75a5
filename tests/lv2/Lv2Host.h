// A minimal LV2 host for the tests: loads the plug-in binary as hosts do (dlopen,
// lv2_descriptor), maps URIDs, connects every port, builds the control sequence and reads the
// notify sequence back, checking that it is well formed.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <lv2/atom/forge.h>
#include <lv2/atom/util.h>
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "lv2/Messages.h"
#include "lv2/Ports.h"

namespace Lv2Test {

using namespace QuellinCorvane;
using namespace QuellinCorvane::Lv2;

class UridMap {
public:
    LV2_URID_Map map{
        this, [](LV2_URID_Map_Handle self, const char* uri) {
            auto& known = static_cast<UridMap*>(self)->ids;
            return known.emplace(uri, static_cast<LV2_URID>(known.size() + 1)).first->second;
        }};
    LV2_URID operator()(const char* uri) { return map.map(map.handle, uri); }

private:
    std::map<std::string, LV2_URID> ids;
};

// The first descriptor of a binary's entry (lv2_descriptor, lv2ui_descriptor), loaded as hosts
// load it; null when the binary or its entry is missing.
template <typename Descriptor>
const Descriptor* loadDescriptor(const char* path, const char* entryName) {
    void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return nullptr;
    using Entry = const Descriptor* (*)(uint32_t);
    auto entry = reinterpret_cast<Entry>(dlsym(library, entryName));
    return entry != nullptr ? entry(0) : nullptr;
}

inline const LV2_Descriptor* descriptor() {
    static const auto* loaded = loadDescriptor<LV2_Descriptor>(QC_LV2_PATH, "lv2_descriptor");
    return loaded;
}

// What the plug-in said on its notify port.
struct Notification {
    LV2_URID type;
    std::map<LV2_URID, std::vector<double>> values;  // an Int or Float, or a Vector's ints
};

// Properties saved by the plug-in, by key: type and bytes.
using SavedState = std::map<LV2_URID, std::pair<LV2_URID, std::vector<unsigned char>>>;

class Instance {
public:
    static constexpr std::uint32_t kMaxFrames = 8192;

    explicit Instance(UridMap& uridMap, double rate = 48000.0)
        : urids(uridMap.map), ids(uridMap.map), mapFeature{LV2_URID__map, &uridMap.map} {
        const LV2_Feature* features[] = {&mapFeature, nullptr};
        handle = descriptor()->instantiate(descriptor(), rate, "", features);
        if (handle == nullptr) return;
        for (int i = 0; i < kParameterCount; ++i)
            controls[i] = UnitsFor(kParameterRows[i], kParameterRows[i].defaultValue);
        for (int c = 0; c < 2; ++c) {
            in[c].assign(kMaxFrames, 0.0f);
            out[c].assign(kMaxFrames, 0.0f);
        }
        for (int i = 0; i < kParameterCount; ++i) Connect(kFirstParameterPort + i, &controls[i]);
        Connect(kEnabledPort, &enabled);
        Connect(kControlPort, control);
        Connect(kNotifyPort, notify);
        lv2_atom_forge_init(&forge, &uridMap.map);
        ClearEvents();
    }
    ~Instance() {
        if (handle != nullptr) descriptor()->cleanup(handle);
    }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    void Connect(std::uint32_t port, void* data) { descriptor()->connect_port(handle, port, data); }
    void Activate() { descriptor()->activate(handle); }

    // Runs frames from offset of in into out; the next run starts with an empty sequence.
    void Run(std::uint32_t frames, std::uint32_t offset = 0) {
        for (int c = 0; c < 2; ++c) {
            Connect(kInputLeft + c, in[c].data() + offset);
            Connect(kOutputLeft + c, out[c].data() + offset);
        }
        lv2_atom_forge_pop(&forge, &sequence);
        notifyHeader()->atom = {kNotifyCapacity, 0};
        descriptor()->run(handle, frames);
        ReadNotifications();
        ClearEvents();
    }

    void Midi(std::int64_t frame, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
        const std::uint8_t bytes[3] = {status, data1, data2};
        lv2_atom_forge_frame_time(&forge, frame);
        lv2_atom_forge_atom(&forge, 3, urids.midiEvent);
        lv2_atom_forge_write(&forge, bytes, 3);
    }
    // A panel message with one Int property, or none for key 0.
    void Message(std::int64_t frame, LV2_URID type, LV2_URID key = 0, int value = 0) {
        LV2_Atom_Forge_Frame object;
        lv2_atom_forge_frame_time(&forge, frame);
        lv2_atom_forge_object(&forge, &object, 0, type);
        if (key != 0) {
            lv2_atom_forge_key(&forge, key);
            lv2_atom_forge_int(&forge, value);
        }
        lv2_atom_forge_pop(&forge, &object);
    }

    const LV2_State_Interface* State() const {
        return static_cast<const LV2_State_Interface*>(
            descriptor()->extension_data(LV2_STATE__interface));
    }
    SavedState Save() {
        SavedState saved;
        auto store = [](LV2_State_Handle h, std::uint32_t key, const void* value, std::size_t size,
                        std::uint32_t type, std::uint32_t flags) {
            EXPECT_EQ(flags & (LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE),
                      LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
            const auto* bytes = static_cast<const unsigned char*>(value);
            (*static_cast<SavedState*>(h))[key] = {type, {bytes, bytes + size}};
            return LV2_STATE_SUCCESS;
        };
        EXPECT_EQ(State()->save(handle, store, &saved, 0, nullptr), LV2_STATE_SUCCESS);
        return saved;
    }
    LV2_State_Status Restore(const SavedState& saved) {
        auto retrieve = [](LV2_State_Handle h, std::uint32_t key, std::size_t* size,
                           std::uint32_t* type, std::uint32_t* flags) -> const void* {
            const auto& state = *static_cast<const SavedState*>(h);
            const auto found = state.find(key);
            if (found == state.end()) return nullptr;
            *size = found->second.second.size();
            *type = found->second.first;
            *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
            return found->second.second.data();
        };
        return State()->restore(handle, retrieve, const_cast<SavedState*>(&saved), 0, nullptr);
    }

    const Urids urids;
    LV2_Handle handle = nullptr;
    std::vector<float> in[2], out[2];
    float controls[kParameterCount];
    float enabled = 1.0f;
    std::vector<Notification> notifications;  // of the last run

private:
    static constexpr std::uint32_t kControlCapacity = 16384;
    static constexpr std::uint32_t kNotifyCapacity = kNotifyMinimumBytes;

    LV2_Atom_Sequence* notifyHeader() { return reinterpret_cast<LV2_Atom_Sequence*>(notify); }
    void ClearEvents() {
        lv2_atom_forge_set_buffer(&forge, reinterpret_cast<std::uint8_t*>(control),
                                  kControlCapacity);
        lv2_atom_forge_sequence_head(&forge, &sequence, 0);
    }
    // Checks the sequence the way a host walks it: type, size within the capacity, events
    // inside it in frame order.
    void ReadNotifications() {
        notifications.clear();
        const LV2_Atom_Sequence* seq = notifyHeader();
        ASSERT_EQ(seq->atom.type, ids.map(ids.handle, LV2_ATOM__Sequence));
        ASSERT_LE(seq->atom.size + sizeof(LV2_Atom), kNotifyCapacity);
        ASSERT_GE(seq->atom.size, sizeof(LV2_Atom_Sequence_Body));
        std::int64_t last = 0;
        LV2_ATOM_SEQUENCE_FOREACH(seq, event) {
            const auto* end =
                reinterpret_cast<const char*>(&event->body) + sizeof(LV2_Atom) + event->body.size;
            ASSERT_LE(end, reinterpret_cast<const char*>(&seq->body) + seq->atom.size);
            ASSERT_GE(event->time.frames, last);
            last = event->time.frames;
            ASSERT_EQ(event->body.type, urids.atomObject);
            const auto* object = reinterpret_cast<const LV2_Atom_Object*>(&event->body);
            Notification note{object->body.otype, {}};
            LV2_ATOM_OBJECT_FOREACH(object, property) {
                std::vector<double>& values = note.values[property->key];
                const LV2_Atom& value = property->value;
                if (value.type == urids.atomInt)
                    values.push_back(reinterpret_cast<const LV2_Atom_Int&>(value).body);
                else if (value.type == urids.atomFloat)
                    values.push_back(reinterpret_cast<const LV2_Atom_Float&>(value).body);
                else if (value.type == urids.atomVector) {
                    const auto& vector = reinterpret_cast<const LV2_Atom_Vector&>(value);
                    const auto* ints = reinterpret_cast<const std::int32_t*>(&vector + 1);
                    for (std::uint32_t i = 0; i < (value.size - 8) / 4; ++i)
                        values.push_back(ints[i]);
                }
            }
            notifications.push_back(note);
        }
    }

    LV2_URID_Map& ids;
    LV2_Feature mapFeature;
    LV2_Atom_Forge forge;
    LV2_Atom_Forge_Frame sequence;
    alignas(8) std::uint8_t control[kControlCapacity];
    alignas(8) std::uint8_t notify[kNotifyCapacity];
};

}  // namespace Lv2Test
