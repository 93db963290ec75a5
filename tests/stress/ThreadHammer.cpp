#include "tests/stress/ThreadHammer.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <sstream>
#include <thread>

#include "tests/stress/InterfaceThread.h"
#include "tests/stress/Reference.h"
#include "tests/stress/Signal.h"
#include "tools/host/MidiEvents.h"

namespace Stress {

namespace {

using Clock = std::chrono::steady_clock;

// Everything the threads touch; leaked rather than destroyed when a thread hangs.
struct Session {
    VstHost::PluginLibrary library;
    Reference reference;
    VstHost::Host host;
    Vocabulary words = defaultVocabulary();
    std::atomic<bool> stop{false};
    std::atomic<std::uint64_t> audioProgress{0};
    std::atomic<std::uint64_t> interfaceProgress{0};
    std::atomic<int> running{0};  // threads that have not returned yet
    std::unique_ptr<OutputWatch> watch;
    std::unique_ptr<InterfaceThread> ui;
};

// Sends learned controllers with every other block, at random offsets.
void sendControllers(Session& s, Random& random, const HammerOptions& options) {
    if (random.below(2) != 0) return;
    std::vector<VstMidiEvent> events;
    const int count = 1 + random.below(3);
    for (int e = 0; e < count; ++e) {
        const int parameter = random.below(s.reference.parameterCount());
        events.push_back(VstHost::makeControlChange(random.below(options.blockSize), 0,
                                                    s.words.firstController + parameter,
                                                    random.below(128)));
    }
    VstHost::EventBlock block(std::move(events));
    s.host.dispatch(effProcessEvents, 0, 0, block.get());
}

// The audio side: one host block of noise, with controllers first in the mixed scenario.
class AudioSide {
public:
    AudioSide(Session& session, const HammerOptions& hammerOptions)
        : s(session),
          options(hammerOptions),
          random(options.seed * 7919u + 17u),
          noise(options.inputPeak, options.seed),
          inL(options.blockSize),
          inR(options.blockSize),
          outL(options.blockSize),
          outR(options.blockSize),
          controllers(options.scenario == Scenario::Mixed && s.reference.bindsControllers()) {}

