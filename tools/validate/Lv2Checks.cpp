// The validator's checks for an LV2 bundle, through lv2_descriptor, the ports and the state
// interface: the counterparts of the other formats' checks wherever the promise is the same.
#include <atomic>
#include <cmath>
#include <fstream>
#include <limits>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "effect/x64/ParameterTable.h"
#include "lv2/Messages.h"
#include "tools/host/Lv2Instance.h"
#include "tools/validate/Checks.h"
#include "tools/validate/SharedChecks.h"

namespace Validate {
namespace {

using namespace QuellinCorvane;
using namespace QuellinCorvane::Lv2;

constexpr std::uint32_t kBlock = 512;

Result fail(std::string why) {
    return {false, std::move(why)};
}

// One URID map for the process, as a host keeps one for its session: saved keys mean the same
// to every instance.
Lv2Host::UridMap& sharedMap() {
    static Lv2Host::UridMap map;
    return map;
}

struct Effect {
    Effect(const Lv2Host::Plugin& plugin, double rate, bool activated = true)
        : instance(plugin, sharedMap(), rate, activated), urids(sharedMap().map) {}
    Lv2Host::Instance instance;
    Urids urids;
};

// Every parameter from its normalized value, as the other formats' checks set them.
void setNormalized(Effect& effect, const double (&values)[kParameterCount]) {
    for (int i = 0; i < kParameterCount; ++i)
        effect.instance.controls[i] = UnitsFor(kParameterRows[i], static_cast<float>(values[i]));
}

// Step k of the panel's teaching: controller 20 + k learned onto parameter k % 5, and every
// 16th step all of them cleared.
void teach(Effect& effect, int k) {
    Stereo silence(64);
    if (k % 16 == 15) {
        effect.instance.message(0, effect.urids.clearAll);
    } else {
        effect.instance.message(0, effect.urids.startLearning, effect.urids.parameterKey,
                                k % kParameterCount);
        effect.instance.midi(1, 0xB0, static_cast<std::uint8_t>(20 + k), 64);
    }
    effect.instance.run(silence.Channels(), silence.Channels(), 64);
}

// The first count steps (count < 16: nothing cleared).
void learn(Effect& effect, int count) {
    for (int k = 0; k < count; ++k) teach(effect, k);
}

Stereo render(Effect& effect, const Stereo& input, const std::vector<std::int32_t>& sizes,
              bool inPlace) {
    return RenderInPieces(input, sizes, inPlace,
                          [&](float** in, float** out, std::int32_t frames, std::size_t) {
                              effect.instance.run(in, out, static_cast<std::uint32_t>(frames));
                          });
}

// The shared checks' view of this format. A rate the plug-in refuses leaves it at 48 kHz, as a
// host then falls back to one it takes.
struct Lv2Format {
    using Binary = Lv2Host::Plugin;
    using Effect = Validate::Effect;
    static std::unique_ptr<Effect> Make(const Binary& plugin, double rate) {
        auto effect = std::make_unique<Effect>(plugin, rate);
        if (!effect->instance.ok()) effect = std::make_unique<Effect>(plugin, 48000.0);
        return effect->instance.ok() ? std::move(effect) : nullptr;
    }
    static void Busy(Effect& effect, double cutoff) {
        setNormalized(effect, {1.0, cutoff, 1.0, 0.4, 0.7});
    }
    static Stereo Render(Effect& effect, const Stereo& input,
                         const std::vector<std::int32_t>& sizes, bool inPlace) {
        return render(effect, input, sizes, inPlace);
    }
};

// The URI, and the ports the bundle's description lists against the ones the binary serves.
Result info(const Lv2Host::Plugin& plugin, const Options&) {
    Effect effect(plugin, 48000.0);
    if (!effect.instance.ok()) return fail("instantiate refused at 48 kHz");
    std::ifstream turtle(plugin.bundle() + "/" + kTurtleName);
    if (!turtle) return fail(std::string("no ") + kTurtleName + " beside the binary");
    std::stringstream text;
    text << turtle.rdbuf();
    int ports = 0;
    for (std::size_t at = 0; (at = text.str().find("lv2:index", at)) != std::string::npos; ++at)
        ++ports;
    if (ports != kPortCount)
        return fail(std::to_string(ports) + " ports described, " + std::to_string(kPortCount) +
                    " served");
    return {true, std::string(plugin.descriptor()->URI) + ", " + std::to_string(ports) + " ports"};
}

Result sampleRates(const Lv2Host::Plugin& plugin, const Options& options) {
    return SampleRates<Lv2Format>(plugin, options, UsualAndHostileRates(),
                                  "18 rates (0, NaN, inf, 1e12 among them)");
}

Result blockSizes(const Lv2Host::Plugin& plugin, const Options&) {
    return BlockSizes<Lv2Format>(plugin);
}

// Every control port, the enable port too, at values no host should send.
Result hostileValues(const Lv2Host::Plugin& plugin, const Options&) {
    const float inf = std::numeric_limits<float>::infinity();
    const float values[] = {std::nanf(""), inf, -inf, -1.0f, 2.0f, 1e30f, -1e30f};
    const Stereo input = TestSignal(8192, 8);
    for (float value : values) {
        Effect effect(plugin, 48000.0);
        Lv2Format::Busy(effect, 0.3);
        for (float& control : effect.instance.controls) control = value;
        effect.instance.enabled = value;
        Levels levels;
        levels.Add(render(effect, input, {kBlock}, false));
        if (!levels.Sane(kSaneLimit))
            return fail("after " + std::to_string(value) + ": " + Describe(levels));
    }
    return {true, "NaN, +-inf, -1, 2, +-1e30 on every control: audio sane"};
}

// Learned bindings saved and restored into a fresh instance (twice, before activation too);
// damaged states are refused and keep the bindings there were.
Result restore(const Lv2Host::Plugin& plugin, const Options&) {
    const Stereo input = TestSignal(48000, 4);
    Effect original(plugin, 48000.0);
    learn(original, 7);
    const Lv2Host::State state = original.instance.save();
    if (state.empty()) return fail("no state");
    Effect restored(plugin, 48000.0, false);
    if (restored.instance.restore(state) != LV2_STATE_SUCCESS ||
        restored.instance.restore(state) != LV2_STATE_SUCCESS)
        return fail("its own state refused");
    restored.instance.activate();
    if (restored.instance.save() != state) return fail("restored state saves other bytes");
    // A learned controller moved in both: the same parameter moves the same way.
    for (Effect* effect : {&original, &restored}) effect->instance.midi(0, 0xB0, 21, 10);
    const Stereo a = render(original, input, {kBlock}, false);
    const Stereo b = render(restored, input, {kBlock}, false);
    if (a.left != b.left || a.right != b.right) return fail("restored instance sounds different");

    const LV2_URID version = sharedMap()(kStateVersionUri);
    const LV2_URID bindings = sharedMap()(kMidiBindingsUri);
    Lv2Host::State newer = state, wrongType = state, truncated = state;
    newer[version].second = {99, 0, 0, 0};
    wrongType[bindings].first = sharedMap()(LV2_ATOM__Int);
    truncated[bindings].second.resize(truncated[bindings].second.size() / 2);
    const std::pair<const char*, Lv2Host::State> bad[] = {
        {"newer", newer}, {"wrong type", wrongType}, {"truncated", truncated}};
    for (const auto& [name, damaged] : bad) {
        Effect target(plugin, 48000.0);
        learn(target, 3);
        const Lv2Host::State before = target.instance.save();
        if (target.instance.restore(damaged) == LV2_STATE_SUCCESS)
            return fail(std::string(name) + " state taken");
        if (target.instance.save() != before)
            return fail(std::string(name) + " state refused but the bindings changed");
    }
    return {true,
            "7 bindings: same state and audio, twice before activation; newer, wrong "
            "type, truncated refused"};
}

Result manyInstances(const Lv2Host::Plugin& plugin, const Options&) {
    return ManyInstances<Lv2Format>(plugin);
}

Result soak(const Lv2Host::Plugin& plugin, const Options& options) {
    Effect effect(plugin, 48000.0);
    learn(effect, 5);
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    return Soak(options, [&](long block, float** in, float** out) {
        const auto parameter = static_cast<std::size_t>(block % kParameterCount);
        effect.instance.controls[parameter] =
            UnitsFor(kParameterRows[parameter], static_cast<float>(unit(random)));
        effect.instance.midi(block % kBlock, 0xB0, static_cast<std::uint8_t>(20 + block % 5),
                             static_cast<std::uint8_t>(random() % 128));
        if (block % 1499 == 0) effect.instance.restore(effect.instance.save());
        effect.instance.run(in, out, kBlock);
    });
}

// Saves from this thread while run goes on teaching on another: each must be a state the
// bindings passed through, never a mix of two.
Result saveBesideRun(const Lv2Host::Plugin& plugin, const Options& options) {
    constexpr int kSteps = 48;  // the last one clears, so every round starts unbound
    Effect reference(plugin, 48000.0), effect(plugin, 48000.0);
    std::set<Lv2Host::State> whole = {reference.instance.save()};
    for (int k = 0; k < kSteps; ++k) {
        teach(reference, k);
        whole.insert(reference.instance.save());
    }
    std::atomic<bool> done{false};
    std::thread audio([&] {
        for (int k = 0; !done.load(); k = (k + 1) % kSteps) teach(effect, k);
    });
    const int saves = options.thorough ? 200000 : 20000;
    int mixed = 0;
    for (int i = 0; i < saves; ++i) mixed += whole.count(effect.instance.save()) == 0 ? 1 : 0;
    done.store(true);
    audio.join();
    const std::string figure = std::to_string(saves) + " saves beside run, " +
                               std::to_string(whole.size()) + " whole states";
    if (mixed != 0) return fail(std::to_string(mixed) + " mixed of " + figure);
    return {true, figure};
}

}  // namespace

const std::vector<Lv2Check>& Lv2Checks() {
    static const std::vector<Lv2Check> checks = {
        {"info", info},       {"rates", sampleRates},     {"blocks", blockSizes},
        {"restore", restore}, {"hostile", hostileValues}, {"instances", manyInstances},
        {"soak", soak},       {"saverun", saveBesideRun},
    };
    return checks;
}

}  // namespace Validate
