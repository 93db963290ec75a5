// Throughput of the shipped plug-ins as a host meets them: each binary is loaded from its path
// and driven through its AEffect record, beside the bounds of their arithmetic (one stage's
// recursion per sample, the latency no rendering of the cascade can beat), a copy of both
// channels, and peer plug-ins of the same kind where they are installed. The table at the end
// gives nanoseconds per stereo frame and checks the ratio goals.
//
// Arguments after Google Benchmark's own: none. QC_DIST_DIR locates the binaries.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tools/host/PluginLibrary.h"
#include "tools/host/Vst3Instance.h"
#if QC_WITH_LV2
#include "effect/x64/ParameterTable.h"
#include "tools/host/Lv2Instance.h"
#endif

namespace {

constexpr const char* kModes[] = {"off", "low", "high", "both"};
constexpr float kSampleRate = 48000.0f;

VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

std::vector<float> noise(std::size_t frames, std::uint32_t seed, float peak = 0.5f) {
    std::vector<float> out(frames);
    for (float& sample : out) {
        seed = seed * 1664525u + 1013904223u;
        sample = (static_cast<float>(seed >> 8) / 16777216.0f * 2.0f - 1.0f) * peak;
    }
    return out;
}

// A loaded binary; its instances live as long as the benchmark that made them.
struct Binary {
    std::string label;
    std::string path;
    std::unique_ptr<VstHost::PluginLibrary> library;
};

std::map<std::string, Binary>& binaries() {
    static std::map<std::string, Binary> loaded;
    return loaded;
}

AEffect* openInstance(const Binary& binary) {
    AEffect* effect = binary.library->entryPoint()(quietHost);
    if (effect == nullptr) return nullptr;
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, kSampleRate);
    effect->dispatcher(effect, effSetBlockSize, 0, 4096, nullptr, 0.0f);
    return effect;
}

void start(AEffect* effect) {
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
}

