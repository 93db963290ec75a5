// The shape both signal-path benchmarks share: every output mode and slope at three block
// sizes, the plug-in through its AEffect record ("plugin/<case>") next to a plain per-sample
// rendering of the same formulas ("reference/<case>"), printed with their ratio.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/bench/BenchmarkTable.h"
#include "vst/PluginMain.h"

namespace Bench {

constexpr const char* kModes[] = {"off", "low", "high", "both"};
constexpr int kBlocks[] = {32, 512, 4096};

inline VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*,
                                       float) {
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

// The same white noise on every run and platform.
inline std::vector<float> noise(std::size_t frames, std::uint32_t seed) {
    std::vector<float> out(frames);
    for (float& sample : out) {
        seed = seed * 1664525u + 1013904223u;
        sample = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
    }
    return out;
}

inline void pluginCase(benchmark::State& state, int mode, int slope, int block) {
    // The factory behind the exported entry point; the entry itself is an alias of main on Linux.
    AEffect* effect = createEffectInstance(quietHost)->getAeffect();
    effect->setParameter(effect, 0, (mode + 0.5f) / 4.0f);
    effect->setParameter(effect, 2, (slope + 0.5f) / 4.0f);
    effect->setParameter(effect, 3, 0.5f);
    // A running instance: resume settles whatever glides.
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    std::vector<float> inL = noise(block, 1), inR = noise(block, 2), outL(block), outR(block);
    float* inputs[] = {inL.data(), inR.data()};
    float* outputs[] = {outL.data(), outR.data()};
    for (auto _ : state) {
        effect->processReplacing(effect, inputs, outputs, block);
        benchmark::DoNotOptimize(outL.data());
    }
    state.SetItemsProcessed(state.iterations() * block);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

// Reference(mode, slope, frames) with render(inL, inR, outL, outR, frames).
template <typename Reference>
void referenceCase(benchmark::State& state, int mode, int slope, int block) {
    Reference reference(mode, slope, block);
    std::vector<float> inL = noise(block, 1), inR = noise(block, 2), outL(block), outR(block);
    for (auto _ : state) {
        reference.render(inL.data(), inR.data(), outL.data(), outR.data(), block);
        benchmark::DoNotOptimize(outL.data());
    }
    state.SetItemsProcessed(state.iterations() * block);
}

template <typename Reference>
int runModeSlopeCases(int argc, char** argv) {
    for (int mode = 0; mode < 4; ++mode)
        for (int slope = 0; slope < 4; ++slope)
            for (int block : kBlocks) {
                const std::string name = std::string(kModes[mode]) + "-" +
                                         std::to_string(6 * (slope + 1)) + "dB-" +
                                         std::to_string(block);
                benchmark::RegisterBenchmark(("plugin/" + name).c_str(), pluginCase, mode, slope,
                                             block);
                benchmark::RegisterBenchmark(("reference/" + name).c_str(),
                                             referenceCase<Reference>, mode, slope, block);
            }
    return RunWithTable(argc, argv);
}

}  // namespace Bench
