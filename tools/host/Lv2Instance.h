// The hosting side for LV2 plug-ins: the binary of a bundle loaded as hosts load it (dlopen,
// lv2_descriptor), a URID map, and one instance with every port connected. The control
// sequence carries what was queued since the last run; the notify port is given room and
// otherwise ignored.
#pragma once

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "lv2/Ports.h"

namespace Lv2Host {

// URIs to numbers; safe from any thread, as the state extension may call it beside run.
class UridMap {
public:
    UridMap();
    LV2_URID operator()(const char* uri) { return map.map(map.handle, uri); }
    LV2_URID_Map map;

private:
    std::mutex guard;
    std::map<std::string, LV2_URID> ids;
};

// The plug-in binary of a bundle: a folder ending in .lv2, or the binary inside it.
class Plugin {
public:
    bool load(const std::string& path);
    const LV2_Descriptor* descriptor() const { return found; }
    const std::string& error() const { return problem; }
    const std::string& bundle() const { return folder; }
    static bool isLv2Path(const std::string& path);

private:
    std::shared_ptr<void> library;
    const LV2_Descriptor* found = nullptr;
    std::string problem;
    std::string folder;
};

// Properties a save stored, by key: type and bytes.
using State = std::map<LV2_URID, std::pair<LV2_URID, std::vector<unsigned char>>>;

class Instance {
public:
    static constexpr std::uint32_t kControlBytes = 16384;

    // Instantiated at the rate, and activated unless told not to (a host may restore a state
    // first); ok() is false when the plug-in refused.
    Instance(const Plugin& plugin, UridMap& urids, double rate = 48000.0, bool activated = true);
    ~Instance();
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    bool ok() const { return handle != nullptr; }
    void activate();
    void deactivate();
    // Points a port elsewhere until the next run connects the audio ports again (a control
    // sequence the caller built, the inputs for processing in place).
    void connect(std::uint32_t port, void* data);
    // Frames from in into out (the same buffers for in place); the queued events go with them.
    void run(float* const* in, float* const* out, std::uint32_t frames);
    // An event for the next run: an atom of the type with these body bytes.
    void queue(std::int64_t frame, LV2_URID type, const void* body, std::uint32_t size);
    // A three-byte MIDI message, and a panel message with one Int property (none for key 0).
    void midi(std::int64_t frame, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    void message(std::int64_t frame, LV2_URID type, LV2_URID key = 0, std::int32_t value = 0);
    // What the plug-in wrote to the notify port in the last run.
    const LV2_Atom_Sequence& notified() const {
        return *reinterpret_cast<const LV2_Atom_Sequence*>(notify);
    }

    // Whatever save stores; empty when the plug-in has no state interface or save failed.
    // flags, when given, gets the flags that every stored property carried.
    State save(std::uint32_t* flags = nullptr) const;
    LV2_State_Status restore(const State& state);

    float controls[QuellinCorvane::kParameterCount];  // in the ports' units
    float enabled = 1.0f;

private:
    void clearControl();

    const LV2_Descriptor* descriptor;
    UridMap& urids;
    LV2_Handle handle = nullptr;
    bool active = false;
    const LV2_State_Interface* state = nullptr;
    LV2_URID sequenceType, chunkType, midiType, objectType, intType;
    alignas(8) std::uint8_t control[kControlBytes];
    alignas(8) std::uint8_t notify[QuellinCorvane::Lv2::kNotifyMinimumBytes];
};

}  // namespace Lv2Host
