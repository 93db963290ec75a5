// The user-interface side of the hammer: every host call a user's actions cause, in random
// order, each answer checked against what single calls can produce.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/stress/Reference.h"
#include "tests/stress/ThreadHammer.h"

namespace Stress {

// xorshift32: cheap and the same on every platform.
class Random {
public:
    explicit Random(std::uint32_t seed) : state(seed != 0 ? seed : 0x9E3779B9u) {}
    std::uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    int below(int count) { return static_cast<int>(next() % static_cast<std::uint32_t>(count)); }

private:
    std::uint32_t state;
};

class InterfaceThread {
public:
    InterfaceThread(const VstHost::PluginLibrary& loaded, VstHost::Host& hammered,
                    const Reference& learned, const Vocabulary& vocabulary, Scenario what,
                    std::uint32_t seed);

    // Makes one call and checks its answer; returns the number of calls made so far.
    std::uint64_t callOnce();
    // Adds the call count, failure counts and examples to the report.
    void fill(HammerReport& report) const;

private:
    void step();
    void setParameter();
    void checkParameter();
    void checkDisplay();
    void selectProgram();
    void renameProgram();
    void roundTrip(bool program);
    bool loadsIntoFreshInstance(const Bytes& chunk, bool program);
    void fail(std::uint64_t& counter, const std::string& what);

    const VstHost::PluginLibrary& library;
    VstHost::Host& host;
    const Reference& reference;
    const Vocabulary& words;
    Scenario scenario;
    Random random;
    std::uint64_t calls = 0;
    std::uint64_t displayFailures = 0;
    std::uint64_t valueFailures = 0;
    std::uint64_t nameFailures = 0;
    std::uint64_t chunkFailures = 0;
    std::vector<std::string> examples;
};

}  // namespace Stress
