// qc-host: a command-line host for VST 2.x plug-ins, and VST3 modules for info and render. Each
// subcommand prints its own --help; docs/qc-host.md has the longer tour.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "lv2/Ports.h"
#include "tools/qc-host/Analysis.h"
#include "tools/qc-host/Cli.h"
#include "tools/qc-host/FxFile.h"
#include "tools/qc-host/Lv2Presets.h"
#include "tools/qc-host/ParameterValue.h"
#include "tools/qc-host/Render.h"
#include "tools/qc-host/Response.h"
#include "tools/qc-host/Session.h"
#if QC_WITH_VST3
#include "tools/qc-host/Vst3Session.h"
#endif
#include "tools/qc-host/Wav.h"

namespace {

using namespace QcHost;

// 2 for a command line that makes no sense, 1 for work that failed.
constexpr int kUsageError = 2;
constexpr int kFailed = 1;

const char* const kSettingsHelp =
    "Settings apply in the order given, each to the current program:\n"
    "  --set NAME=VALUE   set a parameter (repeatable). NAME: its index, or its name as 'info'\n"
    "                     lists it (short or long, any case, or a prefix that fits one only).\n"
    "                     VALUE: a bare number from 0 to 1 is the normalised value; anything\n"
    "                     else is in the parameter's own terms, as its display shows them: a\n"
    "                     number (120, 120Hz, +3dB, 0.5dB) or a choice (both, -12)\n"
    "  --program N        switch to program N\n"
    "  --preset FILE      load a .fxp into the current program or a .fxb as the whole bank\n"
    "  --name TEXT        rename the current program\n";

const char* const kUsage =
    "usage: qc-host COMMAND [ARGS]   (qc-host COMMAND --help for each command)\n"
    "\n"
    "  info PLUGIN                     identity, I/O, parameters and programs\n"
    "  render PLUGIN IN.wav OUT.wav    process a WAV file into a 32-bit float WAV\n"
    "  preset save PLUGIN FILE         write the current program (.fxp) or the bank (.fxb)\n"
    "  preset show FILE                print what a .fxp or .fxb holds\n"
    "  preset lv2 PLUGIN BUNDLE FILE... turn .fxp/.fxb files into an LV2 preset bundle\n"
    "  response PLUGIN OUT.png         measure and plot the magnitude response\n"
    "  analyze IN.wav OUT.wav          levels and low-band stereo correlation of a render\n"
    "  demo-signal OUT.wav             write the stereo demo signal\n"
    "\n"
    "PLUGIN is a VST 2.x binary; info and render also take a VST3 bundle (NAME.vst3).\n";

struct Command {
    const char* name;
    const char* help;
    CommandShape shape;
    std::function<int(CommandLine&)> run;
};

int fail(const std::string& command, const std::string& message, int status = kFailed) {
    std::fprintf(stderr, "qc-host %s: %s\n", command.c_str(), message.c_str());
    return status;
}

bool openPlugin(const std::string& command, const std::string& path, Session& session,
                int& status) {
    std::string error;
#if QC_WITH_VST3
    if (isVst3Path(path)) {
        status = fail(command, path + ": VST3 modules work with info and render only");
        return false;
    }
#endif
    if (!session.open(path, error)) {
        status = fail(command, error);
        return false;
    }
    return true;
}

std::string flagNames(VstInt32 flags) {
    static const std::pair<VstInt32, const char*> names[] = {
        {effFlagsHasEditor, "editor"},
        {effFlagsCanReplacing, "replacing"},
        {effFlagsProgramChunks, "program-chunks"},
        {effFlagsIsSynth, "synth"},
        {effFlagsNoSoundInStop, "no-sound-in-stop"},
        {effFlagsCanDoubleReplacing, "double-replacing"},
    };
    std::string text;
    for (const auto& [bit, name] : names)
        if (flags & bit) text += std::string(text.empty() ? "" : " ") + name;
    return text;
}

const char* categoryName(VstIntPtr category) {
    static const char* names[] = {"Unknown",     "Effect",      "Synth",       "Analysis",
                                  "Mastering",   "Spatializer", "Room effect", "Surround",
                                  "Restoration", "Offline",     "Shell",       "Generator"};
    return category >= 0 && category < 12 ? names[category] : "Unknown";
}

#if QC_WITH_VST3
std::string hex(const Vst3::Uid& id) {
    std::string text;
    char digits[3];
    for (unsigned char b : id.bytes) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        text += digits;
    }
    return text;
}

