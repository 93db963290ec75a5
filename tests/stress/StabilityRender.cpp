#include "tests/stress/StabilityRender.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "tests/stress/Signal.h"
#include "tools/host/Host.h"

namespace Stress {

namespace {

// Normalised values of the selections: "Both" and "Low" of Output, -24 of Filter Slope.
float outputValue(const char* output) {
    return std::string(output) == "Low" ? 0.375f : 1.0f;
}

void applyParameters(VstHost::Host& host, const char* output) {
    host.setParameter(0, outputValue(output));
    host.setParameter(1, 1.0f);  // the top of the cutoff range, 10 kHz
    host.setParameter(2, 1.0f);
}

void applyRate(VstHost::Host& host, float rate, int blockSize) {
    host.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    host.dispatch(effSetBlockSize, 0, blockSize);
}

}  // namespace

std::string StabilityCase::describe(const StabilityOptions& options) const {
    std::ostringstream line;
    line.precision(4);
    line << "stability " << static_cast<long>(rate) << " Hz, " << output << ", "
         << (order == Order::RateFirst ? "rate first" : "rate last") << ": " << frames
         << " frames, peak " << peak << ", RMS " << firstRms << " -> " << lastRms;
    if (nonFiniteSamples) line << ", " << nonFiniteSamples << " non-finite samples";
    if (!error.empty()) line << ", SETUP FAILED: " << error;
    line << (passed(options) ? " -> PASS" : " -> FAIL");
    return line.str();
}

StabilityCase renderCase(const VstHost::PluginLibrary& library, float rate, const char* output,
                         Order order, const StabilityOptions& options) {
    StabilityCase result;
    result.rate = rate;
    result.output = output;
    result.order = order;
    VstHost::Host host;
    if (!host.open(library)) {
        result.error = host.error();
        return result;
    }
    if (order == Order::RateFirst) applyRate(host, rate, options.blockSize);
    applyParameters(host, output);
    if (order == Order::ParametersFirst) applyRate(host, rate, options.blockSize);
    host.dispatch(effMainsChanged, 0, 1);

    const std::uint64_t total = options.audioMinutes > 0.0
                                    ? static_cast<std::uint64_t>(options.audioMinutes * 60.0 * rate)
                                    : options.frames;
    // RMS of the first and the last tenth; the middle only counts towards the peak.
    const std::uint64_t tenth = total / 10;
    double firstSum = 0.0, lastSum = 0.0;
    std::uint64_t firstCount = 0, lastCount = 0;
    Noise noise(options.inputPeak);
    const int block = options.blockSize;
    std::vector<float> inL(block), inR(block), outL(block), outR(block);
    float* inputs[2] = {inL.data(), inR.data()};
    float* outputs[2] = {outL.data(), outR.data()};
    AEffect* effect = host.effect();
    for (std::uint64_t done = 0; done < total; done += block) {
        const int frames = static_cast<int>(std::min<std::uint64_t>(block, total - done));
        noise.fill(inL.data(), frames);
        noise.fill(inR.data(), frames);
        effect->processReplacing(effect, inputs, outputs, frames);
        const bool first = done < tenth;
        const bool last = done >= total - tenth;
        if (first) firstCount += 2u * frames;
        if (last) lastCount += 2u * frames;
        for (float* channel : outputs) {
            for (int i = 0; i < frames; ++i) {
                const float sample = channel[i];
                if (!std::isfinite(sample)) {
                    ++result.nonFiniteSamples;
                    continue;
                }
                result.peak = std::max(result.peak, std::fabs(sample));
                if (first) firstSum += static_cast<double>(sample) * sample;
                if (last) lastSum += static_cast<double>(sample) * sample;
            }
        }
        // The host records every callback; keep that record small.
        if ((done / block) % 4096 == 0) host.clearCalls();
    }
    result.frames = total;
    if (firstCount > 0 && lastCount > 0) {
        result.firstRms = std::sqrt(firstSum / static_cast<double>(firstCount));
        result.lastRms = std::sqrt(lastSum / static_cast<double>(lastCount));
    }
    return result;
}

std::vector<StabilityCase> runStability(const StabilityOptions& options,
                                        const std::function<void(const StabilityCase&)>& onCase,
                                        std::string& error) {
    std::vector<StabilityCase> cases;
    VstHost::PluginLibrary library;
    if (!library.load(options.plugin)) {
        error = library.error();
        return cases;
    }
    for (float rate : options.rates) {
        for (const char* output : {"Both", "Low"}) {
            for (Order order : {Order::RateFirst, Order::ParametersFirst}) {
                cases.push_back(renderCase(library, rate, output, order, options));
                if (onCase) onCase(cases.back());
            }
        }
    }
    return cases;
}

}  // namespace Stress
