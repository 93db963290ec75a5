#include "tools/validate/Checks.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <random>

#include "tools/validate/Instance.h"
#include "tools/validate/Memory.h"
#include "tools/validate/SharedChecks.h"

namespace Validate {
namespace {

constexpr VstInt32 kBlock = 512;

[[gnu::format(printf, 1, 2)]] std::string format(const char* pattern, ...) {
    char text[160];
    va_list arguments;
    va_start(arguments, pattern);
    std::vsnprintf(text, sizeof(text), pattern, arguments);
    va_end(arguments);
    return text;
}

Result fail(std::string why) {
    return {false, std::move(why)};
}

// Renders the signal through the instance in blocks of the given sizes (cycled); in place when
// asked. Zero-length calls may be mixed in and must change nothing.
Stereo render(const Instance& instance, const Stereo& input, const std::vector<VstInt32>& sizes,
              bool inPlace = false) {
    return RenderInPieces(input, sizes, inPlace,
                          [&](float** in, float** out, VstInt32 frames, std::size_t) {
                              instance.Process(in, out, frames);
                          });
}

// Output both bands, steepest slope, some spread and lift: every stage and the mix at work.
void busySettings(const Instance& instance, float cutoff = 0.3f) {
    instance.SetParameter(0, 1.0f);
    instance.SetParameter(1, cutoff);
    instance.SetParameter(2, 1.0f);
    instance.SetParameter(3, 0.4f);
    instance.SetParameter(4, 0.7f);
}

Result info(const VstHost::PluginLibrary& library, const Options&) {
    Instance instance(library);
    const AEffect* e = instance.effect();
    if (e == nullptr) return fail("entry point answered null");
    if (e->magic != kEffectMagic || e->numInputs != 2 || e->numOutputs != 2 || e->numParams != 5 ||
        e->numPrograms != 32)
        return fail("record: " + std::to_string(e->numInputs) + " in, " +
                    std::to_string(e->numOutputs) + " out, " + std::to_string(e->numParams) +
                    " parameters, " + std::to_string(e->numPrograms) + " programs");
    if (instance.Text(effGetEffectName, 0).empty() || instance.Text(effGetVendorString, 0).empty())
        return fail("no effect name or vendor");
    for (VstInt32 i = 0; i < e->numParams; ++i)
        if (instance.Text(effGetParamName, i).size() > 7 ||
            instance.Text(effGetParamDisplay, i).size() > 7)
            return fail("parameter " + std::to_string(i) + " text longer than its field");
    if (instance.Dispatch(effCanDo, 0, 0, const_cast<char*>("receiveVstMidiEvent")) != 1)
        return fail("does not take MIDI");
    return {true, instance.Text(effGetEffectName, 0) + " " +
                      std::to_string(instance.Dispatch(effGetVendorVersion))};
}

Result programs(const VstHost::PluginLibrary& library, const Options&) {
    Instance instance(library);
    for (VstInt32 p = 0; p < 32; ++p) {
        instance.Dispatch(effSetProgram, 0, p);
        std::string name = "Validate " + std::to_string(p);
        instance.Dispatch(effSetProgramName, 0, 0, name.data());
        instance.SetParameter(1, static_cast<float>(p) / 31.0f);
    }
    for (VstInt32 p = 0; p < 32; ++p) {
        instance.Dispatch(effSetProgram, 0, p);
        if (instance.Text(effGetProgramName, 0) != "Validate " + std::to_string(p) ||
            instance.GetParameter(1) != static_cast<float>(p) / 31.0f)
            return fail("program " + std::to_string(p) + " lost its name or value");
    }
    for (VstIntPtr bad : {VstIntPtr{-1}, VstIntPtr{32}, VstIntPtr{100000}}) {
        instance.Dispatch(effSetProgram, 0, bad);
        if (instance.Dispatch(effGetProgram) != 31) return fail("a bad program index moved it");
    }
    return {true, "32 programs, names and values kept"};
}

// The shared checks' view of this format.
struct Vst2 {
    using Binary = VstHost::PluginLibrary;
    using Effect = Instance;
    static std::unique_ptr<Instance> Make(const Binary& library, double rate) {
        auto instance = std::make_unique<Instance>(library, static_cast<float>(rate));
        return instance->effect() != nullptr ? std::move(instance) : nullptr;
    }
    static void Busy(const Instance& instance, double cutoff) {
        busySettings(instance, static_cast<float>(cutoff));
    }
    static Stereo Render(const Instance& instance, const Stereo& input,
                         const std::vector<VstInt32>& sizes, bool inPlace) {
        return render(instance, input, sizes, inPlace);
    }
};

Result sampleRates(const VstHost::PluginLibrary& library, const Options& options) {
    return SampleRates<Vst2>(library, options, UsualRates(), "13 rates");
}

Result blockSizes(const VstHost::PluginLibrary& library, const Options&) {
    return BlockSizes<Vst2>(library);
}

Result restore(const VstHost::PluginLibrary& library, const Options&) {
    const Stereo input = TestSignal(48000, 4);
    Instance original(library);
    std::mt19937 random(5);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (VstInt32 p = 0; p < 32; p += 7) {
        original.Dispatch(effSetProgram, 0, p);
        for (VstInt32 i = 0; i < 5; ++i) original.SetParameter(i, unit(random));
    }
    original.SetParameter(0, 0.9f);
    for (bool program : {false, true}) {
        const std::vector<unsigned char> chunk = original.Chunk(program);
        Instance restored(library);
        if (!program) restored.Dispatch(effSetProgram, 0, 28);
        if (chunk.empty() || !restored.LoadChunk(chunk, program))
            return fail(std::string(program ? "program" : "bank") + " chunk not taken back");
        if (restored.Chunk(program) != chunk) return fail("restored state writes other bytes");
        Instance fresh(library);
        fresh.Dispatch(effSetProgram, 0, 28);
        if (!fresh.LoadChunk(chunk, program)) return fail("second load refused");
        const Stereo a = render(restored, input, {kBlock}), b = render(fresh, input, {kBlock});
        if (a.left != b.left || a.right != b.right) return fail("restored instances differ");
        Instance direct(library);
        direct.Dispatch(effSetProgram, 0, 28);
        for (VstInt32 i = 0; i < 5; ++i) direct.SetParameter(i, original.GetParameter(i));
        const Stereo c = render(direct, input, {kBlock});
        if (a.left != c.left || a.right != c.right)
            return fail("restored state sounds unlike the same values set directly");
    }
    return {true, "bank and program: same bytes, bit-identical audio"};
}

Result automation(const VstHost::PluginLibrary& library, const Options& options) {
    const Stereo input = TestSignal(options.thorough ? 480000 : 96000, 6);
    Instance instance(library);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    Stereo out(input.left.size());
    Levels levels;
    for (std::size_t at = 0; at + 32 <= input.left.size(); at += 32) {
        for (VstInt32 i = 0; i < 5; ++i) instance.SetParameter(i, unit(random));
        float* in[] = {const_cast<float*>(input.left.data()) + at,
                       const_cast<float*>(input.right.data()) + at};
        float* o[] = {out.left.data() + at, out.right.data() + at};
        instance.Process(in, o, 32);
    }
    levels.Add(out);
    if (!levels.Sane(kSaneLimit)) return fail(format("peak %g", static_cast<double>(levels.peak)));
    return {true, format("every parameter every 32 samples: peak %.2f",
                         static_cast<double>(levels.peak))};
}

Result hostileValues(const VstHost::PluginLibrary& library, const Options&) {
    const float inf = std::numeric_limits<float>::infinity();
    const float values[] = {std::nanf(""), inf, -inf, -1.0f, 2.0f, 1e30f, -1e30f};
    const Stereo input = TestSignal(8192, 8);
    for (float value : values) {
        Instance instance(library);
        busySettings(instance);
        for (VstInt32 i = -1; i <= 5; ++i) instance.SetParameter(i, value);
        Levels levels;
        levels.Add(render(instance, input, {kBlock}));
        for (VstInt32 i = 0; i < 5; ++i)
            if (instance.Text(effGetParamDisplay, i).size() > 7)
                return fail(format("display of parameter %d overruns after %g", i,
                                   static_cast<double>(value)));
        if (!levels.Sane(kSaneLimit))
            return fail(format("after %g: peak %g", static_cast<double>(value),
                               static_cast<double>(levels.peak)));
    }
    return {true, "NaN, +-inf, -1, 2, +-1e30: audio sane"};
}

Result manyInstances(const VstHost::PluginLibrary& library, const Options&) {
    return ManyInstances<Vst2>(library);
}

Result soak(const VstHost::PluginLibrary& library, const Options& options) {
    const float rates[] = {8000, 22050, 44100, 48000, 96000, 192000};
    Instance instance(library);
    std::mt19937 random(11);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    return Soak(options, [&](long block, float** in, float** out) {
        instance.SetParameter(static_cast<VstInt32>(block % 5), unit(random));
        if (block % 997 == 0) instance.Dispatch(effSetProgram, 0, block % 32);
        if (block % 1499 == 0) {
            const bool program = block % 2 == 0;
            instance.LoadChunk(instance.Chunk(program), program);
        }
        if (block % 5003 == 0) instance.SetSampleRate(rates[(block / 5003) % 6]);
        instance.Process(in, out, kBlock);
    });
}

}  // namespace

Result EditorCycles(const VstHost::PluginLibrary& library, const Options& options);

const std::vector<Check>& Checks() {
    static const std::vector<Check> checks = {
        {"info", info},
        {"programs", programs},
        {"rates", sampleRates},
        {"blocks", blockSizes},
        {"restore", restore},
        {"automation", automation},
        {"hostile", hostileValues},
        {"instances", manyInstances},
        {"soak", soak},
        {"editor", EditorCycles},
    };
    return checks;
}

}  // namespace Validate