int runVst3Info(CommandLine& line) {
    Vst3Session session;
    std::string error;
    if (!session.open(line.positional[0], error) || !session.apply(line.settings, error))
        return fail("info", error);
    const Vst3Host::ClassInfo& effect = session.effectClass();
    Vst3Host::Instance& plugin = session.plugin();
    std::printf("plug-in:        %s\n", line.positional[0].c_str());
    std::printf("format:         VST3\n");
    std::printf("effect name:    %s\n", effect.name.c_str());
    std::printf("vendor:         %s\n", effect.vendor.c_str());
    std::printf("version:        %s\n", effect.version.c_str());
    std::printf("class id:       %s\n", hex(effect.id).c_str());
    std::printf("category:       %s (%s)\n", effect.category.c_str(), effect.subCategories.c_str());
    for (Vst3::BusDirection direction : {Vst3::kInput, Vst3::kOutput}) {
        int channels = 0;
        for (Vst3::int32 i = 0; i < plugin.component->getBusCount(Vst3::kAudio, direction); ++i) {
            Vst3::BusInfo bus{};
            if (plugin.component->getBusInfo(Vst3::kAudio, direction, i, bus) == Vst3::kResultOk)
                channels += bus.channelCount;
        }
        std::printf("%s%d\n",
                    direction == Vst3::kInput ? "inputs:         " : "outputs:        ", channels);
    }
    std::printf("latency:        %u\n", plugin.processor->getLatencySamples());
    std::printf(
        "parameters:     %zu (index, id, name, display and unit, normalised value, what --set "
        "takes besides 0..1)\n",
        session.parameters().size());
    int index = 0;
    for (const Vst3::ParameterInfo& info : session.parameters()) {
        std::printf("  %3d  %4u  %-8s  %-12s  %.6f  %s  (%s)\n", index++, info.id,
                    Vst3Host::narrow(info.shortTitle).c_str(), session.display(info).c_str(),
                    plugin.controller->getParamNormalized(info.id),
                    session.describeAccepted(info).c_str(), Vst3Host::narrow(info.title).c_str());
    }
    const std::vector<std::string> programs = session.programNames();
    std::printf("programs:       %zu (current %d)\n", programs.size(), session.currentProgram());
    for (std::size_t p = 0; p < programs.size(); ++p)
        std::printf("  %3zu  %s\n", p, programs[p].c_str());
    return 0;
}
#endif

