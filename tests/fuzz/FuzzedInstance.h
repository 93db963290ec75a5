// An instance of the plug-in this fuzz target is linked with, driven through its AEffect record
// as a host drives it, with the checks every target shares: audio stays finite and bounded.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "vst/PluginMain.h"

namespace Fuzz {

inline VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*,
                                       float) {
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

// Reads the fuzzer's bytes front to back; past the end everything reads as 0.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : at(data), left(size) {}
    std::uint8_t Byte() {
        if (left == 0) return 0;
        --left;
        return *at++;
    }
    std::int32_t Int32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = (value << 8) | Byte();
        return static_cast<std::int32_t>(value);
    }
    float Float() {
        const std::uint32_t bits = static_cast<std::uint32_t>(Int32());
        float value;
        std::memcpy(&value, &bits, sizeof(value));
        return value;
    }
    std::size_t Left() const { return left; }
    const std::uint8_t* Rest() const { return at; }
    void Skip(std::size_t count) {
        const std::size_t n = count < left ? count : left;
        at += n;
        left -= n;
    }

private:
    const std::uint8_t* at;
    std::size_t left;
};

class Instance {
public:
    Instance() : effect(createEffectInstance(quietHost)->getAeffect()) {
        Dispatch(effOpen);
        Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
        Dispatch(effSetBlockSize, 0, 512);
        Dispatch(effMainsChanged, 0, 1);
    }
    ~Instance() { effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f); }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }

    // Renders frames of a bounded test signal; aborts (a finding) on a sample that is not
    // finite or far beyond anything the settings can produce from it. The signal is computed
    // once: the fuzzer's time belongs to the plug-in.
    void Render(VstInt32 frames) {
        if (frames <= 0) return;
        static const std::vector<float> tone = [] {
            std::vector<float> samples(kToneFrames);
            for (std::size_t i = 0; i < samples.size(); ++i)
                samples[i] = 0.5f * std::sin(0.05f * static_cast<float>(i));
            return samples;
        }();
        const std::size_t count = static_cast<std::size_t>(frames);
        if (outL.size() < count) {
            outL.resize(count);
            outR.resize(count);
            signal.resize(count);
        }
        for (std::size_t i = 0; i < count; ++i) signal[i] = tone[(phase + i) % kToneFrames];
        phase = (phase + count) % kToneFrames;
        float* inputs[] = {signal.data(), signal.data()};
        float* outputs[] = {outL.data(), outR.data()};
        effect->processReplacing(effect, inputs, outputs, frames);
        for (std::size_t i = 0; i < count; ++i)
            if (!(std::fabs(outL[i]) < 64.0f) || !(std::fabs(outR[i]) < 64.0f)) std::abort();
    }

    AEffect* effect;

private:
    static constexpr std::size_t kToneFrames = 4096;
    std::vector<float> signal, outL, outR;
    std::size_t phase = 0;
};

}  // namespace Fuzz
