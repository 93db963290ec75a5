#include "tools/host/Host.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace VstHost {

namespace {

// The callback is a plain function, so the hosts are found from the AEffect the plug-in
// passes. The entry point calls before that record is known to anyone, so those calls go to
// the host that is loading; loads take turns so there is only ever one.
struct Registry {
    std::mutex mutex;
    std::vector<std::pair<const AEffect*, Host*>> hosts;
    Host* loading = nullptr;
    std::mutex loadTurn;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

struct Route {
    Host* host = nullptr;
    bool duringEntryPoint = false;
};

Route route(const AEffect* effect) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    if (effect != nullptr) {
        for (const auto& entry : r.hosts)
            if (entry.first == effect) return {entry.second, false};
    }
    return {r.loading, r.loading != nullptr};
}

void setLoading(Host* host) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.loading = host;
}

void enroll(const AEffect* effect, Host* host) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.hosts.emplace_back(effect, host);
}

void withdraw(const AEffect* effect) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.hosts.erase(std::remove_if(r.hosts.begin(), r.hosts.end(),
                                 [effect](const auto& entry) { return entry.first == effect; }),
                  r.hosts.end());
}

constexpr std::size_t kGuardBefore = 16;
// Generous, so that a plug-in copying a long string unbounded lands in the guard and not in
// someone else's memory.
constexpr std::size_t kGuardAfter = 256;
constexpr unsigned char kGuardByte = 0xA5;
constexpr unsigned char kFieldByte = 0x5A;

}  // namespace

Host::~Host() {
    close();
}

void Host::setTimeInfo(const VstTimeInfo* info) {
    std::lock_guard<std::mutex> lock(callsMutex);
    hasTimeInfo = info != nullptr;
    if (info != nullptr) timeInfo = *info;
}

void Host::setCallHook(CallHook newHook) {
    std::lock_guard<std::mutex> lock(callsMutex);
    hook = std::move(newHook);
}

bool Host::open(VstPluginMainProc entry) {
    lastError.clear();
    if (instance != nullptr) {
        lastError = "an instance is already open";
        return false;
    }
    if (entry == nullptr) {
        lastError = "no entry point";
        return false;
    }
    AEffect* made = nullptr;
    {
        std::lock_guard<std::mutex> turn(registry().loadTurn);
        setLoading(this);
        made = entry(&Host::callback);
        // Enrolled before loading ends, so no call can fall between the two routes.
        if (made != nullptr && made->magic == kEffectMagic) enroll(made, this);
        setLoading(nullptr);
    }
    if (made == nullptr) {
        lastError = "the entry point answered null";
        return false;
    }
    if (made->magic != kEffectMagic) {
        // Not an effect record, so its dispatcher cannot be trusted with effClose either.
        lastError = "the entry point answered a record without the effect magic";
        return false;
    }
    instance = made;
    return true;
}

bool Host::open(const PluginLibrary& library) {
    if (!library.isLoaded()) {
        lastError = "the library is not loaded";
        return false;
    }
    return open(library.entryPoint());
}

VstIntPtr Host::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (opcode == effClose) return close();
    if (instance == nullptr || instance->dispatcher == nullptr) return 0;
    return instance->dispatcher(instance, opcode, index, value, ptr, opt);
}

void Host::setParameter(VstInt32 index, float value) {
    if (instance != nullptr && instance->setParameter != nullptr)
        instance->setParameter(instance, index, value);
}

float Host::getParameter(VstInt32 index) const {
    if (instance == nullptr || instance->getParameter == nullptr) return 0.0f;
    return instance->getParameter(instance, index);
}

VstIntPtr Host::sendEvents(const std::vector<VstMidiEvent>& events) {
    EventBlock block(events);
    return dispatch(effProcessEvents, 0, 0, block.get());
}

bool Host::processReplacing(const std::vector<float*>& inputs, const std::vector<float*>& outputs,
                            VstInt32 frames, VstInt32 blockSize) {
    if (instance == nullptr) return false;
    return runBlocks(instance->processReplacing, inputs, outputs, frames, blockSize);
}

bool Host::process(const std::vector<float*>& inputs, const std::vector<float*>& outputs,
                   VstInt32 frames, VstInt32 blockSize) {
    if (instance == nullptr) return false;
    return runBlocks(instance->process, inputs, outputs, frames, blockSize);
}