int runInfo(CommandLine& line) {
    if (line.positional.size() != 1)
        return fail("info", "needs exactly one PLUGIN argument", kUsageError);
#if QC_WITH_VST3
    if (isVst3Path(line.positional[0])) return runVst3Info(line);
#endif
    Session session;
    int status = 0;
    if (!openPlugin("info", line.positional[0], session, status)) return status;
    std::string error;
    if (!session.apply(line.settings, error)) return fail("info", error);
    AEffect* e = session.effect();
    std::printf("plug-in:        %s\n", line.positional[0].c_str());
    std::printf("effect name:    %s\n",
                session.text(effGetEffectName, 0, kVstMaxEffectNameLen).c_str());
    std::printf("vendor:         %s\n",
                session.text(effGetVendorString, 0, kVstMaxVendorStrLen).c_str());
    std::printf("product:        %s\n",
                session.text(effGetProductString, 0, kVstMaxProductStrLen).c_str());
    std::printf("vendor version: %ld\n",
                static_cast<long>(session.vst().dispatch(effGetVendorVersion)));
    std::printf("unique id:      %s\n", formatId(e->uniqueID).c_str());
    std::printf("version:        %d\n", e->version);
    std::printf("vst version:    %ld\n",
                static_cast<long>(session.vst().dispatch(effGetVstVersion)));
    const VstIntPtr category = session.vst().dispatch(effGetPlugCategory);
    std::printf("category:       %s (%ld)\n", categoryName(category), static_cast<long>(category));
    std::printf("flags:          0x%08X %s\n", static_cast<unsigned>(e->flags),
                flagNames(e->flags).c_str());
    std::printf("inputs:         %d\n", e->numInputs);
    std::printf("outputs:        %d\n", e->numOutputs);
    std::printf("initial delay:  %d\n", e->initialDelay);
    std::printf(
        "parameters:     %d (index, name, display and unit, normalised value, what "
        "--set takes besides 0..1)\n",
        e->numParams);
    for (int i = 0; i < e->numParams; ++i) {
        const std::string display = session.paramDisplay(i), label = session.paramLabel(i);
        const std::string longName = session.paramLongName(i);
        std::printf("  %3d  %-8s  %-12s  %.6f  %s%s\n", i, session.paramName(i).c_str(),
                    (display + (label.empty() ? "" : " " + label)).c_str(),
                    session.vst().getParameter(i), describeAccepted(session, i).c_str(),
                    longName.empty() ? "" : ("  (" + longName + ")").c_str());
    }
    const VstIntPtr current = session.vst().dispatch(effGetProgram);
    std::printf("programs:       %d (current %ld)\n", e->numPrograms, static_cast<long>(current));
    bool switched = false;
    for (int p = 0; p < e->numPrograms; ++p) {
        const auto field =
            session.vst().getString(effGetProgramNameIndexed, p, kVstMaxProgNameLen * 2);
        std::string name = field.text;
        if (!field.result && p != current) {
            // Without the indexed query the only way to a name is through the program itself.
            session.vst().dispatch(effSetProgram, 0, p);
            switched = true;
        }
        if (!field.result) name = session.programName();
        std::printf("  %3d  %s\n", p, name.c_str());
    }
    if (switched) session.vst().dispatch(effSetProgram, 0, current);
    return 0;
}

int runRender(CommandLine& line) {
    if (line.positional.size() != 3)
        return fail("render", "needs PLUGIN IN.wav OUT.wav", kUsageError);
    double block = 512, rate = 0;
    if (line.has("--block") && !parseNumber(line.options["--block"], 1, 65536, block))
        return fail("render", "--block needs a block size from 1 to 65536", kUsageError);
    if (line.has("--rate") && !parseNumber(line.options["--rate"], 1000, 768000, rate))
        return fail("render", "--rate needs a sample rate from 1000 to 768000 Hz", kUsageError);
    std::string error;
    Audio input, output;
    if (!readWav(line.positional[1], input, error)) return fail("render", error);
    if (input.channels.size() > 2)
        return fail("render", line.positional[1] + ": " + std::to_string(input.channels.size()) +
                                  " channels; give a mono or stereo file");
    if (rate == 0) rate = input.rate;
    std::vector<TimedEvent> events;
    if (line.has("--midi") && !readMidiEvents(line.options["--midi"], rate, events, error))
        return fail("render", error);
    const Progress progress = terminalProgress(input.frames(), input.rate);
#if QC_WITH_VST3
    if (isVst3Path(line.positional[0])) {
        Vst3Session session;
        if (!session.open(line.positional[0], error) ||
            !session.prepare(rate, static_cast<int>(block), error) ||
            !session.apply(line.settings, error) ||
            !session.render(input, output, static_cast<int>(block), events, progress, error))
            return fail("render", error);
        return writeWav(line.positional[2], output, SampleFormat::Float32, error)
                   ? 0
                   : fail("render", error);
    }
#endif
    Session session;
    int status = 0;
    if (!openPlugin("render", line.positional[0], session, status)) return status;
    session.prepare(rate, static_cast<int>(block));
    if (!session.apply(line.settings, error) ||
        !render(session, input, output, static_cast<int>(block), events, progress, error))
        return fail("render", error);
    if (!writeWav(line.positional[2], output, SampleFormat::Float32, error))
        return fail("render", error);
    return 0;
}