    void renderBlock() {
        if (controllers) sendControllers(s, random, options);
        const int frames = options.blockSize;
        noise.fill(inL.data(), frames);
        noise.fill(inR.data(), frames);
        float* inputs[2] = {inL.data(), inR.data()};
        float* outputs[2] = {outL.data(), outR.data()};
        AEffect* effect = s.host.effect();
        effect->processReplacing(effect, inputs, outputs, frames);
        s.watch->addBlock(outputs, 2, frames);
        s.audioProgress.store(++blocks, std::memory_order_relaxed);
        // The host records every callback (the time info of each block); keep that bounded.
        if (blocks % 4096 == 0) s.host.clearCalls();
    }

private:
    Session& s;
    const HammerOptions& options;
    Random random;
    Noise noise;
    std::vector<float> inL, inR, outL, outR;
    bool controllers;
    std::uint64_t blocks = 0;
};

void audioLoop(Session& s, const HammerOptions& options) {
    AudioSide audio(s, options);
    while (!s.stop.load(std::memory_order_relaxed)) audio.renderBlock();
}

// The control run: the same calls and checks taking turns on one thread, where every answer
// must be legitimate. A failure here is the hammer's own mistake, not a race.
void interleavedLoop(Session& s, const HammerOptions& options) {
    AudioSide audio(s, options);
    std::uint64_t calls = 0;
    while (!s.stop.load(std::memory_order_relaxed)) {
        audio.renderBlock();
        for (int i = 0; i < 4; ++i) s.ui->callOnce();
        s.interfaceProgress.store(calls += 4, std::memory_order_relaxed);
    }
}

}  // namespace

const char* scenarioName(Scenario scenario) {
    return scenario == Scenario::Cutoff ? "cutoff" : "mixed";
}

std::string HammerReport::summary(const HammerOptions& options) const {
    std::ostringstream line;
    line.precision(4);
    const std::size_t slash = options.plugin.find_last_of("/\\");
    line << "hammer " << scenarioName(options.scenario)
         << (options.interleaved ? " (one thread)" : "") << ": "
         << options.plugin.substr(slash == std::string::npos ? 0 : slash + 1) << ", " << seconds
         << " s, " << blocks << " blocks, " << badBlocks << " bad, largest " << largest;
    if (nonFiniteSamples) line << ", " << nonFiniteSamples << " non-finite samples";
    line << ", " << interfaceCalls << " interface calls, failures: display " << displayFailures
         << ", value " << valueFailures << ", name " << nameFailures << ", chunk " << chunkFailures
         << (controllersBound ? "" : ", no controller bindings");
    if (!stalled.empty()) line << ", STALLED: " << stalled;
    if (!setupError.empty()) line << ", SETUP FAILED: " << setupError;
    line << (passed() ? " -> PASS" : " -> FAIL");
    return line.str();
}

HammerReport runThreadHammer(const HammerOptions& options) {
    HammerReport report;
    auto s = std::make_unique<Session>();
    if (!s->library.load(options.plugin)) {
        report.setupError = s->library.error();
        return report;
    }
    if (!s->reference.learn(s->library, s->words, report.setupError)) return report;
    report.controllersBound = s->reference.bindsControllers();
    if (!s->host.open(s->library)) {
        report.setupError = s->host.error();
        return report;
    }
    s->host.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    s->host.dispatch(effSetBlockSize, 0, options.blockSize);
    if (s->reference.bindsControllers() &&
        writeChunk(s->host, s->reference.boundBank(), false) != 1) {
        report.setupError = "the plug-in refuses the bank with controller bindings";
        return report;
    }
    s->host.setParameter(0, 1.0f);  // "Both"
    s->host.setParameter(2, 1.0f);  // -24 dB per octave
    s->host.dispatch(effMainsChanged, 0, 1);
    s->watch = std::make_unique<OutputWatch>(options.outputLimit);
    s->ui = std::make_unique<InterfaceThread>(s->library, s->host, s->reference, s->words,
                                              options.scenario, options.seed);

    const auto start = Clock::now();
    std::thread audio, ui;
    s->running = options.interleaved ? 1 : 2;
    if (options.interleaved) {
        audio = std::thread([&session = *s, &options] {
            interleavedLoop(session, options);
            --session.running;
        });
    } else {
        audio = std::thread([&session = *s, &options] {
            audioLoop(session, options);
            --session.running;
        });
        ui = std::thread([&session = *s] {
            while (!session.stop.load(std::memory_order_relaxed))
                session.interfaceProgress.store(session.ui->callOnce(), std::memory_order_relaxed);
            --session.running;
        });
    }

    // Watchdog: both threads must keep advancing until the time is up.
    const auto stallLimit = std::chrono::duration<double>(options.stallSeconds);
    std::uint64_t lastAudio = 0, lastUi = 0;
    auto audioMoved = start, uiMoved = start;
    while (true) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const auto now = Clock::now();
        const std::uint64_t audioNow = s->audioProgress.load(std::memory_order_relaxed);
        const std::uint64_t uiNow = s->interfaceProgress.load(std::memory_order_relaxed);
        if (audioNow != lastAudio) lastAudio = audioNow, audioMoved = now;
        if (uiNow != lastUi) lastUi = uiNow, uiMoved = now;
        if (now - audioMoved > stallLimit) report.stalled = "audio thread";
        if (now - uiMoved > stallLimit) report.stalled = "user-interface thread";
        if (!report.stalled.empty() ||
            now - start >= std::chrono::duration<double>(options.seconds))
            break;
    }
    s->stop.store(true);
    report.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    // A thread that hangs just as the time runs out would block join() for good.
    const auto stopped = Clock::now();
    while (report.stalled.empty() && s->running.load() != 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (Clock::now() - stopped > stallLimit) report.stalled = "a thread asked to stop";
    }
    if (!report.stalled.empty()) {
        // The stuck thread still uses the plug-in: never unload it under that thread.
        audio.detach();
        if (ui.joinable()) ui.detach();
        report.blocks = lastAudio;
        report.interfaceCalls = lastUi;
        s.release();
        return report;
    }
    audio.join();
    if (ui.joinable()) ui.join();
    report.blocks = s->watch->blocks();
    report.badBlocks = s->watch->badBlocks();
    report.nonFiniteSamples = s->watch->nonFiniteSamples();
    report.largest = s->watch->largest();
    s->ui->fill(report);
    if (report.badBlocks != 0) {
        report.examples.push_back("first bad block: " + std::to_string(s->watch->firstBadBlock()));
    }
    s->host.close();
    return report;
}

}  // namespace Stress
