// Renders long stretches of noise through one instance per case, as fast as the plug-in
// runs, and checks that the output stays at the level of the input at every sample rate with
// the cutoff at its top, where it meets half the sample rate.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/host/PluginLibrary.h"

namespace Stress {

struct StabilityOptions {
    std::string plugin;
    std::vector<float> rates = {8000, 11025, 16000, 20000, 22050, 44100, 48000, 96000};
    // Length of each case: audioMinutes at the case's rate when set, else a fixed number of
    // frames. A slowly growing pole grows per sample, so a fixed count finds it at every
    // rate in the same time.
    double audioMinutes = 0.0;
    std::uint64_t frames = 12000000;
    int blockSize = 1024;
    float inputPeak = 0.43f;
    float outputLimit = 1.0f;
    // Largest allowed ratio of the last tenth's RMS to the first tenth's. Stationary noise
    // through a stable filter keeps it within a per cent; a growing output shows here before
    // its peak reaches outputLimit.
    double growthLimit = 1.25;
};

enum class Order { RateFirst, ParametersFirst };

struct StabilityCase {
    float rate = 0.0f;
    const char* output = "";  // "Both" or "Low"
    Order order = Order::RateFirst;
    std::uint64_t frames = 0;
    float peak = 0.0f;
    std::uint64_t nonFiniteSamples = 0;
    double firstRms = 0.0;
    double lastRms = 0.0;
    std::string error;  // the instance could not be set up

    // Output that starts silent and then appears has grown without bound.
    double growth() const {
        if (firstRms > 0.0) return lastRms / firstRms;
        return lastRms > 0.0 ? HUGE_VAL : 1.0;
    }
    bool passed(const StabilityOptions& options) const {
        return error.empty() && frames > 0 && nonFiniteSamples == 0 && peak < options.outputLimit &&
               growth() < options.growthLimit;
    }
    std::string describe(const StabilityOptions& options) const;
};

// Every rate with output "Both" and "Low", the rate set before and after the parameters;
// onCase sees each case as soon as it is rendered. Empty with error set when the plug-in
// does not load.
std::vector<StabilityCase> runStability(const StabilityOptions& options,
                                        const std::function<void(const StabilityCase&)>& onCase,
                                        std::string& error);

// Renders one case on a new instance of the loaded library.
StabilityCase renderCase(const VstHost::PluginLibrary& library, float rate, const char* output,
                         Order order, const StabilityOptions& options);

}  // namespace Stress