int runPresetSave(CommandLine& line) {
    if (line.positional.size() != 3)
        return fail("preset save", "needs PLUGIN FILE.fxp|FILE.fxb", kUsageError);
    Session session;
    int status = 0;
    if (!openPlugin("preset save", line.positional[1], session, status)) return status;
    std::string error;
    if (!session.apply(line.settings, error) || !session.savePreset(line.positional[2], error))
        return fail("preset save", error);
    return 0;
}

void printParams(const std::vector<float>& params) {
    for (std::size_t i = 0; i < params.size(); ++i) std::printf("    %3zu  %.6f\n", i, params[i]);
}

int runPresetShow(CommandLine& line) {
    if (line.positional.size() != 2) return fail("preset show", "needs FILE", kUsageError);
    FxFile file;
    std::string error;
    const std::string& path = line.positional[1];
    if (!readFxFile(path, file, error)) return fail("preset show", error);
    std::printf("file:           %s\n", path.c_str());
    std::printf("type:           '%s' (%s)\n", fxMagic(file.kind),
                file.kind == FxKind::ProgramParams  ? "program of parameter values"
                : file.kind == FxKind::ProgramChunk ? "program chunk"
                : file.kind == FxKind::BankParams   ? "bank of parameter programs"
                                                    : "bank chunk");
    std::printf("format version: %d\n", file.version);
    std::printf("plug-in id:     %s\n", formatId(file.fxID).c_str());
    std::printf("plug-in version: %d\n", file.fxVersion);
    if (file.isBank()) {
        std::printf("programs:       %d\n", file.kind == FxKind::BankChunk
                                                ? file.numPrograms
                                                : static_cast<int>(file.programs.size()));
        if (file.version >= 2) std::printf("current program: %d\n", file.currentProgram);
    } else {
        std::printf("name:           %s\n", file.program.name.c_str());
        std::printf("parameters:     %d\n", file.numParams);
    }
    if (file.isChunk()) std::printf("chunk:          %zu bytes\n", file.chunk.size());
    if (file.kind == FxKind::ProgramParams) printParams(file.program.params);
    for (std::size_t p = 0; p < file.programs.size(); ++p) {
        std::printf("  program %zu: %s\n", p, file.programs[p].name.c_str());
        printParams(file.programs[p].params);
    }
    if (!line.has("--plugin")) return 0;
    // With the plug-in at hand, the file's contents read as the plug-in shows them.
    Session session;
    int status = 0;
    if (!openPlugin("preset show", line.options["--plugin"], session, status)) return status;
    if (!session.loadPreset(file, error)) return fail("preset show", path + ": " + error);
    AEffect* e = session.effect();
    std::printf("loaded into:    %s (current program %ld: %s)\n", line.options["--plugin"].c_str(),
                static_cast<long>(session.vst().dispatch(effGetProgram)),
                session.programName().c_str());
    for (int i = 0; i < e->numParams; ++i) {
        const std::string display = session.paramDisplay(i), label = session.paramLabel(i);
        std::printf("  %3d  %-8s  %-12s  %.6f\n", i, session.paramName(i).c_str(),
                    (display + (label.empty() ? "" : " " + label)).c_str(),
                    session.vst().getParameter(i));
    }
    return 0;
}

