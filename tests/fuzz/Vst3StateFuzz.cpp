// VST3 states as hosts hand them back from projects and preset files: any bytes, to the
// processor's setState and the controller's setComponentState. Both sides must agree on what
// they take; a refused state changes nothing, and a taken one leaves a processor that renders
// sane audio and writes a state a fresh instance takes back byte for byte.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tools/host/Vst3Instance.h"

namespace {

using namespace Vst3;
using Vst3Host::Bytes;

Uid effectClass(IPluginFactory* factory) {
    PClassInfo info{};
    factory->getClassInfo(0, &info);
    Uid id{};
    for (int i = 0; i < 16; ++i) id.bytes[i] = info.cid[i];
    return id;
}

struct Effect : Vst3Host::Instance {
    Effect() : Instance(factory(), effectClass(factory())) {
        if (!start(48000.0, 512)) std::abort();
    }
    static IPluginFactory* factory() {
        static IPluginFactory* made = GetPluginFactory();
        return made;
    }
    // A bounded tone; anything not finite or far beyond what settings make of it is a finding.
    void render() {
        std::vector<float> in(64), left(64), right(64);
        for (std::size_t i = 0; i < in.size(); ++i)
            in[i] = 0.5f * std::sin(0.05f * static_cast<float>(i));
        float* inputs[] = {in.data(), in.data()};
        float* outputs[] = {left.data(), right.data()};
        Vst3Host::ParameterChanges none;
        process(inputs, outputs, 64, &none);
        for (std::size_t i = 0; i < in.size(); ++i)
            if (!(std::fabs(left[i]) < 64.0f) || !(std::fabs(right[i]) < 64.0f)) std::abort();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes bytes(data, data + size);
    Effect effect;
    const Bytes before = effect.state();
    Vst3Host::MemoryStream forController(bytes), forProcessor(bytes);
    const bool controllerTook = effect.controller->setComponentState(&forController) == kResultOk;
    const bool taken = effect.component->setState(&forProcessor) == kResultOk;
    if (taken != controllerTook) std::abort();
    effect.render();
    if (!taken) {
        if (effect.state() != before) std::abort();
        return 0;
    }
    const Bytes first = effect.state();
    Effect fresh;
    if (fresh.setState(first) != kResultOk || fresh.state() != first) std::abort();
    return 0;
}
