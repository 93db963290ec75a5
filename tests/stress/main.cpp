// qc-hammer: concurrency and stability checks of a plug-in binary, one summary line per run.
//
//   qc-hammer threads --plugin PATH [--scenario mixed|cutoff] [--seconds S] [--seed N]
//                     [--stall-seconds S] [--one-thread]
//   qc-hammer stability --plugin PATH [--frames N | --audio-minutes M] [--rates R,R,...]
//
// QC_STRESS_SECONDS and QC_STRESS_AUDIO_MINUTES replace the defaults of --seconds (5) and of
// the stability length (12 million frames per case), so a longer run needs no new
// registration; options given win.
// --one-thread makes both sides take turns on one thread: a control run that must pass.
// Exit status: 0 passed, 1 failed, 2 usage error, 3 a thread stopped advancing.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/stress/StabilityRender.h"
#include "tests/stress/ThreadHammer.h"

namespace {

int usage(const char* problem) {
    std::fprintf(stderr,
                 "qc-hammer: %s\n"
                 "usage: qc-hammer threads --plugin PATH [--scenario mixed|cutoff] [--seconds S]\n"
                 "                         [--seed N] [--stall-seconds S] [--one-thread]\n"
                 "       qc-hammer stability --plugin PATH [--frames N | --audio-minutes M]\n"
                 "                           [--rates R,...]\n",
                 problem);
    return 2;
}

double environmentOr(const char* name, double fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    return (*end == '\0' && value > 0.0) ? value : fallback;
}

bool parseNumber(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return *text != '\0' && *end == '\0' && value > 0.0;
}

bool parseRates(const std::string& text, std::vector<float>& rates) {
    rates.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        double rate = 0.0;
        if (!parseNumber(text.substr(start, comma - start).c_str(), rate)) return false;
        rates.push_back(static_cast<float>(rate));
        start = comma + 1;
    }
    return !rates.empty();
}

int runThreads(Stress::HammerOptions options) {
    const Stress::HammerReport report = Stress::runThreadHammer(options);
    std::printf("%s\n", report.summary(options).c_str());
    for (const std::string& example : report.examples) std::printf("  %s\n", example.c_str());
    std::fflush(stdout);
    // A stuck thread still runs plug-in code; ending the process is the only clean way out.
    if (!report.stalled.empty()) std::_Exit(3);
    return report.passed() ? 0 : 1;
}

int runStability(const Stress::StabilityOptions& options) {
    std::string error;
    int failed = 0;
    const auto cases = Stress::runStability(
        options,
        [&](const Stress::StabilityCase& c) {
            std::printf("  %s\n", c.describe(options).c_str());
            std::fflush(stdout);
            if (!c.passed(options)) ++failed;
        },
        error);
    const std::size_t slash = options.plugin.find_last_of("/\\");
    const std::string name = options.plugin.substr(slash == std::string::npos ? 0 : slash + 1);
    if (!error.empty()) {
        std::printf("stability: %s: SETUP FAILED: %s -> FAIL\n", name.c_str(), error.c_str());
        return 1;
    }
    float peak = 0.0f;
    for (const auto& c : cases) peak = std::max(peak, c.peak);
    std::string length = std::to_string(options.frames) + " frames";
    if (options.audioMinutes > 0.0) {
        char minutes[32];
        std::snprintf(minutes, sizeof minutes, "%g minutes of audio", options.audioMinutes);
        length = minutes;
    }
    std::printf("stability: %s, %zu cases of %s, %d failed, largest %g -> %s\n", name.c_str(),
                cases.size(), length.c_str(), failed, peak, failed == 0 ? "PASS" : "FAIL");
    return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage("no mode given");
    const std::string mode = argv[1];
    if (mode != "threads" && mode != "stability") return usage("unknown mode");
    Stress::HammerOptions threads;
    threads.seconds = 5.0;
    threads.seconds = environmentOr("QC_STRESS_SECONDS", threads.seconds);
    Stress::StabilityOptions stability;
    stability.audioMinutes = environmentOr("QC_STRESS_AUDIO_MINUTES", stability.audioMinutes);

    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--one-thread" && mode == "threads") {
            threads.interleaved = true;
            continue;
        }
        if (i + 1 >= argc) return usage(("missing value after " + option).c_str());
        const char* value = argv[++i];
        double number = 0.0;
        if (option == "--plugin") {
            threads.plugin = stability.plugin = value;
        } else if (option == "--scenario" && mode == "threads") {
            if (std::strcmp(value, "mixed") == 0) {
                threads.scenario = Stress::Scenario::Mixed;
            } else if (std::strcmp(value, "cutoff") == 0) {
                threads.scenario = Stress::Scenario::Cutoff;
            } else {
                return usage("--scenario is mixed or cutoff");
            }
        } else if (option == "--seconds" && mode == "threads" && parseNumber(value, number)) {
            threads.seconds = number;
        } else if (option == "--stall-seconds" && mode == "threads" && parseNumber(value, number)) {
            threads.stallSeconds = number;
        } else if (option == "--seed" && mode == "threads" && parseNumber(value, number)) {
            threads.seed = static_cast<std::uint32_t>(number);
        } else if (option == "--audio-minutes" && mode == "stability" &&
                   parseNumber(value, number)) {
            stability.audioMinutes = number;
        } else if (option == "--frames" && mode == "stability" && parseNumber(value, number)) {
            stability.frames = static_cast<std::uint64_t>(number);
            stability.audioMinutes = 0.0;
        } else if (option == "--rates" && mode == "stability") {
            if (!parseRates(value, stability.rates)) return usage("bad --rates");
        } else {
            return usage(("bad option " + option + " " + value).c_str());
        }
    }
    if (threads.plugin.empty()) return usage("--plugin is required");
    return mode == "threads" ? runThreads(threads) : runStability(stability);
}