int runPresetLv2(CommandLine& line) {
    if (line.positional.size() < 4)
        return fail("preset lv2", "needs PLUGIN BUNDLE FILE...", kUsageError);
    Session session;
    int status = 0;
    if (!openPlugin("preset lv2", line.positional[1], session, status)) return status;
    Lv2PresetOptions options;
    options.pluginUri = line.has("--uri") ? line.options["--uri"] : QuellinCorvane::Lv2::kPluginUri;
    options.prefix =
        line.has("--prefix") ? line.options["--prefix"] : options.pluginUri + "/presets/";
    const std::vector<std::string> files(line.positional.begin() + 3, line.positional.end());
    std::string error;
    if (!writeLv2Presets(session, files, line.positional[2], options, error))
        return fail("preset lv2", error);
    return 0;
}

std::string replaceExtension(const std::string& path, const std::string& extension) {
    const auto slash = path.find_last_of("/\\");
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + extension;
    return path.substr(0, dot) + extension;
}

int runResponse(CommandLine& line) {
    if (line.positional.size() != 2) return fail("response", "needs PLUGIN OUT.png", kUsageError);
    double rate = 48000;
    if (line.has("--rate") && !parseNumber(line.options["--rate"], 8000, 384000, rate))
        return fail("response", "--rate needs a sample rate from 8000 to 384000 Hz", kUsageError);
    Session session;
    int status = 0;
    if (!openPlugin("response", line.positional[0], session, status)) return status;
    ResponseSet set;
    set.frequencies = responseFrequencies();
    std::vector<std::pair<std::string, std::vector<Setting>>> curves = line.curves;
    if (curves.empty()) curves.push_back({"response", {}});
    std::string error;
    for (auto& [label, own] : curves) {
        std::vector<Setting> settings = line.settings;
        settings.insert(settings.end(), own.begin(), own.end());
        ResponseCurve curve;
        curve.label = label;
        if (!measureResponse(session, settings, rate, set.frequencies, curve, error))
            return fail("response", label + ": " + error);
        set.curves.push_back(curve);
    }
    const std::string png = line.positional[1], csv = replaceExtension(png, ".csv");
    if (!writeResponseCsv(csv, set, error)) return fail("response", error);
    if (line.has("--csv-only")) return 0;
    const std::string title = line.has("--title")
                                  ? line.options["--title"]
                                  : session.text(effGetEffectName, 0, kVstMaxEffectNameLen);
    if (!plotResponse(png, csv, title, set, error)) return fail("response", error);
    return 0;
}

int runAnalyze(CommandLine& line) {
    if (line.has("--header")) {
        std::printf("%-24s %9s %9s %9s %9s %8s %8s %12s\n", "preset", "RMS in", "RMS out",
                    "peak in", "peak out", "corr in", "corr out", "max |L-W|");
        std::printf("%-24s %9s %9s %9s %9s %8s %8s %12s\n", "", "dBFS", "dBFS", "dBFS", "dBFS",
                    "low", "low", "");
        if (line.positional.empty()) return 0;
    }
    if (line.positional.size() != 2) return fail("analyze", "needs IN.wav OUT.wav", kUsageError);
    double band = 120;
    if (line.has("--band") && !parseNumber(line.options["--band"], 10, 2000, band))
        return fail("analyze", "--band needs a frequency from 10 to 2000 Hz", kUsageError);
    Audio in, out, other;
    std::string error;
    if (!readWav(line.positional[0], in, error) || !readWav(line.positional[1], out, error))
        return fail("analyze", error);
    std::string difference = "n/a";
    if (line.has("--compare")) {
        if (!readWav(line.options["--compare"], other, error)) return fail("analyze", error);
        const double d = largestDifference(out, other);
        if (d < 0) return fail("analyze", "the two renders differ in length or channels");
        char text[32];
        std::snprintf(text, sizeof text, "%.3g", d);
        difference = text;
    }
    const Levels li = measureLevels(in), lo = measureLevels(out);
    const double ci = lowBandCorrelation(in, band), co = lowBandCorrelation(out, band);
    if (line.has("--row")) {
        std::printf("%-24s %9.2f %9.2f %9.2f %9.2f %8.3f %8.3f %12s\n",
                    line.options["--row"].c_str(), li.rmsDb, lo.rmsDb, li.peakDb, lo.peakDb, ci, co,
                    difference.c_str());
        return 0;
    }
    std::printf("rms in:         %.2f dBFS\nrms out:        %.2f dBFS\n", li.rmsDb, lo.rmsDb);
    std::printf("peak in:        %.2f dBFS\npeak out:       %.2f dBFS\n", li.peakDb, lo.peakDb);
    std::printf("low-band correlation in:  %.4f (below %.0f Hz)\n", ci, band);
    std::printf("low-band correlation out: %.4f\n", co);
    std::printf("largest difference:       %s\n", difference.c_str());
    return 0;
}

