// An instance of the effect as the plug-in builds it, for signal-path and model tests.
#pragma once

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "SynthToolkit/ServiceDispatcher.h"
#include "SynthToolkit/Vst/VstPlugin.h"
#include "effect/x86/QuellinCorvaneModel.h"
#include "tests/support/RecordingHost.h"
#include "vst/PluginMain.h"

namespace TestSupport {

namespace P = SynthToolkit::Effects::CorvaneParameters;

inline float normalisedChoice(int index) {
    return (static_cast<float>(index) + 0.5f) / 4.0f;
}
inline float normalisedCutoff(float hertz) {
    return std::sqrt(hertz / 10000.0f);
}

// The plug-in from the factory, with direct access to its model and services.
struct CorvaneInstance {
    CorvaneInstance()
        : plugin(static_cast<SynthToolkit::Vst::VstPlugin*>(
              createEffectInstance(RecordingHost::callback))),
          model(static_cast<QuellinCorvaneX86::QuellinCorvaneModel*>(plugin->model())) {}

    void set(int index, float value) { plugin->setParameter(index, value); }
    // Renders the buffers in place or from in to out, in pieces of the given sizes (cycled).
    void render(const float* inL, const float* inR, float* outL, float* outR, int frames,
                const std::vector<int>& pieces = {}) {
        int done = 0;
        std::size_t next = 0;
        while (done < frames) {
            int n = pieces.empty() ? frames : pieces[next++ % pieces.size()];
            if (n > frames - done) n = frames - done;
            float* inputs[] = {const_cast<float*>(inL + done), const_cast<float*>(inR + done)};
            float* outputs[] = {outL + done, outR + done};
            plugin->processReplacing(inputs, outputs, n);
            done += n;
        }
    }

    RecordingHost host;
    std::unique_ptr<SynthToolkit::Vst::VstPlugin> plugin;
    QuellinCorvaneX86::QuellinCorvaneModel* model;
};

inline void fillSignal(std::vector<float>& left, std::vector<float>& right, std::size_t frames,
                       unsigned seed = 1) {
    left.resize(frames);
    right.resize(frames);
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    for (std::size_t i = 0; i < frames; ++i) {
        const float t = static_cast<float>(i) / 44100.0f;
        left[i] = 0.4f * std::sin(2.0f * 3.14159265f * 55.0f * t) + noise(random);
        right[i] = 0.3f * std::sin(2.0f * 3.14159265f * 80.0f * t) + noise(random);
    }
}

}  // namespace TestSupport
