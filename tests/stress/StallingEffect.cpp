// A plug-in whose processReplacing stops returning after a while, as a deadlocked one would:
// the hammer's watchdog must notice it and end the run. Until then it behaves as the hammer
// expects of any effect: programs of a name and five values, saved whole in chunks.
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "vst/AudioEffectX.h"
#include "vst/PluginMain.h"
#include "vst/TextTools.h"

namespace {

constexpr VstInt32 kPrograms = 32;
constexpr VstInt32 kParameters = 5;
constexpr std::size_t kHeaderSize = 164;
constexpr int kBlocksBeforeStall = 2000;

struct Program {
    char name[kVstMaxProgNameLen] = {};
    float values[kParameters] = {};
};

class StallingEffect : public AudioEffectX {
public:
    explicit StallingEffect(audioMasterCallback master)
        : AudioEffectX(master, kPrograms, kParameters) {
        setNumInputs(2);
        setNumOutputs(2);
        setUniqueID(FourCharCode('Q', 'S', 't', 'l'));
        canProcessReplacing(true);
        programsAreChunks(true);
    }

    void processReplacing(float** inputs, float** outputs, VstInt32 frames) override {
        if (++blocks > kBlocksBeforeStall) {
            for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
        }
        for (int c = 0; c < 2; ++c) std::memmove(outputs[c], inputs[c], sizeof(float) * frames);
    }

    void setParameter(VstInt32 index, float value) override {
        if (validParameter(index)) current().values[index] = value;
    }
    float getParameter(VstInt32 index) override {
        return validParameter(index) ? current().values[index] : 0.0f;
    }
    void getParameterDisplay(VstInt32 index, char* text) override {
        float2string(getParameter(index), text, kVstMaxParamStrLen - 1);
    }
    void setProgramName(char* name) override { VstText::ReplaceField(current().name, name); }
    void getProgramName(char* name) override {
        VstText::CopyField(name, current().name, kVstMaxProgNameLen);
    }

    VstInt32 getChunk(void** data, bool isPreset) override {
        chunk.assign(kHeaderSize, 0);
        const auto append = [this](const Program& p) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(&p);
            chunk.insert(chunk.end(), bytes, bytes + sizeof p);
        };
        if (isPreset) {
            append(current());
        } else {
            for (const Program& p : programs) append(p);
        }
        *data = chunk.data();
        return static_cast<VstInt32>(chunk.size());
    }
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override {
        const std::size_t count = isPreset ? 1 : kPrograms;
        if (byteSize < 0 ||
            static_cast<std::size_t>(byteSize) != kHeaderSize + count * sizeof(Program))
            return 0;
        const auto* records = static_cast<const unsigned char*>(data) + kHeaderSize;
        std::memcpy(isPreset ? &current() : programs, records, count * sizeof(Program));
        return 1;
    }

private:
    static bool validParameter(VstInt32 index) { return index >= 0 && index < kParameters; }
    // The base passes any program number on.
    Program& current() {
        return programs[curProgram >= 0 && curProgram < kPrograms ? curProgram : 0];
    }

    Program programs[kPrograms];
    std::vector<unsigned char> chunk;
    int blocks = 0;
};

static_assert(sizeof(Program) == kVstMaxProgNameLen + 4 * kParameters, "records are packed");

}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    return new StallingEffect(audioMaster);
}
