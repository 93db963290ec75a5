// A plug-in instance driven as a host drives it, with a callback that answers what a host
// answers and records nothing, so long runs stay flat in memory.
#pragma once

#include <string>
#include <vector>

#include "tools/host/PluginLibrary.h"
#include "vst/VstInterface.h"

namespace Validate {

class Instance {
public:
    // Null effect() when the entry point refuses.
    explicit Instance(const VstHost::PluginLibrary& library, float sampleRate = 48000.0f);
    ~Instance();
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    AEffect* effect() const { return aeffect; }
    VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) const;
    void SetParameter(VstInt32 index, float value) const;
    float GetParameter(VstInt32 index) const;
    // Suspended around the change, as hosts do.
    void SetSampleRate(float rate) const;
    // Processes in place when out is the same as in.
    void Process(float** in, float** out, VstInt32 frames) const;
    std::vector<unsigned char> Chunk(bool program) const;
    bool LoadChunk(std::vector<unsigned char> bytes, bool program) const;
    std::string Text(VstInt32 opcode, VstInt32 index) const;

private:
    AEffect* aeffect = nullptr;
};

// Audio a check renders: two channels of frames.
struct Stereo {
    std::vector<float> left, right;
    explicit Stereo(std::size_t frames = 0) : left(frames), right(frames) {}
    float* channels[2] = {};
    float** Channels() {
        channels[0] = left.data();
        channels[1] = right.data();
        return channels;
    }
};

// A wide test signal with a sub, noise and silence gaps, peak 0.5.
Stereo TestSignal(std::size_t frames, unsigned seed);

// What came out: the largest magnitude, and counts of non-finite and subnormal samples.
struct Levels {
    float peak = 0.0f;
    long nonFinite = 0;
    long subnormal = 0;
    void Add(const float* samples, std::size_t count);
    void Add(const Stereo& audio) {
        Add(audio.left.data(), audio.left.size());
        Add(audio.right.data(), audio.right.size());
    }
    bool Sane(float limit) const { return nonFinite == 0 && subnormal == 0 && peak <= limit; }
};

}  // namespace Validate
