#include "tools/host/Vst3HostApplication.h"

#include <cstring>
#include <map>
#include <string>
#include <variant>

#include "vst3/ComObject.h"

namespace Vst3Host {

namespace {

class AttributeList final : public ComObject<AttributeList, IAttributeList> {
public:
    tresult VST3_API setInt(AttrID id, int64 value) override { return set(id, value); }
    tresult VST3_API getInt(AttrID id, int64& value) override { return get(id, value); }
    tresult VST3_API setFloat(AttrID id, double value) override { return set(id, value); }
    tresult VST3_API getFloat(AttrID id, double& value) override { return get(id, value); }
    tresult VST3_API setString(AttrID id, const TChar* string) override {
        return string == nullptr ? kInvalidArgument : set(id, std::u16string(string));
    }
    tresult VST3_API getString(AttrID id, TChar* string, uint32 sizeInBytes) override {
        std::u16string text;
        const uint32 capacity = sizeInBytes / sizeof(TChar);
        if (string == nullptr || capacity == 0 || get(id, text) != kResultOk) return kResultFalse;
        const std::size_t n = std::min<std::size_t>(text.size(), capacity - 1);
        std::memcpy(string, text.data(), n * sizeof(TChar));
        string[n] = 0;
        return kResultOk;
    }
    tresult VST3_API setBinary(AttrID id, const void* data, uint32 sizeInBytes) override {
        if (data == nullptr && sizeInBytes > 0) return kInvalidArgument;
        const auto* bytes = static_cast<const unsigned char*>(data);
        return set(id, Bytes(bytes, bytes + sizeInBytes));
    }
    tresult VST3_API getBinary(AttrID id, const void*& data, uint32& sizeInBytes) override {
        const auto found = id != nullptr ? values.find(id) : values.end();
        if (found == values.end() || !std::holds_alternative<Bytes>(found->second))
            return kResultFalse;
        const Bytes& bytes = std::get<Bytes>(found->second);
        data = bytes.data();
        sizeInBytes = static_cast<uint32>(bytes.size());
        return kResultOk;
    }

private:
    using Value = std::variant<int64, double, std::u16string, Bytes>;
    template <typename T>
    tresult set(AttrID id, T value) {
        if (id == nullptr) return kInvalidArgument;
        values[id] = std::move(value);
        return kResultOk;
    }
    template <typename T>
    tresult get(AttrID id, T& value) {
        const auto found = id != nullptr ? values.find(id) : values.end();
        if (found == values.end() || !std::holds_alternative<T>(found->second)) return kResultFalse;
        value = std::get<T>(found->second);
        return kResultOk;
    }
    std::map<std::string, Value> values;
};

class Message final : public ComObject<Message, IMessage> {
public:
    ~Message() { attributes->release(); }
    FIDString VST3_API getMessageID() override { return id.c_str(); }
    void VST3_API setMessageID(FIDString newId) override { id = newId != nullptr ? newId : ""; }
    IAttributeList* VST3_API getAttributes() override { return attributes; }

private:
    std::string id;
    AttributeList* attributes = new AttributeList;
};

}  // namespace

tresult HostApplication::getName(String128 name) {
    if (name == nullptr) return kInvalidArgument;
    widen("Quellin Corvane host", name);
    return kResultOk;
}

tresult HostApplication::createInstance(TUID cid, TUID interfaceId, void** obj) {
    if (obj == nullptr) return kInvalidArgument;
    *obj = nullptr;
    if (cid == nullptr || interfaceId == nullptr) return kInvalidArgument;
    if (uidEquals(cid, IMessage::iid) && uidEquals(interfaceId, IMessage::iid)) {
        *obj = static_cast<IMessage*>(new Message);
    } else if (uidEquals(cid, IAttributeList::iid) && uidEquals(interfaceId, IAttributeList::iid)) {
        *obj = static_cast<IAttributeList*>(new AttributeList);
    }
    return *obj != nullptr ? kResultOk : kNoInterface;
}

HostApplication& hostApplication() {
    static HostApplication context;
    return context;
}

}  // namespace Vst3Host