void closeInstance(AEffect* effect) {
    effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

// The normalised settings of a case, parameters 0-3 (Bass Amp stays at its default): the mode,
// a cutoff of 100 Hz, the slope and half spread.
std::array<float, 4> caseSettings(int mode, int slope) {
    return {(mode + 0.5f) / 4.0f, 0.1f, (slope + 0.5f) / 4.0f, 0.5f};
}

// Renders stereo blocks through one instance; with silent set, loud blocks first, then the
// measured ones are silence.
void renderCase(benchmark::State& state, const Binary* binary, int mode, int slope, int block,
                bool silent) {
    AEffect* effect = openInstance(*binary);
    if (mode >= 0) {
        const auto settings = caseSettings(mode, slope);
        for (int i = 0; i < 4; ++i) effect->setParameter(effect, i, settings[i]);
    }
    start(effect);
    // As many channels as the plug-in declares (a splitter has more outputs than inputs);
    // the first two inputs carry the signal.
    std::vector<std::vector<float>> in(std::max(2, effect->numInputs), noise(block, 1));
    std::vector<std::vector<float>> out(std::max(2, effect->numOutputs), std::vector<float>(block));
    in[1] = noise(block, 2);
    std::vector<float*> inputs, outputs;
    for (auto& channel : in) inputs.push_back(channel.data());
    for (auto& channel : out) outputs.push_back(channel.data());
    if (silent) {
        for (int i = 0; i < 64; ++i)
            effect->processReplacing(effect, inputs.data(), outputs.data(), block);
        for (auto& channel : in) std::fill(channel.begin(), channel.end(), 0.0f);
        for (int i = 0; i < 2000; ++i)
            effect->processReplacing(effect, inputs.data(), outputs.data(), block);
    }
    for (auto _ : state) {
        effect->processReplacing(effect, inputs.data(), outputs.data(), block);
        benchmark::DoNotOptimize(outputs[0]);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * block);
    closeInstance(effect);
}

// The timed loop of the other formats' cases: the same stereo noise as renderCase, one block
// per iteration through process(in, out).
template <typename Process>
void timeStereoBlocks(benchmark::State& state, int block, Process process) {
    std::vector<float> inL = noise(block, 1), inR = noise(block, 2), outL(block), outR(block);
    float* inputs[] = {inL.data(), inR.data()};
    float* outputs[] = {outL.data(), outR.data()};
    for (auto _ : state) {
        process(inputs, outputs);
        benchmark::DoNotOptimize(outputs[0]);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * block);
}

// The x64 build's VST3 module, loaded from its bundle; null when it is not there.
std::unique_ptr<Vst3Host::Module>& vst3Module() {
    static std::unique_ptr<Vst3Host::Module> module;
    return module;
}

// The same settings and signal as renderCase, through the VST3 processor as a host drives it:
// the settings as parameter changes, then blocks with an empty change list.
void renderVst3Case(benchmark::State& state, int mode, int slope, int block) {
    Vst3Host::ClassInfo effect;
    vst3Module()->findClass(effect);
    Vst3Host::Instance instance(*vst3Module(), effect.id);
    if (!instance.start(kSampleRate, 4096)) {
        state.SkipWithError(instance.error().c_str());
        return;
    }
    Vst3Host::ParameterChanges settings, none;
    const auto normalised = caseSettings(mode, slope);
    for (int i = 0; i < 4; ++i) settings.add(static_cast<Vst3::ParamID>(i), 0, normalised[i]);
    instance.process(nullptr, nullptr, 0, &settings);
    timeStereoBlocks(state, block,
                     [&](float** in, float** out) { instance.process(in, out, block, &none); });
}

#if QC_WITH_LV2
// The x64 build's LV2 plug-in, loaded from its bundle; null when it is not there.
std::unique_ptr<Lv2Host::Plugin>& lv2Plugin() {
    static std::unique_ptr<Lv2Host::Plugin> plugin;
    return plugin;
}

// The same settings and signal as renderCase, on the LV2 plug-in's control ports in their units,
// then blocks with an empty control sequence.
void renderLv2Case(benchmark::State& state, int mode, int slope, int block) {
    Lv2Host::UridMap map;
    Lv2Host::Instance instance(*lv2Plugin(), map, kSampleRate);
    if (!instance.ok()) {
        state.SkipWithError("instantiate refused");
        return;
    }
    const auto normalized = caseSettings(mode, slope);
    for (int i = 0; i < 4; ++i)
        instance.controls[i] =
            QuellinCorvane::UnitsFor(QuellinCorvane::kParameterRows[i], normalized[i]);
    timeStereoBlocks(state, block, [&](float** in, float** out) {
        instance.run(in, out, static_cast<std::uint32_t>(block));
    });
}
#endif

// 64 instances, each with its own 64-frame buffers, rendered one after another as a host
// renders 64 tracks; items are frames of one track, so the rate gives the share of a core.
void manyInstances(benchmark::State& state, const Binary* binary) {
    constexpr int kInstances = 64;
    constexpr int kBlock = 64;
    std::vector<AEffect*> effects;
    std::vector<std::vector<float>> buffers;
    for (int i = 0; i < kInstances; ++i) {
        AEffect* effect = openInstance(*binary);
        effect->setParameter(effect, 0, 0.875f);
        effect->setParameter(effect, 2, 0.875f);
        start(effect);
        effects.push_back(effect);
        for (int c = 0; c < 4; ++c) buffers.push_back(noise(kBlock, 1 + i * 4 + c));
    }
    for (auto _ : state) {
        for (int i = 0; i < kInstances; ++i) {
            float* inputs[] = {buffers[i * 4].data(), buffers[i * 4 + 1].data()};
            float* outputs[] = {buffers[i * 4 + 2].data(), buffers[i * 4 + 3].data()};
            effects[i]->processReplacing(effects[i], inputs, outputs, kBlock);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
    for (AEffect* effect : effects) closeInstance(effect);
}

// The latency bound of the x64 build's arithmetic: one stage of one channel per frame, the
// multiply -> add -> add recursion that every stage of every channel must run per sample.
void boundX64(benchmark::State& state) {
    const int frames = 512;
    std::vector<float> in = noise(frames, 3), out(frames);
    const float b0 = 0.0065f, a1 = 0.987f, offset = 1e-25f;
    float x1 = 0.0f, y1 = 0.0f;
    for (auto _ : state) {
        for (int i = 0; i < frames; ++i) {
            float t = in[i] + x1;
            t = t * b0;
            const float y = t + a1 * y1;
            x1 = in[i] + offset;
            y1 = y + offset;
            out[i] = y;
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * frames);
}

// The same for the 32-bit build's stage: subtract -> multiply -> add -> add.
void boundX86(benchmark::State& state) {
    const int frames = 512;
    std::vector<float> in = noise(frames, 3), out(frames);
    const float c = 0.013f, offset = 1e-25f;
    float s = 0.0f;
    for (auto _ : state) {
        for (int i = 0; i < frames; ++i) {
            s = s + (in[i] - s) * c + offset;
            out[i] = s;
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * frames);
}

void copyBothChannels(benchmark::State& state) {
    const int frames = 512;
    std::vector<float> inL = noise(frames, 1), inR = noise(frames, 2), outL(frames), outR(frames);
    for (auto _ : state) {
        std::memcpy(outL.data(), inL.data(), frames * sizeof(float));
        std::memcpy(outR.data(), inR.data(), frames * sizeof(float));
        benchmark::DoNotOptimize(outL.data());
        benchmark::DoNotOptimize(outR.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * frames);
}

// Every case runs once per sweep, briefly, and counts with its fastest run. On a shared or
// virtual machine other work only ever slows a run down, so the fastest run shows the code's
// own cost; sweeping all cases again and again, rather than repeating one case back to back,
// spreads a busy spell of the machine over many cases instead of spoiling one.
constexpr int kSweeps = 7;
constexpr double kSecondsPerRun = 0.05;

// Collects each case's fastest nanoseconds per frame by name.
class Collector : public benchmark::ConsoleReporter {
public:
    bool ReportContext(const Context& context) override {
        return sweeps++ == 0 ? ConsoleReporter::ReportContext(context) : true;
    }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const auto rate = run.counters.find("items_per_second");
            if (rate == run.counters.end() || !(rate->second.value > 0)) continue;
            const double ns = 1e9 / rate->second.value;
            const auto [at, added] = nsPerFrame.emplace(run.run_name.function_name, ns);
            if (!added && ns < at->second) at->second = ns;
        }
    }
    std::map<std::string, double> nsPerFrame;

private:
    int sweeps = 0;
};

struct Goals {
    const std::map<std::string, double>& ns;
    int failed = 0;

    double Get(const std::string& name) const {
        const auto found = ns.find(name);
        return found == ns.end() ? 0.0 : found->second;
    }
    void Check(const std::string& what, double ratio, double limit) {
        const bool ok = ratio > 0.0 && ratio <= limit;
        failed += ok ? 0 : 1;
        std::printf("  %-52s %6.2f  (goal <= %.2f) %s\n", what.c_str(), ratio, limit,
                    ok ? "ok" : "MISSED");
    }
};

template <typename... Args>
void add(const std::string& name, Args&&... args) {
    benchmark::RegisterBenchmark(name.c_str(), std::forward<Args>(args)...)
        ->MinTime(kSecondsPerRun);
}

void registerCases() {
    add("bound/x64-stage", boundX64);
    add("bound/x86-stage", boundX86);
    add("memcpy/both-channels", copyBothChannels);
    for (auto& [key, binary] : binaries()) {
        const Binary* b = &binary;
        if (key.rfind("peer:", 0) == 0) {
            add(key + "/default-512", renderCase, b, -1, 0, 512, false);
            continue;
        }
        for (int mode = 0; mode < 4; ++mode)
            for (int slope = 0; slope < 4; ++slope)
                for (int block : {32, 512}) {
                    if (mode == 0 && slope > 0) continue;
                    const std::string name = key + "/" + kModes[mode] + "-" +
                                             std::to_string(6 * (slope + 1)) + "-" +
                                             std::to_string(block);
                    add(name, renderCase, b, mode, slope, block, false);
                }
        add(key + "/silence-24-512", renderCase, b, 3, 3, 512, true);
        add(key + "/64-instances", manyInstances, b);
    }
    // The other formats at 512 frames, every mode and slope, for their ratio to the VST 2.x one.
    const auto addFormat = [](const std::string& format,
                              void (*render)(benchmark::State&, int, int, int)) {
        for (int mode = 0; mode < 4; ++mode)
            for (int slope = 0; slope < (mode == 0 ? 1 : 4); ++slope)
                add(format + "/" + kModes[mode] + "-" + std::to_string(6 * (slope + 1)) + "-512",
                    render, mode, slope, 512);
    };
    if (vst3Module() != nullptr) addFormat("vst3", renderVst3Case);
#if QC_WITH_LV2
    if (lv2Plugin() != nullptr) addFormat("lv2", renderLv2Case);
#endif
}

void load(const std::string& key, const std::string& label, const std::string& path) {
    if (!std::filesystem::exists(path)) {
        std::printf("bench: %s not found at %s; left out\n", label.c_str(), path.c_str());
        return;
    }
    Binary binary{label, path, std::make_unique<VstHost::PluginLibrary>()};
    if (!binary.library->load(path)) {
        std::printf("bench: %s: %s\n", label.c_str(), binary.library->error().c_str());
        return;
    }
    binaries().emplace(key, std::move(binary));
}

int printTable(const std::map<std::string, double>& ns) {
    Goals goals{ns};
    std::printf("\nns per stereo frame (48 kHz, 512-frame blocks unless named; fastest of %d)\n",
                kSweeps);
    for (const auto& [name, value] : ns) std::printf("  %-40s %8.2f\n", name.c_str(), value);

    std::printf("\nratios\n");
    for (const auto& [key, bound] : {std::pair<std::string, std::string>{"x64", "bound/x64-stage"},
                                     {"x86", "bound/x86-stage"}}) {
        if (!binaries().count(key)) continue;
        for (int mode = 1; mode < 4; ++mode)
            for (int slope = 0; slope < 4; ++slope) {
                const std::string base =
                    key + "/" + kModes[mode] + "-" + std::to_string(6 * (slope + 1));
                goals.Check(base + "-512 / its bound", goals.Get(base + "-512") / goals.Get(bound),
                            1.3);
                goals.Check(base + "-32 / " + base + "-512",
                            goals.Get(base + "-32") / goals.Get(base + "-512"), 1.5);
            }
        goals.Check(key + "/off-6-512 / memcpy",
                    goals.Get(key + "/off-6-512") / goals.Get("memcpy/both-channels"), 2.0);
        goals.Check(key + " silence after loud / signal",
                    goals.Get(key + "/silence-24-512") / goals.Get(key + "/both-24-512"), 1.1);
        for (const auto& [peer, binary] : binaries())
            if (peer.rfind("peer:", 0) == 0)
                goals.Check(key + "/both-24-512 / " + binary.label,
                            goals.Get(key + "/both-24-512") / goals.Get(peer + "/default-512"),
                            1.0);
        // Items are frames of one track: a round of 64 tracks takes 64 x ns, and must finish
        // within 64 / 48000 s.
        const double share = goals.Get(key + "/64-instances") * kSampleRate * 1e-9;
        std::printf("  %-52s %5.1f %% of one core\n",
                    (key + ": 64 instances, 64-frame blocks at 48 kHz").c_str(), share * 100.0);
    }
    // The VST3 processor and the LV2 plug-in wrap the same signal path: their own cost is the
    // translation of the block's records or ports, a few nanoseconds per block. Off is a copy of
    // about 50 ns a block, where that fixed cost alone is 10-25 %, so it is shown without a goal.
    const auto wrapperRatios = [&](const std::string& format) {
        const auto ratio = [&](const std::string& name) {
            return goals.Get(format + "/" + name) / goals.Get("x64/" + name);
        };
        std::printf("  %-52s %6.2f  (a copy: no goal)\n",
                    (format + "/off-6-512 / x64/off-6-512").c_str(), ratio("off-6-512"));
        for (int mode = 1; mode < 4; ++mode)
            for (int slope = 0; slope < 4; ++slope) {
                const std::string name =
                    std::string(kModes[mode]) + "-" + std::to_string(6 * (slope + 1)) + "-512";
                goals.Check(format + "/" + name + " / x64/" + name, ratio(name), 1.05);
            }
    };
    if (vst3Module() != nullptr && binaries().count("x64")) wrapperRatios("vst3");
#if QC_WITH_LV2
    if (lv2Plugin() != nullptr && binaries().count("x64")) wrapperRatios("lv2");
#endif
    std::printf("%d ratio goal(s) missed\n", goals.failed);
    return goals.failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dist = QC_DIST_DIR;
    load("x64", "Corvane x64 build", dist + "/linux-x64/QuellinCorvane.so");
    load("x86", "Corvane x86 build (x86-64 twin)",
         dist + "/testing/linux-x64/QuellinCorvane-SynthToolkit.so");
    const std::string bundle = dist + "/linux-x64/QuellinCorvane.vst3";
    auto module = std::make_unique<Vst3Host::Module>();
    if (module->load(bundle))
        vst3Module() = std::move(module);
    else
        std::printf("bench: the VST3 bundle: %s; left out\n", module->error().c_str());
#if QC_WITH_LV2
    auto plugin = std::make_unique<Lv2Host::Plugin>();
    if (plugin->load(dist + "/linux-x64/quellin-corvane.lv2"))
        lv2Plugin() = std::move(plugin);
    else
        std::printf("bench: the LV2 bundle: %s; left out\n", plugin->error().c_str());
#endif
    load("peer:3BandSplitter", "3 Band Splitter", "/usr/lib/vst/3BandSplitter-vst.so");
    load("peer:3BandEQ", "3 Band EQ", "/usr/lib/vst/3BandEQ-vst.so");
    load("peer:CrossoverStereo", "Crossover Stereo x8",
         "/usr/lib/vst/lsp-plugins/crossover-stereo.so");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    registerCases();
    Collector collector;
    for (int sweep = 0; sweep < kSweeps; ++sweep) {
        std::printf("sweep %d of %d\n", sweep + 1, kSweeps);
        std::fflush(stdout);
        benchmark::RunSpecifiedBenchmarks(&collector);
    }
    benchmark::Shutdown();
    return printTable(collector.nsPerFrame);
}
