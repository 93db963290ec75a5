// MIDI learn in the VST3 plug-in, without an editor: the editor's actions arrive at the
// processor as the controller's messages, controllers as changes of their mapped parameters,
// and what the processor learns and plays must match the VST 2.x plug-in fed the same MIDI.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <map>
#include <thread>

#include "tests/support/ProductFacts.h"
#include "tests/support/Signal.h"
#include "tests/vst3/Vst3TestHost.h"
#include "tools/host/Host.h"

namespace {

using namespace Vst3TestHost;

enum Command : int64 { kStart = 0, kCancel = 1, kForget = 2, kClearAll = 3 };
constexpr int kCutoff = 1;

// The learned report's value for a binding.
double learned(int cc, int parameter) {
    return (cc * 128 + parameter) / 16383.0;
}

// The bindings a state's bank holds: parameter to controller.
std::map<int, int> bindingsOf(const Bytes& state) {
    std::map<int, int> bound;
    std::size_t at = TestSupport::Product::kBindingsOffset;
    for (int parameter = 0; parameter < 5 && at + 1 < state.size(); ++parameter)
        if (state[at++] != 0) bound[parameter] = state[at++];
    return bound;
}

// The processor with controller 20 learned for the cutoff.
void learnCutoff(Plugin& plugin) {
    ASSERT_EQ(plugin.sendLearnCommand(kStart, kCutoff), kResultOk);
    plugin.sendController(20, 5);
    ASSERT_EQ(bindingsOf(plugin.state()), (std::map<int, int>{{kCutoff, 20}}));
}

TEST(Vst3MidiLearn, LearnsAndPlaysBoundControllersBitForBitAsTheVst2PluginDoes) {
    // Both plug-ins with the effect at work (the defaults pass the input as it is).
    VstHost::PluginLibrary library;
    ASSERT_TRUE(library.load(QC_CORVANE_X64_PATH)) << library.error();
    Bytes bank;
    {
        VstHost::Host source;
        ASSERT_TRUE(source.open(library)) << source.error();
        source.setParameter(0, 1.0f);
        source.setParameter(4, 0.8f);
        void* data = nullptr;
        const VstIntPtr size = source.dispatch(effGetChunk, 0, 0, &data);
        ASSERT_GT(size, 0);
        bank.assign(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
    }
    Plugin vst3;
    ASSERT_TRUE(vst3.ok());
    MemoryStream bankStream(bank);
    ASSERT_EQ(vst3.component->setState(&bankStream), kResultOk);
    ASSERT_EQ(vst3.sendLearnCommand(kStart, kCutoff), kResultOk);

    std::vector<float> left, right;
    constexpr int32 kBlocks = 3;
    TestSupport::makeTestSignal(left, right, kBlocks * kBlock);
    std::vector<float> outL3(left.size()), outR3(left.size()), outL2(left.size()),
        outR2(left.size());
    // Block 0 learns with the controller at 100 (its value is not applied); blocks 1 and 2 move
    // the cutoff at 200 and 300.
    const struct {
        int32 offset;
        int value;
    } controllers[kBlocks] = {{100, 5}, {200, 127}, {300, 64}};
    std::vector<Changes> reports(kBlocks);
    Bytes state;
    for (int32 k = 0; k < kBlocks; ++k) {
        float* in[] = {left.data() + k * kBlock, right.data() + k * kBlock};
        float* out[] = {outL3.data() + k * kBlock, outR3.data() + k * kBlock};
        Changes changes;
        changes.add(kFirstControllerId + 20, controllers[k].offset, controllers[k].value / 127.0);
        ASSERT_EQ(vst3.process(in, out, kBlock, &changes, &reports[k]), kResultOk);
        if (k == 0) state = vst3.state();
    }
    const auto learnedPoints = reports[0].of(kLearnedId);
    ASSERT_EQ(learnedPoints.size(), 1u);
    EXPECT_EQ(learnedPoints[0].first, 100);
    EXPECT_DOUBLE_EQ(learnedPoints[0].second, learned(20, kCutoff));
    EXPECT_TRUE(reports[0].of(kCutoff).empty()) << "the learning message only binds";
    EXPECT_EQ(bindingsOf(state), (std::map<int, int>{{kCutoff, 20}}));

    // The VST 2.x plug-in with the same binding, from the VST3 state, fed the same MIDI.
    VstHost::Host vst2;
    ASSERT_TRUE(vst2.open(library)) << vst2.error();
    vst2.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
    vst2.dispatch(effSetBlockSize, 0, kBlock);
    vst2.dispatch(effMainsChanged, 0, 1);
    ASSERT_EQ(vst2.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(state.size()), state.data()), 1);
    for (int32 k = 0; k < kBlocks; ++k) {
        if (k > 0)
            vst2.sendEvents(
                {VstHost::makeControlChange(controllers[k].offset, 0, 20, controllers[k].value)});
        ASSERT_TRUE(vst2.processReplacing({left.data() + k * kBlock, right.data() + k * kBlock},
                                          {outL2.data() + k * kBlock, outR2.data() + k * kBlock},
                                          kBlock, kBlock));
    }
    EXPECT_EQ(std::memcmp(outL2.data(), outL3.data(), outL2.size() * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(outR2.data(), outR3.data(), outR2.size() * sizeof(float)), 0);
    EXPECT_NE(std::memcmp(outL2.data(), left.data(), left.size() * sizeof(float)), 0);

    // The moves go to the host at their offsets, with the values the VST 2.x plug-in automates.
    const auto automations = vst2.automations();
    ASSERT_EQ(automations.size(), 2u);
    for (int32 k = 1; k < kBlocks; ++k) {
        const auto points = reports[k].of(kCutoff);
        ASSERT_EQ(points.size(), 1u) << k;
        EXPECT_EQ(points[0].first, controllers[k].offset);
        EXPECT_EQ(points[0].second, automations[k - 1].value);
    }
}

TEST(Vst3MidiLearn, TheEditorsActionsReachTheProcessorAndBadOnesChangeNothing) {
    const struct {
        const char* name;
        std::vector<std::pair<int64, int64>> commands;
        const char* messageId;
        tresult expected;
        std::map<int, int> bindings;
        bool learnsController30;  // for the bass amp, after the commands
    } cases[] = {
        {"forget", {{kForget, 20}}, "MidiLearn", kResultOk, {}, false},
        {"forget another", {{kForget, 21}}, "MidiLearn", kResultOk, {{kCutoff, 20}}, false},
        {"clear all", {{kClearAll, 0}}, "MidiLearn", kResultOk, {}, false},
        {"learn again", {{kStart, 4}}, "MidiLearn", kResultOk, {{kCutoff, 20}, {4, 30}}, true},
        {"cancel", {{kStart, 4}, {kCancel, 0}}, "MidiLearn", kResultOk, {{kCutoff, 20}}, false},
        {"another message", {{kClearAll, 0}}, "Other", kResultFalse, {{kCutoff, 20}}, false},
        {"an unknown action", {{7, 0}}, "MidiLearn", kInvalidArgument, {{kCutoff, 20}}, false},
        {"no such parameter", {{kStart, 5}}, "MidiLearn", kInvalidArgument, {{kCutoff, 20}}, false},
        {"no such controller",
         {{kForget, 128}},
         "MidiLearn",
         kInvalidArgument,
         {{kCutoff, 20}},
         false},
        {"a negative value",
         {{kForget, -1}},
         "MidiLearn",
         kInvalidArgument,
         {{kCutoff, 20}},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Plugin plugin;
        learnCutoff(plugin);
        for (const auto& [kind, value] : c.commands)
            EXPECT_EQ(plugin.sendLearnCommand(kind, value, c.messageId), c.expected);
        const Changes learnt = plugin.sendController(30, 9, 7);
        EXPECT_EQ(learnt.of(kLearnedId).size(), c.learnsController30 ? 1u : 0u);
        EXPECT_EQ(bindingsOf(plugin.state()), c.bindings);
        // The cutoff follows controller 20 exactly while it is bound.
        const Changes moved = plugin.sendController(20, 127, 11);
        EXPECT_EQ(moved.of(kCutoff).size(), c.bindings.count(kCutoff));
    }
    Plugin plugin;
    EXPECT_EQ(plugin.processorPoint->notify(nullptr), kResultFalse);
}

// The editor's actions arrive on the user-interface thread while the audio thread learns and
// plays controllers; every binding the state shows is one a controller made.
TEST(Vst3MidiLearn, ActionsAndControllersMeetOnTwoThreads) {
    Plugin plugin;
    std::atomic<bool> done{false};
    std::thread audio([&] {
        for (int block = 0; !done.load(); ++block)
            plugin.sendController(20 + block % 4, block % 128);
    });
    for (int round = 0; round < 300; ++round) {
        plugin.sendLearnCommand(kStart, round % 5);
        if (round % 7 == 0) plugin.sendLearnCommand(kForget, 20 + round % 4);
        if (round % 31 == 0) plugin.sendLearnCommand(kClearAll, 0);
        for (const auto& [parameter, cc] : bindingsOf(plugin.state())) {
            EXPECT_LT(parameter, 5);
            EXPECT_TRUE(cc >= 20 && cc < 24) << cc;
        }
    }
    done = true;
    audio.join();
}

TEST(Vst3MidiLearn, TheControllerTakesTheHiddenParametersAndRefusesBadReports) {
    Plugin plugin;
    IEditController* controller = plugin.controller;
    EXPECT_EQ(controller->setParamNormalized(kFirstControllerId + 7, 0.5), kResultOk);
    EXPECT_EQ(controller->getParamNormalized(kFirstControllerId + 7), 0.0) << "the processor's";
    EXPECT_EQ(controller->setParamNormalized(kLearnedId, learned(20, kCutoff)), kResultOk);
    EXPECT_EQ(controller->setParamNormalized(kLearnedId, learned(20, 100)), kResultOk)
        << "no such parameter: ignored";
    EXPECT_EQ(controller->setParamNormalized(kLearnedId, std::nan("")), kInvalidArgument);
    EXPECT_EQ(controller->setParamNormalized(kFirstControllerId + 128, 0.5), kInvalidArgument);
    EXPECT_TRUE(plugin.handler.calls.empty()) << "nothing is reported back";
}

}  // namespace