bool Host::runBlocks(ProcessProc proc, const std::vector<float*>& inputs,
                     const std::vector<float*>& outputs, VstInt32 frames, VstInt32 blockSize) {
    if (proc == nullptr || frames < 0 || blockSize <= 0) return false;
    if (inputs.size() != static_cast<std::size_t>(std::max(instance->numInputs, 0)) ||
        outputs.size() != static_cast<std::size_t>(std::max(instance->numOutputs, 0)))
        return false;
    for (float* channel : inputs)
        if (channel == nullptr) return false;
    for (float* channel : outputs)
        if (channel == nullptr) return false;

    // The plug-in sees pointers advanced to each block; the caller's lists stay untouched.
    std::vector<float*> in(inputs.size());
    std::vector<float*> out(outputs.size());
    for (VstInt32 done = 0; done < frames;) {
        const VstInt32 count = std::min(blockSize, frames - done);
        for (std::size_t c = 0; c < in.size(); ++c) in[c] = inputs[c] + done;
        for (std::size_t c = 0; c < out.size(); ++c) out[c] = outputs[c] + done;
        proc(instance, in.data(), out.data(), count);
        done += count;
    }
    return true;
}

FieldText Host::getString(VstInt32 opcode, VstInt32 index, std::size_t fieldLength) {
    std::vector<unsigned char> buffer(kGuardBefore + fieldLength + kGuardAfter, kGuardByte);
    unsigned char* field = buffer.data() + kGuardBefore;
    std::fill(field, field + fieldLength, kFieldByte);

    FieldText found;
    found.result = dispatch(opcode, index, 0, field);

    const auto changed = [](unsigned char byte) { return byte != kGuardByte; };
    found.wroteBefore = std::any_of(buffer.data(), field, changed);
    found.wroteAfter = std::any_of(field + fieldLength, buffer.data() + buffer.size(), changed);
    const unsigned char* end = std::find(field, field + fieldLength, 0);
    found.terminated = end != field + fieldLength;
    found.text.assign(reinterpret_cast<const char*>(field), reinterpret_cast<const char*>(end));
    return found;
}

VstIntPtr Host::close() {
    if (instance == nullptr) return 0;
    AEffect* closing = instance;
    // Forgotten first, so nothing reaches the record while or after the plug-in deletes it;
    // it stays enrolled until the reply so calls made while closing are still recorded.
    instance = nullptr;
    const VstIntPtr reply = closing->dispatcher != nullptr
                                ? closing->dispatcher(closing, effClose, 0, 0, nullptr, 0.0f)
                                : 0;
    withdraw(closing);
    return reply;
}

std::vector<HostCall> Host::calls() const {
    std::lock_guard<std::mutex> lock(callsMutex);
    return recorded;
}

std::size_t Host::countCalls(VstInt32 opcode) const {
    std::lock_guard<std::mutex> lock(callsMutex);
    return static_cast<std::size_t>(
        std::count_if(recorded.begin(), recorded.end(),
                      [opcode](const HostCall& call) { return call.opcode == opcode; }));
}

std::vector<Automation> Host::automations() const {
    std::lock_guard<std::mutex> lock(callsMutex);
    std::vector<Automation> found;
    for (const HostCall& call : recorded)
        if (call.opcode == audioMasterAutomate) found.push_back({call.index, call.opt});
    return found;
}

void Host::clearCalls() {
    std::lock_guard<std::mutex> lock(callsMutex);
    recorded.clear();
}

VstIntPtr VSTCALLBACK Host::callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                     VstIntPtr value, void* ptr, float opt) {
    const Route to = route(effect);
    if (to.host == nullptr) return 0;
    return to.host->answer(effect, opcode, index, value, ptr, opt, to.duringEntryPoint);
}

VstIntPtr Host::answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                       float opt, bool duringEntryPoint) {
    HostCall call;
    call.effect = effect;
    call.opcode = opcode;
    call.index = index;
    call.value = value;
    call.ptr = ptr;
    call.opt = opt;
    call.duringEntryPoint = duringEntryPoint;

    CallHook observer;
    {
        std::lock_guard<std::mutex> lock(callsMutex);
        recorded.push_back(call);
        observer = hook;
    }
    // Outside the lock: the hook may well call back into the plug-in.
    if (observer) observer(call);

    switch (opcode) {
        case audioMasterVersion: return versionAnswer;
        case audioMasterGetTime: {
            std::lock_guard<std::mutex> lock(callsMutex);
            return hasTimeInfo ? reinterpret_cast<VstIntPtr>(&timeInfo) : 0;
        }
        default: return 0;
    }
}

}  // namespace VstHost
