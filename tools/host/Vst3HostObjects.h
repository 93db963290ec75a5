// The objects a VST3 host hands a plug-in: streams for states and the per-block parameter
// changes, plus the small conversions every host needs.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "vst3/Vst3Interface.h"

namespace Vst3Host {

using namespace Vst3;
using Bytes = std::vector<unsigned char>;

// A host object the host keeps alive itself (on the stack or as a member): reference counts
// are not tracked, so plug-ins may add and drop references freely.
template <typename Interface>
class HostObject : public Interface {
public:
    tresult VST3_API queryInterface(const TUID id, void** obj) override {
        if (obj == nullptr) return kInvalidArgument;
        const bool known = uidEquals(id, Interface::iid) || uidEquals(id, FUnknown::iid);
        *obj = known ? this : nullptr;
        return known ? kResultOk : kNoInterface;
    }
    uint32 VST3_API addRef() override { return 1; }
    uint32 VST3_API release() override { return 1; }

protected:
    ~HostObject() = default;
};

// Another interface of a plug-in's object, with a reference the caller releases; null when the
// object does not have it.
template <typename Interface>
Interface* query(FUnknown* object) {
    void* obj = nullptr;
    return object != nullptr && object->queryInterface(Interface::iid.bytes, &obj) == kResultOk
               ? static_cast<Interface*>(obj)
               : nullptr;
}

// Plug-in texts are UTF-16; the host's are ASCII or UTF-8. Characters beyond ASCII become '?'.
std::string narrow(const char16* text, int capacity = 128);
// Fills a String128, cut to fit and terminated.
void widen(const std::string& text, String128 out);

// A state or preset in memory, read and written where the position is, as a file would be.
class MemoryStream final : public HostObject<IBStream> {
public:
    explicit MemoryStream(Bytes initial = {}) : bytes(std::move(initial)) {}
    tresult VST3_API read(void* buffer, int32 count, int32* got) override;
    tresult VST3_API write(void* buffer, int32 count, int32* written) override;
    tresult VST3_API seek(int64 pos, int32 mode, int64* result) override;
    tresult VST3_API tell(int64* pos) override;

    const Bytes& data() const { return bytes; }

private:
    Bytes bytes;
    int64 at = 0;
};

// One parameter's points in a block, in a fixed array so the audio thread never allocates.
class ParamValueQueue final : public HostObject<IParamValueQueue> {
public:
    static constexpr int32 kCapacity = 64;

    ParamID VST3_API getParameterId() override { return id; }
    int32 VST3_API getPointCount() override { return count; }
    tresult VST3_API getPoint(int32 index, int32& offset, ParamValue& value) override;
    // As plug-ins add output points: kept in offset order, a second point at an offset replaces
    // the first.
    tresult VST3_API addPoint(int32 offset, ParamValue value, int32& index) override;

    // As the host adds input points: in the order given, so hostile orders can be sent too.
    bool append(int32 offset, ParamValue value);
    void reset(ParamID newId) {
        id = newId;
        count = 0;
    }

private:
    struct Point {
        int32 offset;
        ParamValue value;
    };
    ParamID id = kNoParamId;
    int32 count = 0;
    std::array<Point, kCapacity> points{};
};

// A block's parameter changes, either direction; clear() before each block reuses the storage.
class ParameterChanges final : public HostObject<IParameterChanges> {
public:
    static constexpr int32 kCapacity = 16;

    int32 VST3_API getParameterCount() override { return count; }
    IParamValueQueue* VST3_API getParameterData(int32 index) override;
    IParamValueQueue* VST3_API addParameterData(const ParamID& id, int32& index) override;

    // False when the queue or its points are full.
    bool add(ParamID id, int32 offset, ParamValue value);
    void clear() { count = 0; }

private:
    int32 count = 0;
    std::array<ParamValueQueue, kCapacity> queues{};
};

}  // namespace Vst3Host
