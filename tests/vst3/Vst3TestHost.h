// The host side the editor and MIDI learn suites need: the bundle's binary loaded as hosts load
// it, a processor and controller set up and connected, and recording host objects (parameter
// changes that take the plug-in's output, a component handler, messages and their factory).
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tools/host/Vst3HostObjects.h"
#include "vst3/ComObject.h"
#include "vst3/Vst3Interface.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace Vst3TestHost {

using namespace Vst3;
using Bytes = std::vector<unsigned char>;

constexpr int32 kUniqueId = 0x00514356;
constexpr int32 kBlock = 512;
constexpr double kRate = 48000.0;
constexpr ParamID kLearnedId = 102;
constexpr ParamID kFirstControllerId = 1000;

using Vst3Host::HostObject;
using Vst3Host::MemoryStream;
using Vst3Host::query;

class ValueQueue final : public HostObject<IParamValueQueue> {
public:
    ParamID VST3_API getParameterId() override { return id; }
    int32 VST3_API getPointCount() override { return static_cast<int32>(points.size()); }
    tresult VST3_API getPoint(int32 index, int32& offset, ParamValue& value) override {
        if (index < 0 || index >= getPointCount()) return kInvalidArgument;
        offset = points[index].first;
        value = points[index].second;
        return kResultOk;
    }
    tresult VST3_API addPoint(int32 offset, ParamValue value, int32& index) override {
        index = getPointCount();
        points.push_back({offset, value});
        return kResultOk;
    }
    ParamID id = 0;
    std::vector<std::pair<int32, ParamValue>> points;
};

class Changes final : public HostObject<IParameterChanges> {
public:
    Changes() { queues.reserve(256); }  // queues handed out stay where they are
    void add(ParamID id, int32 offset, ParamValue value) {
        int32 index = 0;
        addParameterData(id, index)->addPoint(offset, value, index);
    }
    // The points of one parameter, empty when there are none.
    std::vector<std::pair<int32, ParamValue>> of(ParamID id) const {
        for (const auto& q : queues)
            if (q.id == id) return q.points;
        return {};
    }
    int32 VST3_API getParameterCount() override { return static_cast<int32>(queues.size()); }
    IParamValueQueue* VST3_API getParameterData(int32 index) override {
        return index >= 0 && index < getParameterCount() ? &queues[index] : nullptr;
    }
    IParamValueQueue* VST3_API addParameterData(const ParamID& id, int32& index) override {
        for (index = 0; index < getParameterCount(); ++index)
            if (queues[index].id == id) return &queues[index];
        if (queues.size() == queues.capacity()) return nullptr;
        queues.emplace_back();
        queues.back().id = id;
        return &queues.back();
    }
    std::vector<ValueQueue> queues;
};

// Integer attributes only: all that the plug-in's messages carry.
class Attributes final : public HostObject<IAttributeList> {
public:
    tresult VST3_API setInt(AttrID id, int64 value) override {
        ints[id] = value;
        return kResultOk;
    }
    tresult VST3_API getInt(AttrID id, int64& value) override {
        const auto found = ints.find(id);
        if (found == ints.end()) return kResultFalse;
        value = found->second;
        return kResultOk;
    }
    tresult VST3_API setFloat(AttrID, double) override { return kNotImplemented; }
    tresult VST3_API getFloat(AttrID, double&) override { return kNotImplemented; }
    tresult VST3_API setString(AttrID, const TChar*) override { return kNotImplemented; }
    tresult VST3_API getString(AttrID, TChar*, uint32) override { return kNotImplemented; }
    tresult VST3_API setBinary(AttrID, const void*, uint32) override { return kNotImplemented; }
    tresult VST3_API getBinary(AttrID, const void*&, uint32&) override { return kNotImplemented; }
    std::map<std::string, int64> ints;
};

// Made on the heap by the application; the receiver of createInstance releases it.
class Message final : public ComObject<Message, IMessage> {
public:
    Message() = default;
    FIDString VST3_API getMessageID() override { return id.c_str(); }
    void VST3_API setMessageID(FIDString newId) override { id = newId != nullptr ? newId : ""; }
    IAttributeList* VST3_API getAttributes() override { return &attributes; }
    std::string id;
    Attributes attributes;
};

class Application final : public HostObject<IHostApplication> {
public:
    tresult VST3_API getName(String128 name) override {
        name[0] = 0;
        return kResultOk;
    }
    tresult VST3_API createInstance(TUID cid, TUID interfaceId, void** obj) override {
        *obj = nullptr;
        if (!uidEquals(cid, IMessage::iid) || !uidEquals(interfaceId, IMessage::iid))
            return kNoInterface;
        *obj = static_cast<IMessage*>(new Message());
        ++messagesMade;
        return kResultOk;
    }
    int messagesMade = 0;
};

// What the controller told the host, in order.
class Handler final : public HostObject<IComponentHandler> {
public:
    struct Call {
        char kind;  // 'b'egin, 'p'erform, 'e'nd, 'r'estart
        ParamID id;
        ParamValue value;
    };
    tresult VST3_API beginEdit(ParamID id) override { return record('b', id, 0.0); }
    tresult VST3_API performEdit(ParamID id, ParamValue value) override {
        return record('p', id, value);
    }
    tresult VST3_API endEdit(ParamID id) override { return record('e', id, 0.0); }
    tresult VST3_API restartComponent(int32 flags) override { return record('r', 0, flags); }
    // The kinds as a string, "bppe" for a drag of two steps.
    std::string kinds() const {
        std::string s;
        for (const Call& c : calls) s += c.kind;
        return s;
    }
    std::vector<Call> calls;

private:
    tresult record(char kind, ParamID id, ParamValue value) {
        calls.push_back({kind, id, value});
        return kResultOk;
    }
};

