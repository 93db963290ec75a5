// An in-process host callback that records every call, for tests that drive an AudioEffect
// directly rather than through a loaded binary. One RecordingHost is live at a time.
#pragma once

#include <vector>

#include "vst/VstInterface.h"

namespace TestSupport {

struct RecordedHostCall {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
};

class RecordingHost {
public:
    RecordingHost() { current = this; }
    ~RecordingHost() { current = nullptr; }
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    static VstIntPtr VSTCALLBACK callback(AEffect*, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void*, float opt) {
        if (current == nullptr) return 0;
        current->calls.push_back({opcode, index, value, opt});
        switch (opcode) {
            case audioMasterVersion: return current->versionAnswer;
            case audioMasterGetTime: return reinterpret_cast<VstIntPtr>(current->timeInfo);
            default: return current->answer;
        }
    }

    int count(VstInt32 opcode) const {
        int n = 0;
        for (const auto& call : calls) n += call.opcode == opcode ? 1 : 0;
        return n;
    }

    std::vector<RecordedHostCall> calls;
    VstIntPtr versionAnswer = kVstVersion;
    VstTimeInfo* timeInfo = nullptr;  // answer to audioMasterGetTime
    VstIntPtr answer = 0;             // to everything else

private:
    static inline RecordingHost* current = nullptr;
};

}  // namespace TestSupport
