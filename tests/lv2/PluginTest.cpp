// The LV2 binary driven as hosts drive it (tests/lv2/Lv2Host.h), against the effect's model
// driven directly, as the VST 2.x plug-in drives it: the same samples, bit for bit.
#include <lv2/atom/forge.h>
#include <xmmintrin.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <thread>

#include "effect/x64/QuellinCorvaneModel.h"
#include "tests/lv2/Lv2Host.h"
#include "tests/support/CountingAllocator.h"
#include "tests/support/Signal.h"

namespace Lv2Test {
namespace {

constexpr float kRate = 48000.0f;
// Both bands, 120 Hz, -12 dB, spread 50, +2.5 dB: every part of the signal path at work.
constexpr float kSettings[kParameterCount] = {3.0f, 120.0f, 1.0f, 50.0f, 2.5f};

struct NoObserver final : VstToolkit::ModelObserver {
    void OnModelMidiLearned(VstInt32, VstInt32, VstInt32) override {}
    void OnModelParameterValueChanged(VstInt32, float, VstInt32) override {}
};

// The model as the VST 2.x plug-in holds it, with the same settings.
struct Reference {
    explicit Reference(const float (&units)[kParameterCount]) {
        model.SetSampleRate(kRate);
        model.SetObserver(&observer);
        for (int i = 0; i < kParameterCount; ++i)
            model.SetParameterValue(i, NormalisedFromUnits(kParameterRows[i], units[i]));
    }
    void Render(Instance& source, std::vector<float> (&out)[2], std::uint32_t offset,
                std::uint32_t frames) {
        float* in[2] = {source.in[0].data() + offset, source.in[1].data() + offset};
        float* rendered[2] = {out[0].data() + offset, out[1].data() + offset};
        model.ProcessBlock(in, rendered, static_cast<VstInt32>(frames));
    }
    NoObserver observer;
    QuellinCorvaneModel model;
};

void useSettings(Instance& instance, const float (&units)[kParameterCount]) {
    std::copy(std::begin(units), std::end(units), instance.controls);
}

void fillSignal(Instance& instance, std::uint32_t seed = 7) {
    std::vector<float> left, right;
    TestSupport::makeTestSignal(left, right, Instance::kMaxFrames, seed);
    instance.in[0] = left;
    instance.in[1] = right;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b, std::uint32_t from,
              std::uint32_t to) {
    return std::memcmp(a.data() + from, b.data() + from, sizeof(float) * (to - from)) == 0;
}

const Notification* find(const Instance& instance, LV2_URID type) {
    for (const Notification& note : instance.notifications)
        if (note.type == type) return &note;
    return nullptr;
}

TEST(Lv2Plugin, InstantiatesOnlyWithAMapAndAUsableRate) {
    ASSERT_NE(descriptor(), nullptr) << "cannot load " << QC_LV2_PATH << ": " << dlerror();
    EXPECT_STREQ(descriptor()->URI, kPluginUri);
    UridMap map;
    const LV2_Feature mapFeature{LV2_URID__map, &map.map};
    const LV2_Feature* withMap[] = {&mapFeature, nullptr};
    const LV2_Feature* none[] = {nullptr};
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double rate;
        const LV2_Feature* const* features;
        bool works;
    } cases[] = {{48000.0, withMap, true},       {8000.0, withMap, true},
                 {48000.0, none, false},         {48000.0, nullptr, false},
                 {0.0, withMap, false},          {-44100.0, withMap, false},
                 {std::nan(""), withMap, false}, {inf, withMap, false}};
    for (const auto& c : cases) {
        const long before = TestSupport::allocationCount();
        LV2_Handle handle = descriptor()->instantiate(descriptor(), c.rate, "", c.features);
        EXPECT_EQ(handle != nullptr, c.works) << c.rate;
        // The binary's allocations are counted: the audio thread's zero below means something.
        if (handle != nullptr) {
            EXPECT_GT(TestSupport::allocationCount(), before);
        }
        if (handle != nullptr) descriptor()->cleanup(handle);
    }
    EXPECT_NE(descriptor()->extension_data(LV2_STATE__interface), nullptr);
    EXPECT_EQ(descriptor()->extension_data("urn:nothing"), nullptr);
}

// Runs of any length (0 included), in place or not, render what one block of the model
// renders; inputs, control ports and the thread's floating-point mode stay as the host left
// them, and no run allocates.
TEST(Lv2Plugin, RendersAsTheModelInAnyPiecesAndWritesNoInput) {
    const std::uint32_t pieces[] = {0, 1, 17, 0, 255, 1024, 1500, 2999, 1, 0, 347};
    for (bool inPlace : {false, true}) {
        SCOPED_TRACE(inPlace ? "in place" : "apart");
        UridMap map;
        Instance lv2(map);
        useSettings(lv2, kSettings);
        fillSignal(lv2);
        Reference reference(kSettings);
        std::vector<float> expected[2] = {lv2.out[0], lv2.out[1]};
        reference.Render(lv2, expected, 0, 6144);
        const std::vector<float> input[2] = {lv2.in[0], lv2.in[1]};
        lv2.Activate();
        lv2.Run(0);
        const unsigned mxcsr = _mm_getcsr();
        std::uint32_t done = 0;
        for (std::uint32_t frames : pieces) {
            if (inPlace) {
                float* io[2] = {lv2.in[0].data() + done, lv2.in[1].data() + done};
                const long before = TestSupport::allocationCount();
                lv2.run(io, io, frames);
                EXPECT_EQ(TestSupport::allocationCount(), before);
            } else {
                lv2.Run(frames, done);
                ASSERT_TRUE(sameBits(lv2.in[0], input[0], 0, Instance::kMaxFrames));
                ASSERT_TRUE(sameBits(lv2.in[1], input[1], 0, Instance::kMaxFrames));
            }
            done += frames;
        }
        ASSERT_EQ(done, 6144u);
        // The denormal flushing ends with each run: the thread's mode is the host's.
        EXPECT_EQ(_mm_getcsr(), mxcsr);
        EXPECT_TRUE(std::equal(std::begin(kSettings), std::end(kSettings), lv2.controls));
        const auto& rendered = inPlace ? lv2.in : lv2.out;
        for (int c = 0; c < 2; ++c) EXPECT_TRUE(sameBits(rendered[c], expected[c], 0, done)) << c;
    }
}

TEST(Lv2Plugin, LearnsFromThePanelAndPlaysControllersAtTheirFrames) {
    UridMap map;
    Instance lv2(map);
    const Urids& u = lv2.urids;
    useSettings(lv2, kSettings);
    fillSignal(lv2);
    Reference reference(kSettings);
    std::vector<float> expected[2] = {lv2.out[0], lv2.out[1]};
    lv2.Activate();

    // Learning takes the controller that comes next, on any channel, and moves nothing.
    lv2.Message(0, u.startLearning, u.parameterKey, kBassAmp);
    lv2.Midi(10, 0xB5, 7, 64);
    lv2.Run(256);
    reference.Render(lv2, expected, 0, 256);
    const Notification* learned = find(lv2, u.learned);
    ASSERT_NE(learned, nullptr);
    EXPECT_EQ(learned->values.at(u.controllerKey), std::vector<double>{7});
    EXPECT_EQ(learned->values.at(u.parameterKey), std::vector<double>{kBassAmp});

    // From then on controller 7 moves Bass Amp at its frame; one past the end plays on the last.
    lv2.Midi(100, 0xB0, 7, 127);
    lv2.Midi(5000, 0xB0, 7, 0);
    lv2.Run(256, 256);
    reference.model.RegisterMidiControllerMapping(7, kBassAmp);
    reference.model.PushMidiEvent({100, 0xB0, 7, 127});
    reference.model.PushMidiEvent({255, 0xB0, 7, 0});
    reference.Render(lv2, expected, 256, 256);
    for (int c = 0; c < 2; ++c) EXPECT_TRUE(sameBits(lv2.out[c], expected[c], 0, 512)) << c;
    ASSERT_EQ(lv2.notifications.size(), 2u);
    EXPECT_EQ(lv2.notifications[0].values.at(u.valueKey), std::vector<double>{10.0});
    EXPECT_EQ(lv2.notifications[1].values.at(u.valueKey), std::vector<double>{-10.0});

    // The map on request, and after Forget; nonsense is ignored; a run of 0 frames answers too.
    std::vector<double> bindings(kBindingCount, kUnbound);
    bindings[7] = kBassAmp;
    lv2.Message(0, u.startLearning, u.parameterKey, 9);
    lv2.Message(0, u.forget, u.controllerKey, 300);
    lv2.Message(0, map("urn:unknown"));
    lv2.Message(0, u.getBindings);
    lv2.Run(0);
    ASSERT_EQ(lv2.notifications.size(), 2u);
    EXPECT_EQ(lv2.notifications[1].values.at(u.bindingsKey), bindings);
    lv2.Message(0, u.forget, u.controllerKey, 7);
    lv2.Midi(0, 0xB0, 7, 127);
    lv2.Run(64, 512);
    ASSERT_EQ(lv2.notifications.size(), 1u);
    bindings[7] = kUnbound;
    EXPECT_EQ(lv2.notifications[0].values.at(u.bindingsKey), bindings);
}

// The host's buffer may end where the sequence says it does: an event, or a message's
// property, that claims bytes past its container's end is dropped unread, and what came before
// still acts.
TEST(Lv2Plugin, DropsEventsAndPropertiesRunningPastTheirContainer) {
    enum Fault { kMidiPastSequence, kPropertyPastObject };
    for (Fault fault : {kMidiPastSequence, kPropertyPastObject}) {
        UridMap map;
        Instance lv2(map);
        const Urids& u = lv2.urids;
        lv2.Activate();
        std::vector<std::uint8_t> built(256);
        LV2_Atom_Forge forge;
        lv2_atom_forge_init(&forge, &map.map);
        lv2_atom_forge_set_buffer(&forge, built.data(), built.size());
        LV2_Atom_Forge_Frame sequence, object;
        lv2_atom_forge_sequence_head(&forge, &sequence, 0);
        lv2_atom_forge_frame_time(&forge, 0);
        auto* message = reinterpret_cast<LV2_Atom*>(lv2_atom_forge_deref(
            &forge, lv2_atom_forge_object(&forge, &object, 0, u.startLearning)));
        lv2_atom_forge_key(&forge, u.parameterKey);
        lv2_atom_forge_int(&forge, kBassAmp);
        lv2_atom_forge_pop(&forge, &object);
        const std::uint8_t controller[3] = {0xB0, 7, 64};
        lv2_atom_forge_frame_time(&forge, 10);
        auto* midi = reinterpret_cast<LV2_Atom*>(
            lv2_atom_forge_deref(&forge, lv2_atom_forge_atom(&forge, 3, u.midiEvent)));
        lv2_atom_forge_write(&forge, controller, 3);
        lv2_atom_forge_pop(&forge, &sequence);
        if (fault == kMidiPastSequence) midi->size = 64;
        if (fault == kPropertyPastObject) message->size -= 8;  // the Int's value outside it
        const auto* head = reinterpret_cast<const LV2_Atom*>(built.data());
        std::vector<std::uint8_t> exact(built.begin(), built.begin() + sizeof *head + head->size);
        lv2.Connect(kControlPort, exact.data());
        lv2.Run(64);
        EXPECT_EQ(find(lv2, u.learned), nullptr) << fault;

        // Learning started only when the message was whole; the controller was dropped either
        // way. Now the controller alone (the message made harmless) is learned if it started.
        reinterpret_cast<LV2_Atom_Object*>(message)->body.otype = u.getBindings;
        midi->size = 3;
        lv2.Connect(kControlPort, built.data());
        lv2.Run(64, 64);
        EXPECT_EQ(find(lv2, u.learned) != nullptr, fault == kMidiPastSequence) << fault;
    }
}

TEST(Lv2Plugin, StateCarriesTheBindingsToAFreshInstance) {
    UridMap map;
    Instance saved(map), fresh(map);
    const Urids& u = saved.urids;
    saved.Message(0, u.startLearning, u.parameterKey, kStereoSpread);
    saved.Midi(0, 0xB0, 20, 1);
    saved.Run(16);
    const SavedState state = saved.Save();
    ASSERT_EQ(state.count(u.stateVersion), 1u);
    EXPECT_EQ(state.at(u.stateVersion).first, u.atomInt);
    EXPECT_EQ(state.at(u.midiBindings).first, u.atomVector);

    // Hosts may restore before activate, and more than once.
    EXPECT_EQ(fresh.Restore(state), LV2_STATE_SUCCESS);
    EXPECT_EQ(fresh.Restore(state), LV2_STATE_SUCCESS);
    // A preset carries no bindings, and a damaged state is refused: both keep them.
    SavedState newer = state, wrongType = state, cut = state;
    newer[u.stateVersion].second = {99, 0, 0, 0};
    wrongType[u.midiBindings].first = u.atomInt;
    cut[u.midiBindings].second.resize(100);
    EXPECT_EQ(fresh.Restore({}), LV2_STATE_SUCCESS);
    for (const SavedState* bad : {&newer, &wrongType, &cut})
        EXPECT_EQ(fresh.Restore(*bad), LV2_STATE_ERR_BAD_TYPE);
    EXPECT_EQ(fresh.Save(), state);

    for (Instance* lv2 : {&saved, &fresh}) {
        useSettings(*lv2, kSettings);
        fillSignal(*lv2);
        lv2->Activate();
        lv2->Midi(0, 0xB0, 20, 30);
        lv2->Run(512);
        ASSERT_NE(find(*lv2, u.moved), nullptr);
    }
    for (int c = 0; c < 2; ++c) EXPECT_TRUE(sameBits(saved.out[c], fresh.out[c], 0, 512));
}

// Values no port should hold render what the nearest value in range renders, and nothing but
// finite samples: as in the VST builds, NaN counts as the bottom of the range.
TEST(Lv2Plugin, LimitsHostilePortValues) {
    const float inf = std::numeric_limits<float>::infinity(), nan = std::nanf("");
    const struct {
        int parameter;
        float hostile, limited;
    } cases[] = {{kCutoffFrequency, nan, 0.0f},
                 {kCutoffFrequency, -inf, 0.0f},
                 {kCutoffFrequency, 1e9f, 10000.0f},
                 {kStereoSpread, -5.0f, 0.0f},
                 {kBassAmp, 99.0f, 10.0f},
                 {kBassAmp, nan, -10.0f},
                 {kOutput, 7.0f, 3.0f},
                 {kOutput, -inf, 0.0f},
                 {kFilterSlope, nan, 0.0f},
                 {kFilterSlope, 1.6f, 2.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(kParameterRows[c.parameter].name) + " " +
                     std::to_string(c.hostile));
        UridMap map;
        Instance hostile(map), limited(map);
        for (Instance* lv2 : {&hostile, &limited}) {
            useSettings(*lv2, kSettings);
            lv2->controls[c.parameter] = lv2 == &hostile ? c.hostile : c.limited;
            fillSignal(*lv2);
            lv2->Activate();
            lv2->Run(512);
        }
        for (int ch = 0; ch < 2; ++ch) {
            EXPECT_TRUE(sameBits(hostile.out[ch], limited.out[ch], 0, 512));
            for (std::uint32_t i = 0; i < 512; ++i) ASSERT_TRUE(std::isfinite(hostile.out[ch][i]));
        }
    }
}

TEST(Lv2Plugin, BypassFadesThenPassesTheInputBitForBit) {
    const std::uint32_t fade = static_cast<std::uint32_t>(kRate * 0.005f);  // 5 ms
    UridMap map;
    // Bypassed from the start: no fade at all.
    Instance off(map);
    useSettings(off, kSettings);
    fillSignal(off);
    off.enabled = 0.0f;
    off.Activate();
    off.Run(300);
    for (int c = 0; c < 2; ++c) EXPECT_TRUE(sameBits(off.out[c], off.in[c], 0, 300));
    // NaN keeps the state.
    off.enabled = std::nanf("");
    off.Run(300, 300);
    for (int c = 0; c < 2; ++c) EXPECT_TRUE(sameBits(off.out[c], off.in[c], 300, 600));

    // Switched off while processing: a fade, then the input as it is.
    Instance on(map);
    useSettings(on, kSettings);
    fillSignal(on);
    on.Activate();
    on.Run(256);
    on.enabled = 0.0f;
    on.Run(1024, 256);
    EXPECT_FALSE(sameBits(on.out[0], on.in[0], 256, 256 + fade - 1));
    for (int c = 0; c < 2; ++c) EXPECT_TRUE(sameBits(on.out[c], on.in[c], 256 + fade, 1280));
}

// A host saves from its own thread while run goes on: every saved state is one the bindings
// passed through as the panel taught and cleared them, never a mix of two.
TEST(Lv2Plugin, SavesOnlyWholeBindingsBesideRun) {
    UridMap map;
    constexpr int kSteps = 48;  // the last one clears, so every round starts unbound
    const auto step = [](Instance& lv2, int k) {
        const Urids& u = lv2.urids;
        if (k % 16 == 15) {
            lv2.Message(0, u.clearAll);
        } else {
            lv2.Message(0, u.startLearning, u.parameterKey, k % kParameterCount);
            lv2.Midi(1, 0xB0, static_cast<std::uint8_t>(20 + k), 64);
        }
        lv2.Run(64);
    };
    Instance reference(map), lv2(map);
    const LV2_URID key = reference.urids.midiBindings;
    std::set<std::vector<unsigned char>> whole = {reference.Save().at(key).second};
    for (int k = 0; k < kSteps; ++k) {
        step(reference, k);
        whole.insert(reference.Save().at(key).second);
    }
    lv2.Activate();
    std::atomic<bool> done{false};
    std::thread audio([&] {
        for (int k = 0; !done.load(); k = (k + 1) % kSteps) step(lv2, k);
    });
    int mixed = 0;
    for (int save = 0; save < 3000; ++save)
        mixed += whole.count(lv2.Save().at(key).second) == 0 ? 1 : 0;
    done.store(true);
    audio.join();
    EXPECT_EQ(mixed, 0) << "of 3000 saves, against " << whole.size() << " whole states";
}

}  // namespace
}  // namespace Lv2Test
