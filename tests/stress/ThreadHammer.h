// Runs a host's audio thread and user-interface thread against one plug-in instance at full
// speed, the way a host does while the user works the plug-in during playback, and checks
// what each thread observes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Stress {

enum class Scenario {
    Cutoff,  // the interface thread only sweeps "Cutoff Freq."; output "Both", slope -24
    Mixed,   // every interface operation, and learned controllers on the audio thread
};

struct HammerOptions {
    std::string plugin;
    Scenario scenario = Scenario::Mixed;
    double seconds = 5.0;
    // The run fails when either thread makes no progress for this long.
    double stallSeconds = 10.0;
    std::uint32_t seed = 1;
    int blockSize = 256;
    float inputPeak = 0.5f;
    float outputLimit = 8.0f;
    // Both sides take turns on one thread instead: a control run that must always pass.
    bool interleaved = false;
};

struct HammerReport {
    std::string setupError;  // non-empty when the run could not start
    std::string stalled;     // the thread that stopped advancing, if one did
    double seconds = 0.0;
    std::uint64_t blocks = 0;
    std::uint64_t badBlocks = 0;
    std::uint64_t nonFiniteSamples = 0;
    float largest = 0.0f;
    std::uint64_t interfaceCalls = 0;
    std::uint64_t displayFailures = 0;
    std::uint64_t valueFailures = 0;
    std::uint64_t nameFailures = 0;
    std::uint64_t chunkFailures = 0;
    bool controllersBound = false;
    std::vector<std::string> examples;  // the first few failures, described

    bool passed() const {
        return setupError.empty() && stalled.empty() && badBlocks == 0 && nonFiniteSamples == 0 &&
               displayFailures == 0 && valueFailures == 0 && nameFailures == 0 &&
               chunkFailures == 0 && blocks > 0;
    }
    std::string summary(const HammerOptions& options) const;
};

// Loads the plug-in, learns its vocabulary single-threaded, then hammers. When a thread
// stalls, the threads are left running and the report says which; the caller should end the
// process rather than unload the plug-in under them.
HammerReport runThreadHammer(const HammerOptions& options);

const char* scenarioName(Scenario scenario);

}  // namespace Stress
