// The validator's checks for a VST3 module, through the processor's and controller's own
// interfaces: the counterparts of the VST 2.x checks wherever the two formats share a promise.
#include <atomic>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>
#include <thread>

#include "tools/host/Vst3Instance.h"
#include "tools/host/Vst3PlugFrame.h"
#include "tools/validate/Checks.h"
#include "tools/validate/Instance.h"
#include "tools/validate/Memory.h"
#include "tools/validate/SharedChecks.h"

namespace Validate {
namespace {

using namespace Vst3;
using Vst3Host::Bytes;
using Vst3Host::ParameterChanges;

constexpr int32 kBlock = 512;
constexpr int32 kMaxBlock = 8192;

Result fail(std::string why) {
    return {false, std::move(why)};
}

// Shortest form, or with the decimals given.
std::string number(double value, int decimals = -1) {
    char text[32];
    if (decimals < 0)
        std::snprintf(text, sizeof(text), "%g", value);
    else
        std::snprintf(text, sizeof(text), "%.*f", decimals, value);
    return text;
}

Uid effectClass(const Vst3Host::Module& module) {
    Vst3Host::ClassInfo info;
    module.findClass(info);
    return info.id;
}

// Processing at the rate, ready for blocks up to kMaxBlock.
struct Effect : Vst3Host::Instance {
    explicit Effect(const Vst3Host::Module& module, double rate = 48000.0)
        : Instance(module, effectClass(module)) {
        started = start(rate, kMaxBlock);
    }
    // Changes in a block without audio, as hosts flush them while stopped.
    void flush(ParameterChanges& changes) { process(nullptr, nullptr, 0, &changes); }
    bool started = false;
};

// Both bands, steepest slope, some spread and lift: every stage and the mix at work.
void busySettings(Effect& effect, double cutoff = 0.3) {
    ParameterChanges changes;
    const double values[] = {1.0, cutoff, 1.0, 0.4, 0.7};
    for (ParamID id = 0; id < 5; ++id) changes.add(id, 0, values[id]);
    effect.flush(changes);
}

// The signal in blocks of the given sizes (cycled, zero-length ones included), in place when
// asked; changes go with the first block.
Stereo render(Effect& effect, const Stereo& input, const std::vector<int32>& sizes,
              bool inPlace = false, ParameterChanges* first = nullptr) {
    ParameterChanges none;
    return RenderInPieces(
        input, sizes, inPlace, [&](float** in, float** out, int32 frames, std::size_t piece) {
            effect.process(in, out, frames, piece == 0 && first != nullptr ? first : &none);
        });
}

Result insane(const std::string& when, const Levels& levels) {
    return fail(when + ": " + Describe(levels));
}

Result info(const Vst3Host::Module& module, const Options&) {
    Vst3Host::ClassInfo effect;
    if (!module.findClass(effect)) return fail("no audio effect class");
    if (effect.name.empty() || effect.vendor.empty()) return fail("no effect name or vendor");
    Effect instance(module);
    if (!instance.ok()) return fail(instance.error());
    if (!instance.started) return fail("refuses stereo 32-bit processing");
    if (!instance.connected) return fail("processor and controller do not connect");
    for (BusDirection direction : {kInput, kOutput}) {
        BusInfo bus{};
        if (instance.component->getBusCount(kAudio, direction) != 1 ||
            instance.component->getBusInfo(kAudio, direction, 0, bus) != kResultOk ||
            bus.channelCount != 2)
            return fail("not one stereo bus each way");
    }
    // Hidden parameters are the plug-in's own business: hosts neither show nor describe them.
    int visible = 0;
    for (int32 i = 0; i < instance.controller->getParameterCount(); ++i) {
        ParameterInfo parameter{};
        String128 text{};
        if (instance.controller->getParameterInfo(i, parameter) != kResultOk)
            return fail("parameter " + std::to_string(i) + " has no info");
        if (parameter.flags & ParameterInfo::kIsHidden) continue;
        ++visible;
        if (instance.controller->getParamStringByValue(parameter.id, 0.5, text) != kResultOk)
            return fail("parameter " + std::to_string(i) + " has no text");
    }
    return {true, effect.name + " " + effect.version + ", " + std::to_string(visible) +
                      " parameters shown"};
}

// The shared checks' view of this format. A rate the processor refuses leaves it at 48 kHz, as
// a host then falls back to one it takes.
struct Vst3Format {
    using Binary = Vst3Host::Module;
    using Effect = Validate::Effect;
    static std::unique_ptr<Effect> Make(const Binary& module, double rate) {
        auto effect = std::make_unique<Effect>(module);
        if (!effect->started) return nullptr;
        if (!effect->start(rate, kMaxBlock) && !effect->start(48000.0, kMaxBlock)) return nullptr;
        return effect;
    }
    static void Busy(Effect& effect, double cutoff) { busySettings(effect, cutoff); }
    static Stereo Render(Effect& effect, const Stereo& input, const std::vector<int32>& sizes,
                         bool inPlace) {
        return render(effect, input, sizes, inPlace);
    }
};

Result sampleRates(const Vst3Host::Module& module, const Options& options) {
    return SampleRates<Vst3Format>(module, options, UsualAndHostileRates(),
                                   "18 rates (0, NaN, inf, 1e12 among them)");
}

Result blockSizes(const Vst3Host::Module& module, const Options&) {
    return BlockSizes<Vst3Format>(module);
}

Result hostileValues(const Vst3Host::Module& module, const Options&) {
    const double inf = std::numeric_limits<double>::infinity();
    const double values[] = {std::nan(""), inf, -inf, -1.0, 2.0, 1e30, -1e30};
    const Stereo input = TestSignal(8192, 8);
    for (double value : values) {
        Effect effect(module);
        busySettings(effect);
        ParameterChanges hostile;
        for (ParamID id : {0u, 1u, 2u, 3u, 4u, 5u, 99u, 100u, 101u, kNoParamId}) {
            hostile.add(id, static_cast<int32>(id % 7) * 60, value);
            effect.controller->setParamNormalized(id, value);
            String128 text{};
            effect.controller->getParamStringByValue(id, value, text);
        }
        hostile.add(1, -5, value);          // before the block
        hostile.add(3, kBlock * 4, value);  // past it
        Levels levels;
        levels.Add(render(effect, input, {kBlock}, false, &hostile));
        if (!levels.Sane(kSaneLimit)) return insane("after " + number(value), levels);
    }
    return {true, "NaN, +-inf, -1, 2, +-1e30, odd IDs and offsets: audio sane"};
}

// A changed instance's state; every refused load must leave state and controller as they were.
Result restore(const Vst3Host::Module& module, const Options&) {
    const Stereo input = TestSignal(48000, 4);
    Effect original(module);
    std::mt19937 random(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    ParameterChanges changes;
    for (ParamID id = 0; id < 5; ++id) changes.add(id, 0, unit(random));
    changes.add(101, 0, 6.0 / 31.0);
    original.flush(changes);
    const Bytes state = original.state();
    if (state.empty()) return fail("no state");
    Effect restored(module);
    if (restored.setState(state) != kResultOk) return fail("its own state refused");
    if (restored.state() != state) return fail("restored state writes other bytes");
    const Stereo a = render(original, input, {kBlock}), b = render(restored, input, {kBlock});
    if (a.left != b.left || a.right != b.right) return fail("restored instance sounds different");

    Bytes foreign = state, corrupt = state, noise(state.size());
    foreign[5] ^= 0x20;  // another effect's name
    corrupt[0] ^= 0xFF;
    for (auto& byte : noise) byte = static_cast<unsigned char>(random());
    const std::pair<const char*, Bytes> bad[] = {
        {"empty", {}},
        // A state that loses only some of its 12-byte trailer is still a whole bank.
        {"truncated by 13", Bytes(state.begin(), state.end() - 13)},
        {"truncated by half", Bytes(state.begin(), state.begin() + state.size() / 2)},
        {"corrupt", corrupt},
        {"foreign", foreign},
        {"noise", noise},
    };
    Effect target(module);
    busySettings(target, 0.77);
    const Bytes before = target.state();
    const double cutoff = target.controller->getParamNormalized(1);
    for (const auto& [name, bytes] : bad) {
        Vst3Host::MemoryStream stream(bytes);
        if (target.setState(bytes) == kResultOk ||
            target.controller->setComponentState(&stream) == kResultOk)
            return fail(std::string(name) + " state taken");
        if (target.state() != before || target.controller->getParamNormalized(1) != cutoff)
            return fail(std::string(name) + " state refused but something changed");
    }
    return {true, "own state: same bytes and audio; empty, truncated, corrupt, foreign refused"};
}

Result manyInstances(const Vst3Host::Module& module, const Options&) {
    return ManyInstances<Vst3Format>(module);
}

Result soak(const Vst3Host::Module& module, const Options& options) {
    const double rates[] = {8000, 22050, 44100, 48000, 96000, 192000};
    Effect effect(module);
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    ParameterChanges changes;
    return Soak(options, [&](long block, float** in, float** out) {
        changes.clear();
        changes.add(static_cast<ParamID>(block % 5), static_cast<int32>(block % kBlock),
                    unit(random));
        if (block % 997 == 0) changes.add(101, 0, static_cast<double>(block % 32) / 31.0);
        if (block % 1499 == 0) effect.setState(effect.state());
        if (block % 5003 == 0) effect.start(rates[(block / 5003) % 6], kMaxBlock);
        effect.process(in, out, kBlock, &changes);
    });
}

}  // namespace

Result Vst3ViewCycles(const Vst3Host::Module& module, const Options& options, void* parent,
                      const char* platformType, const std::function<void()>& pump) {
    Effect effect(module);
    Vst3Host::PlugFrame frame;
    const auto cycle = [&]() -> std::string {
        IPlugView* view = effect.controller->createView(ViewType::kEditor);
        if (view == nullptr) return "no view the second time";
        std::string problem;
        view->setFrame(&frame);
        if (view->isPlatformTypeSupported(platformType) != kResultTrue)
            problem = std::string(platformType) + " not supported";
        else if (view->attached(parent, platformType) != kResultOk)
            problem = "attach refused";
        pump();
        frame.idle();
        if (problem.empty()) view->removed();
        view->setFrame(nullptr);
        view->release();
        pump();
        if (problem.empty() && frame.registrations() != 0) problem = "handlers left registered";
        return problem;
    };
    IPlugView* probe = effect.controller->createView(ViewType::kEditor);
    if (probe == nullptr) return {true, "the controller offers no view", true};
    probe->release();
    const int cycles = options.thorough ? 1000 : 100;
    std::string problem;
    for (int i = 0; i < cycles && problem.empty(); ++i) problem = cycle();
    // The same while the audio thread renders.
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        Stereo signal = TestSignal(256, 12), out(256);
        ParameterChanges none;
        while (!stop.load()) effect.process(signal.Channels(), out.Channels(), 256, &none);
    });
    for (int i = 0; i < cycles / 4 && problem.empty(); ++i) {
        effect.controller->setParamNormalized(static_cast<ParamID>(i % 5), (i % 10) / 10.0);
        problem = cycle();
    }
    stop.store(true);
    audio.join();
    if (!problem.empty()) return fail(problem);
    return {true, std::to_string(cycles) + " cycles, " + std::to_string(cycles / 4) +
                      " while processing, " + std::to_string(frame.resizes()) + " resizes"};
}

const std::vector<Vst3Check>& Vst3Checks() {
    static const std::vector<Vst3Check> checks = {
        {"info", info},       {"rates", sampleRates},       {"blocks", blockSizes},
        {"restore", restore}, {"hostile", hostileValues},   {"instances", manyInstances},
        {"soak", soak},       {"editor", Vst3EditorCycles},
    };
    return checks;
}

}  // namespace Validate
