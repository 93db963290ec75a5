// The LV2 binary as the tests drive it: the tools' host (tools/host/Lv2Instance) with the
// audio buffers at hand, every save checked for POD|PORTABLE, and the notify sequence read back
// after each run, checking that it is well formed.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <lv2/atom/util.h>

#include <map>
#include <vector>

#include "lv2/Messages.h"
#include "lv2/Ports.h"
#include "tools/host/Lv2Instance.h"

namespace Lv2Test {

using namespace QuellinCorvane;
using namespace QuellinCorvane::Lv2;
using Lv2Host::UridMap;
using SavedState = Lv2Host::State;

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

inline const Lv2Host::Plugin& plugin() {
    static const Lv2Host::Plugin loaded = [] {
        Lv2Host::Plugin binary;
        binary.load(QC_LV2_PATH);
        return binary;
    }();
    return loaded;
}

inline const LV2_Descriptor* descriptor() {
    return plugin().descriptor();
}

// What the plug-in said on its notify port.
struct Notification {
    LV2_URID type;
    std::map<LV2_URID, std::vector<double>> values;  // an Int or Float, or a Vector's ints
};

class Instance : public Lv2Host::Instance {
public:
    static constexpr std::uint32_t kMaxFrames = 8192;

    // Instantiated, not yet activated.
    explicit Instance(UridMap& uridMap, double rate = 48000.0)
        : Lv2Host::Instance(plugin(), uridMap, rate, false),
          urids(uridMap.map),
          sequenceType(uridMap(LV2_ATOM__Sequence)) {
        for (int c = 0; c < 2; ++c) {
            in[c].assign(kMaxFrames, 0.0f);
            out[c].assign(kMaxFrames, 0.0f);
        }
    }

    void Connect(std::uint32_t port, void* data) { connect(port, data); }
    void Activate() { activate(); }
    // Runs frames from offset of in into out, and reads what the plug-in notified.
    void Run(std::uint32_t frames, std::uint32_t offset = 0) {
        float* inputs[2] = {in[0].data() + offset, in[1].data() + offset};
        float* outputs[2] = {out[0].data() + offset, out[1].data() + offset};
        run(inputs, outputs, frames);
        ReadNotifications();
    }
    void Midi(std::int64_t frame, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
        midi(frame, status, data1, data2);
    }
    void Message(std::int64_t frame, LV2_URID type, LV2_URID key = 0, int value = 0) {
        message(frame, type, key, value);
    }
    SavedState Save() {
        std::uint32_t flags = 0;
        SavedState saved = save(&flags);
        EXPECT_FALSE(saved.empty());
        EXPECT_EQ(flags & (LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE),
                  LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
        return saved;
    }
    LV2_State_Status Restore(const SavedState& saved) { return restore(saved); }

    const Urids urids;
    std::vector<float> in[2], out[2];
    std::vector<Notification> notifications;  // of the last run

private:
    // Checks the sequence the way a host walks it: type, size within the room it was given,
    // events inside it in frame order.
    void ReadNotifications() {
        notifications.clear();
        const LV2_Atom_Sequence* seq = &notified();
        ASSERT_EQ(seq->atom.type, sequenceType);
        ASSERT_LE(seq->atom.size + sizeof(LV2_Atom), kNotifyMinimumBytes);
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

    const LV2_URID sequenceType;
};

}  // namespace Lv2Test
