// processReplacing of the x64 build through its AEffect record, for every output mode and
// slope at three block sizes, next to a straightforward per-sample rendering of the same
// formulas.
#include <math.h>

#include <string>
#include <vector>

#include "tools/bench/BenchmarkTable.h"
#include "vst/PluginMain.h"

namespace {

constexpr const char* kModes[] = {"off", "low", "high", "both"};
constexpr int kBlocks[] = {32, 512, 4096};

VstIntPtr VSTCALLBACK benchHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

std::vector<float> noise(std::size_t frames, std::uint32_t seed) {
    std::vector<float> out(frames);
    for (float& sample : out) {
        seed = seed * 1664525u + 1013904223u;
        sample = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
    }
    return out;
}

// The signal path written the plain way: one sample at a time, everything decided per sample.
class Reference {
public:
    Reference(int outputMode, int slopeIndex) : mode(outputMode), slope(slopeIndex) {
        const float w = (100.0f * 0x1.921fb8p+2f) / 44100.0f;
        a1 = cosf(w) / (sinf(w) + 1.0f);
        b0 = (1.0f - a1) * 0.5f;
    }

    void render(const float* inL, const float* inR, float* outL, float* outR, int frames) {
        for (int i = 0; i < frames; ++i) {
            const float in[2] = {inL[i], inR[i]};
            float low[2];
            for (int c = 0; c < 2; ++c) {
                low[c] = in[c];
                for (int k = 0; k <= slope; ++k) {
                    const float y = (low[c] + x1[c][k]) * b0 + a1 * y1[c][k];
                    x1[c][k] = low[c] + 1e-25f;
                    y1[c][k] = y + 1e-25f;
                    low[c] = y;
                }
            }
            const float h = (spread + 1.0f) * 0.5f;
            const float treatedL = ((1.0f - spread) * low[1] + low[0]) * h * gain;
            const float treatedR = ((1.0f - spread) * low[0] + low[1]) * h * gain;
            switch (mode) {
                case 0:
                    outL[i] = in[0];
                    outR[i] = in[1];
                    break;
                case 1:
                    outL[i] = treatedL;
                    outR[i] = treatedR;
                    break;
                case 2:
                    outL[i] = in[0] - low[0];
                    outR[i] = in[1] - low[1];
                    break;
                default: outL[i] = treatedL + in[0] - low[0]; outR[i] = treatedR + in[1] - low[1];
            }
        }
    }

private:
    int mode, slope;
    float a1, b0, spread = 0.5f, gain = 1.0f;
    float x1[2][4] = {}, y1[2][4] = {};
};

void pluginCase(benchmark::State& state, int mode, int slope, int block) {
    // The factory behind the exported entry point; the entry itself is an alias of main on Linux.
    AEffect* effect = createEffectInstance(benchHost)->getAeffect();
    effect->setParameter(effect, 0, (mode + 0.5f) / 4.0f);
    effect->setParameter(effect, 2, (slope + 0.5f) / 4.0f);
    effect->setParameter(effect, 3, 0.5f);
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

void referenceCase(benchmark::State& state, int mode, int slope, int block) {
    Reference reference(mode, slope);
    std::vector<float> inL = noise(block, 1), inR = noise(block, 2), outL(block), outR(block);
    for (auto _ : state) {
        reference.render(inL.data(), inR.data(), outL.data(), outR.data(), block);
        benchmark::DoNotOptimize(outL.data());
    }
    state.SetItemsProcessed(state.iterations() * block);
}

const bool registered = [] {
    for (int mode = 0; mode < 4; ++mode)
        for (int slope = 0; slope < 4; ++slope)
            for (int block : kBlocks) {
                const std::string name = std::string(kModes[mode]) + "-" +
                                         std::to_string(6 * (slope + 1)) + "dB-" +
                                         std::to_string(block);
                benchmark::RegisterBenchmark(("plugin/" + name).c_str(), pluginCase, mode, slope,
                                             block);
                benchmark::RegisterBenchmark(("reference/" + name).c_str(), referenceCase, mode,
                                             slope, block);
            }
    return true;
}();

}  // namespace

int main(int argc, char** argv) {
    return Bench::RunWithTable(argc, argv);
}
