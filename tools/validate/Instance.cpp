#include "tools/validate/Instance.h"

#include <cmath>
#include <cstring>

namespace Validate {
namespace {

VstTimeInfo timeInfo = [] {
    VstTimeInfo info{};
    info.sampleRate = 48000.0;
    info.tempo = 120.0;
    info.timeSigNumerator = 4;
    info.timeSigDenominator = 4;
    info.flags = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
    return info;
}();

VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    switch (opcode) {
        case audioMasterVersion: return kVstVersion;
        case audioMasterGetTime: return reinterpret_cast<VstIntPtr>(&timeInfo);
        default: return 0;
    }
}

}  // namespace

Instance::Instance(const VstHost::PluginLibrary& library, float sampleRate)
    : aeffect(library.entryPoint() != nullptr ? library.entryPoint()(host) : nullptr) {
    if (aeffect == nullptr) return;
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    Dispatch(effSetBlockSize, 0, 8192);
    Dispatch(effMainsChanged, 0, 1);
}

Instance::~Instance() {
    if (aeffect == nullptr) return;
    Dispatch(effMainsChanged, 0, 0);
    aeffect->dispatcher(aeffect, effClose, 0, 0, nullptr, 0.0f);
}

VstIntPtr Instance::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                             float opt) const {
    return aeffect->dispatcher(aeffect, opcode, index, value, ptr, opt);
}

void Instance::SetParameter(VstInt32 index, float value) const {
    aeffect->setParameter(aeffect, index, value);
}

float Instance::GetParameter(VstInt32 index) const {
    return aeffect->getParameter(aeffect, index);
}

void Instance::SetSampleRate(float rate) const {
    Dispatch(effMainsChanged, 0, 0);
    Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    Dispatch(effMainsChanged, 0, 1);
}

void Instance::Process(float** in, float** out, VstInt32 frames) const {
    aeffect->processReplacing(aeffect, in, out, frames);
}

std::vector<unsigned char> Instance::Chunk(bool program) const {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, program ? 1 : 0, 0, &data);
    if (size <= 0 || data == nullptr) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

bool Instance::LoadChunk(std::vector<unsigned char> bytes, bool program) const {
    return Dispatch(effSetChunk, program ? 1 : 0, static_cast<VstIntPtr>(bytes.size()),
                    bytes.data()) == 1;
}

std::string Instance::Text(VstInt32 opcode, VstInt32 index) const {
    char text[256] = {};
    Dispatch(opcode, index, 0, text);
    text[sizeof(text) - 1] = '\0';
    return text;
}

Stereo TestSignal(std::size_t frames, unsigned seed) {
    Stereo audio(frames);
    std::uint32_t state = seed * 2654435761u + 1;
    for (std::size_t i = 0; i < frames; ++i) {
        state = state * 1664525u + 1013904223u;
        const float noise = static_cast<float>(state >> 8) / 16777216.0f - 0.5f;
        const float sub = std::sin(0.008f * static_cast<float>(i));
        // A quiet stretch now and then, where tails decay towards subnormals.
        const float gate = (i / 9000) % 4 == 3 ? 0.0f : 1.0f;
        audio.left[i] = gate * (0.3f * sub + 0.2f * noise);
        audio.right[i] = gate * (0.3f * sub - 0.2f * noise);
    }
    return audio;
}

void Levels::Add(const float* samples, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const float v = samples[i];
        if (!std::isfinite(v)) {
            ++nonFinite;
            continue;
        }
        if (v != 0.0f && std::fpclassify(v) == FP_SUBNORMAL) ++subnormal;
        if (std::fabs(v) > peak) peak = std::fabs(v);
    }
}

}  // namespace Validate