#if defined(_WIN32)
inline void* symbolOf(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}
#else
inline void* symbolOf(void* library, const char* name) {
    return dlsym(library, name);
}
#endif

// The bundle stays loaded for the whole run, as hosts keep it.
inline IPluginFactory* factory() {
    static IPluginFactory* const loaded = []() -> IPluginFactory* {
#if defined(_WIN32)
        void* handle = reinterpret_cast<void*>(LoadLibraryA(QC_VST3_PATH));
        const bool entered =
            handle != nullptr && reinterpret_cast<bool (*)()>(symbolOf(handle, kModuleInitName))();
#else
        void* handle = dlopen(QC_VST3_PATH, RTLD_NOW | RTLD_LOCAL);
        const bool entered = handle != nullptr && reinterpret_cast<bool (*)(void*)>(
                                                      symbolOf(handle, kModuleInitName))(handle);
#endif
        if (!entered) return nullptr;
        auto get =
            reinterpret_cast<Vst3GetPluginFactoryProc>(symbolOf(handle, kGetPluginFactoryName));
        return get != nullptr ? get() : nullptr;
    }();
    return loaded;
}

// A processor and its controller, initialised with the application as context, connected to
// each other directly and ready to process.
struct Plugin {
    Plugin() {
        const Uid processorId = vst2ReplacementUid(kUniqueId, "Quellin Corvane");
        const Uid controllerId =
            vst2ReplacementUid(kUniqueId, "Quellin Corvane", Vst2ReplacementClass::Controller);
        IPluginFactory* f = factory();
        void* obj = nullptr;
        if (f == nullptr ||
            f->createInstance(processorId.bytes, IComponent::iid.bytes, &obj) != kResultOk)
            return;
        component = static_cast<IComponent*>(obj);
        if (f->createInstance(controllerId.bytes, IEditController::iid.bytes, &obj) != kResultOk)
            return;
        controller = static_cast<IEditController*>(obj);
        processor = query<IAudioProcessor>(component);
        processorPoint = query<IConnectionPoint>(component);
        controllerPoint = query<IConnectionPoint>(controller);
        component->initialize(&application);
        controller->initialize(&application);
        controller->setComponentHandler(&handler);
        processorPoint->connect(controllerPoint);
        controllerPoint->connect(processorPoint);
        ProcessSetup setup{kRealtime, kSample32, kBlock, kRate};
        processor->setupProcessing(setup);
        component->setActive(1);
        processor->setProcessing(1);
    }
    ~Plugin() {
        if (controller == nullptr) return;
        processor->setProcessing(0);
        component->setActive(0);
        processorPoint->disconnect(controllerPoint);
        controllerPoint->disconnect(processorPoint);
        for (FUnknown* f :
             {static_cast<FUnknown*>(processorPoint), static_cast<FUnknown*>(controllerPoint),
              static_cast<FUnknown*>(processor)})
            f->release();
        component->terminate();
        controller->terminate();
        component->release();
        controller->release();
    }
    bool ok() const { return controller != nullptr && processor != nullptr; }

    // One block of frames; null buffers for a block without audio.
    tresult process(float** in, float** out, int32 frames, IParameterChanges* changes,
                    IParameterChanges* output = nullptr) {
        AudioBusBuffers inBus{2, 0, {in}};
        AudioBusBuffers outBus{2, 0, {out}};
        ProcessData data{};
        data.processMode = kRealtime;
        data.symbolicSampleSize = kSample32;
        data.numSamples = frames;
        data.numInputs = in != nullptr ? 1 : 0;
        data.numOutputs = out != nullptr ? 1 : 0;
        data.inputs = &inBus;
        data.outputs = &outBus;
        data.inputParameterChanges = changes;
        data.outputParameterChanges = output;
        return processor->process(data);
    }
    // A block without audio that brings controller cc's value (0..127) at offset, answering
    // what the processor reported.
    Changes sendController(int cc, int value, int32 offset = 0, int32 frames = kBlock) {
        Changes in, out;
        in.add(kFirstControllerId + cc, offset, value / 127.0);
        std::vector<float> silence(frames, 0.0f), left(frames), right(frames);
        float* inputs[] = {silence.data(), silence.data()};
        float* outputs[] = {left.data(), right.data()};
        process(inputs, outputs, frames, &in, &out);
        return out;
    }
    // The editor's MIDI learn action, as the controller sends it.
    tresult sendLearnCommand(int64 kind, int64 value, const char* id = "MidiLearn") {
        Message* message = new Message();
        message->setMessageID(id);
        message->attributes.setInt("kind", kind);
        message->attributes.setInt("value", value);
        const tresult result = processorPoint->notify(message);
        message->release();
        return result;
    }
    Bytes state() {
        MemoryStream stream;
        component->getState(&stream);
        return stream.data();
    }

    Application application;
    Handler handler;
    IComponent* component = nullptr;
    IAudioProcessor* processor = nullptr;
    IEditController* controller = nullptr;
    IConnectionPoint* processorPoint = nullptr;
    IConnectionPoint* controllerPoint = nullptr;
};

}  // namespace Vst3TestHost
