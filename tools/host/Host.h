// One hosted plug-in instance: calls the entry point, owns the AEffect until effClose, and
// answers the plug-in's host calls while recording each of them in order.
#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "tools/host/MidiEvents.h"
#include "tools/host/PluginLibrary.h"
#include "vst/VstInterface.h"

namespace VstHost {

// A host call as the plug-in made it. ptr is kept only as an address: what it pointed at may
// be gone once the call returns.
struct HostCall {
    AEffect* effect = nullptr;  // as passed; null or not yet known during the entry point
    VstInt32 opcode = 0;
    VstInt32 index = 0;
    VstIntPtr value = 0;
    const void* ptr = nullptr;
    float opt = 0.0f;
    bool duringEntryPoint = false;
};

// audioMasterAutomate carries the parameter in index and the new value in opt.
struct Automation {
    VstInt32 index = 0;
    float value = 0.0f;
};

// What a plug-in did with a text field it was asked to fill.
struct FieldText {
    std::string text;          // up to the first terminator inside the field
    VstIntPtr result = 0;      // the dispatcher's answer
    bool terminated = false;   // a terminator lies inside the field
    bool wroteBefore = false;  // a byte before the field changed
    bool wroteAfter = false;   // a byte after the field changed
    bool ok() const { return terminated && !wroteBefore && !wroteAfter; }
};

class Host {
public:
    // Runs on the plug-in's thread after the call is recorded and before it is answered.
    using CallHook = std::function<void(const HostCall&)>;

    Host() = default;
    // Closes the instance if it is still open.
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The answer to audioMasterVersion; 0 makes a well-behaved plug-in refuse to start.
    void setVersionAnswer(VstIntPtr version) { versionAnswer = version; }
    // audioMasterGetTime answers a copy of info, or 0 when info is null.
    void setTimeInfo(const VstTimeInfo* info);
    void setCallHook(CallHook hook);

    // Calls the entry point once. False with error() set when it answers null or a record
    // without the effect magic; the calls it made stay recorded either way.
    bool open(VstPluginMainProc entry);
    bool open(const PluginLibrary& library);
    bool isOpen() const { return instance != nullptr; }
    AEffect* effect() const { return instance; }
    const std::string& error() const { return lastError; }

    // 0 when no instance is open. effClose goes through close().
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index) const;
    VstIntPtr sendEvents(const std::vector<VstMidiEvent>& events);

    // Runs frames samples through the plug-in in blocks of at most blockSize, one pointer per
    // declared channel in each list. Passing the same list twice processes in place. False,
    // without calling the plug-in, when the lists or sizes do not fit the instance.
    bool processReplacing(const std::vector<float*>& inputs, const std::vector<float*>& outputs,
                          VstInt32 frames, VstInt32 blockSize);
    // The deprecated accumulating process, with the same checks.
    bool process(const std::vector<float*>& inputs, const std::vector<float*>& outputs,
                 VstInt32 frames, VstInt32 blockSize);

    // Asks for a text into a field of fieldLength bytes that sits between guard bytes and is
    // pre-filled with a non-zero pattern, so both overruns and missing terminators show.
    FieldText getString(VstInt32 opcode, VstInt32 index, std::size_t fieldLength);

    // Sends effClose once and forgets the instance; answers the plug-in's reply, or 0 when
    // nothing was open.
    VstIntPtr close();

    std::vector<HostCall> calls() const;
    std::size_t countCalls(VstInt32 opcode) const;
    std::vector<Automation> automations() const;
    void clearCalls();

    // The audioMasterCallback handed to every plug-in this library hosts.
    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt);

private:
    using ProcessProc = AEffectProcessProc;
    bool runBlocks(ProcessProc proc, const std::vector<float*>& inputs,
                   const std::vector<float*>& outputs, VstInt32 frames, VstInt32 blockSize);
    VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt, bool duringEntryPoint);

    AEffect* instance = nullptr;
    std::string lastError;
    VstIntPtr versionAnswer = kVstVersion;
    bool hasTimeInfo = false;
    VstTimeInfo timeInfo{};

    // The plug-in may call back from any of its threads.
    mutable std::mutex callsMutex;
    std::vector<HostCall> recorded;
    CallHook hook;
};

}  // namespace VstHost