int runDemoSignal(CommandLine& line) {
    if (line.positional.size() != 1) return fail("demo-signal", "needs OUT.wav", kUsageError);
    double seconds = 10, rate = 48000;
    if (line.has("--seconds") && !parseNumber(line.options["--seconds"], 0.1, 600, seconds))
        return fail("demo-signal", "--seconds needs a length from 0.1 to 600", kUsageError);
    if (line.has("--rate") && !parseNumber(line.options["--rate"], 8000, 384000, rate))
        return fail("demo-signal", "--rate needs a sample rate from 8000 to 384000 Hz",
                    kUsageError);
    std::string error;
    if (!writeWav(line.positional[0], makeDemoSignal(seconds, static_cast<int>(rate)),
                  SampleFormat::Float32, error))
        return fail("demo-signal", error);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::fputs(kUsage, args.empty() ? stderr : stdout);
        return args.empty() ? kUsageError : 0;
    }
    std::string name = args[0];
    args.erase(args.begin());
    if (name == "preset") {
        if (args.empty() || (args[0] != "save" && args[0] != "show" && args[0] != "lv2")) {
            std::fprintf(stderr, "qc-host preset: expected 'save', 'show' or 'lv2'\n%s", kUsage);
            return kUsageError;
        }
        name += " " + args[0];
        // Keeps the word in the positional list, so both forms count their arguments alike.
    }
    const std::string settingsHelp = kSettingsHelp;
    const Command commands[] = {
        {"info",
         "usage: qc-host info PLUGIN [SETTINGS]\n"
         "Prints the plug-in's identity, flags, inputs and outputs, every parameter (name, "
         "display\n"
         "text and label, normalised value, the range or choices --set takes) and the program\n"
         "names, after any settings.\n",
         {{}, {}, true, false},
         runInfo},
        {"render",
         "usage: qc-host render PLUGIN IN.wav OUT.wav [SETTINGS] [--block N] [--rate HZ] [--midi "
         "FILE]\n"
         "Processes IN.wav (16/24-bit PCM or 32-bit float; mono feeds both inputs) and writes a\n"
         "32-bit float WAV at the input's rate.\n"
         "  --block N     frames per process call (default 512)\n"
         "  --rate HZ     the sample rate told to the plug-in (default: the file's); no "
         "resampling\n"
         "  --midi FILE   timed controller changes, one per line: SECONDS cc CHANNEL CONTROLLER "
         "VALUE\n"
         "                (channel 1-16; '#' starts a comment), sent at their sample offsets\n"
         "A progress bar appears on stderr for inputs over a second when stderr is a terminal.\n",
         {{"--block", "--rate", "--midi"}, {}, true, false},
         runRender},
        {"preset save",
         "usage: qc-host preset save PLUGIN FILE.fxp|FILE.fxb [SETTINGS]\n"
         "Writes the current program (.fxp) or the whole bank with its current program (.fxb),\n"
         "as an opaque chunk when the plug-in keeps chunks, as parameter values otherwise.\n",
         {{}, {}, true, false},
         runPresetSave},
        {"preset show",
         "usage: qc-host preset show FILE [--plugin PLUGIN]\n"
         "Prints the container's header and contents. With --plugin, also loads the file into\n"
         "the plug-in (checking that it belongs to it) and prints the parameters as it shows "
         "them.\n",
         {{"--plugin"}, {}, false, false},
         runPresetShow},
        {"preset lv2",
         "usage: qc-host preset lv2 PLUGIN BUNDLE FILE... [--uri URI] [--prefix URI]\n"
         "Turns .fxp and .fxb files of Quellin Corvane into an LV2 preset bundle: BUNDLE/\n"
         "manifest.ttl and one Turtle file per program (a .fxb gives one per program of its\n"
         "bank), labelled with the program's name, every value in its port's units. PLUGIN (the\n"
         "VST 2.x plug-in) reads the files. Copy BUNDLE (a folder named NAME.lv2) into ~/.lv2/.\n"
         "  --uri URI     the LV2 plug-in the presets apply to\n"
         "                (default https://quellin.example/plugins/corvane)\n"
         "  --prefix URI  the start of every preset's URI (default: the plug-in's URI and\n"
         "                /presets/); a name made from the label follows\n",
         {{"--uri", "--prefix"}, {}, false, false},
         runPresetLv2},
        {"response",
         "usage: qc-host response PLUGIN OUT.png [SETTINGS] [--curve LABEL [SETTINGS]]... [--rate "
         "HZ]\n"
         "Measures the magnitude response with impulses through the plug-in: mid (the same signal\n"
         "on both inputs, (L+R)/2 out) and side (opposite signals, (L-R)/2 out), from 10 Hz to\n"
         "20 kHz. Writes OUT.csv beside the PNG. Settings before the first --curve apply to every\n"
         "curve; each --curve LABEL starts one more curve with its own settings.\n"
         "  --rate HZ     measurement rate (default 48000)\n"
         "  --title TEXT  plot title (default: the effect's name)\n"
         "  --csv-only    write the CSV and skip the plot\n",
         {{"--rate", "--title"}, {"--csv-only"}, true, true},
         runResponse},
        {"analyze",
         "usage: qc-host analyze IN.wav OUT.wav [--compare OTHER.wav] [--band HZ] [--row LABEL]\n"
         "       qc-host analyze --header\n"
         "Prints RMS and peak levels in and out, the correlation of the two channels below the\n"
         "band frequency (default 120 Hz; 1.0 is a mono low end) and, with --compare, the largest\n"
         "sample difference between OUT and OTHER. --row prints one line of the demo's table.\n",
         {{"--compare", "--band", "--row"}, {"--header"}, false, false},
         runAnalyze},
        {"demo-signal",
         "usage: qc-host demo-signal OUT.wav [--seconds S] [--rate HZ]\n"
         "Writes the demo's stereo signal: a wide bass line over a wide sub, a mono kick, a wide\n"
         "pad and hats (default 10 s at 48 kHz, 32-bit float).\n",
         {{"--seconds", "--rate"}, {}, false, false},
         runDemoSignal},
    };
    for (const auto& command : commands) {
        if (name != command.name) continue;
        CommandLine line;
        std::string error;
        const bool ok = parseCommandLine(args, command.shape, line, error);
        if (line.help) {
            std::printf("%s%s", command.help,
                        command.shape.settings ? ("\n" + settingsHelp).c_str() : "");
            return 0;
        }
        if (!ok) return fail(name, error + " (see qc-host " + name + " --help)", kUsageError);
        return command.run(line);
    }
    std::fprintf(stderr, "qc-host: unknown command '%s'\n%s", name.c_str(), kUsage);
    return kUsageError;
}
