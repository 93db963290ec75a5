// The plug-in object driven directly, with a recording host: the block splitting at MIDI
// offsets and sub-block limits, the parameter flows that report to the host, programs and
// chunks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "SynthToolkit/Vst/VstPlugin.h"
#include "tests/SynthToolkit/TestModel.h"
#include "tests/support/RecordingHost.h"
#include "tools/host/MidiEvents.h"

using SynthToolkit::Vst::VstPlugin;
using TestSupport::RecordingHost;
using TestSupport::TestModel;

namespace {

// Notes each control change with the spans rendered so far.
struct MidiProbe : SynthToolkit::Midi::IControllerObserver {
    explicit MidiProbe(const std::vector<int>& renderedSpans) : spans(renderedSpans) {}
    void controllerChanged(int, int controller, int) override {
        seen.push_back({controller, static_cast<int>(spans.size())});
    }
    const std::vector<int>& spans;
    std::vector<std::pair<int, int>> seen;  // controller, spans rendered before it
};

struct ObserverProbe : SynthToolkit::IModelObserver {
    void parameterChanged(int index) override { changed.push_back(index); }
    void modelChanged() override { ++everything; }
    std::vector<int> changed;
    int everything = 0;
};

class VstPluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        services = new SynthToolkit::ServiceDispatcher();
        model = new TestModel(*services);
        plugin = new VstPlugin(RecordingHost::callback, services, model, 1, 0x00514356);
        probe = std::make_unique<MidiProbe>(model->spans);
        services->messageProvider()->addControllerObserver(probe.get());
        host.calls.clear();
    }
    void TearDown() override {
        services->messageProvider()->removeControllerObserver(probe.get());
        delete plugin;
    }

    void render(int frames) {
        left.assign(static_cast<std::size_t>(frames), 0.0f);
        right.assign(static_cast<std::size_t>(frames), 0.0f);
        float* channels[] = {left.data(), right.data()};
        plugin->processReplacing(channels, channels, frames);
    }
    void send(const std::vector<VstMidiEvent>& events) {
        VstHost::EventBlock block(events);
        EXPECT_EQ(plugin->processEvents(block.get()), 1);
    }

    RecordingHost host;
    SynthToolkit::ServiceDispatcher* services = nullptr;
    TestModel* model = nullptr;
    VstPlugin* plugin = nullptr;
    std::unique_ptr<MidiProbe> probe;
    std::vector<float> left, right;
};

TEST_F(VstPluginTest, RecordReflectsTheModel) {
    AEffect* effect = plugin->getAeffect();
    EXPECT_EQ(effect->numPrograms, 32);
    EXPECT_EQ(effect->numParams, 5);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->uniqueID, 0x00514356);
    EXPECT_EQ(effect->flags, effFlagsCanReplacing | effFlagsProgramChunks);
    EXPECT_EQ(plugin->getVendorVersion(), 2000);
    EXPECT_EQ(plugin->getPlugCategory(), kPlugCategEffect);
}

TEST_F(VstPluginTest, EventsSplitTheBlockAtTheirOffsets) {
    send({VstHost::makeControlChange(10, 0, 1, 1), VstHost::makeControlChange(20, 0, 2, 2)});
    render(64);
    EXPECT_EQ(model->spans, (std::vector<int>{10, 10, 44}));
    EXPECT_EQ(probe->seen, (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}}));
    // Each span wrote at its own position: span numbers 1, 2 and 3.
    EXPECT_EQ(left[9], 1.0f);
    EXPECT_EQ(left[10], 2.0f);
    EXPECT_EQ(right[20], 3.0f);
    EXPECT_EQ(right[63], 3.0f);
}

TEST_F(VstPluginTest, EventsAtTheEdgesOfTheBlock) {
    send({VstHost::makeControlChange(0, 0, 1, 1), VstHost::makeControlChange(64, 0, 2, 2),
          VstHost::makeControlChange(64, 0, 3, 3)});
    render(64);
    EXPECT_EQ(model->spans, (std::vector<int>{64}));
    EXPECT_EQ(probe->seen, (std::vector<std::pair<int, int>>{{1, 0}, {2, 1}, {3, 1}}));
}

TEST_F(VstPluginTest, LateEventsAreDispatchedBeforeTheRestOfTheBlock) {
    send({VstHost::makeControlChange(5, 0, 1, 1), VstHost::makeControlChange(500, 0, 2, 2),
          VstHost::makeControlChange(7, 0, 3, 3)});
    render(64);
    EXPECT_EQ(model->spans, (std::vector<int>{5, 59}));
    EXPECT_EQ(probe->seen, (std::vector<std::pair<int, int>>{{1, 1}, {2, 1}, {3, 1}}));
}

TEST_F(VstPluginTest, DecreasingAndNegativeOffsetsNeverGiveANegativeSpan) {
    send({VstHost::makeControlChange(30, 0, 1, 1), VstHost::makeControlChange(12, 0, 2, 2),
          VstHost::makeControlChange(-40, 0, 3, 3), VstHost::makeControlChange(40, 0, 4, 4)});
    render(64);
    EXPECT_EQ(model->spans, (std::vector<int>{30, 10, 24}));
    EXPECT_EQ(probe->seen.size(), 4u);
}

TEST_F(VstPluginTest, EmptyBlocksKeepEventsAndBadBuffersStillDrainThem) {
    send({VstHost::makeControlChange(3, 0, 1, 1)});
    render(0);
    float* none[] = {nullptr, nullptr};
    plugin->processReplacing(none, none, -5);
    EXPECT_TRUE(probe->seen.empty());
    plugin->processReplacing(none, none, 64);
    plugin->processReplacing(nullptr, nullptr, 64);
    EXPECT_EQ(probe->seen.size(), 1u);
    EXPECT_TRUE(model->spans.empty());
    render(16);
    EXPECT_EQ(probe->seen.size(), 1u) << "nothing left queued";
}

TEST_F(VstPluginTest, BadEventListsQueueNothing) {
    EXPECT_EQ(plugin->processEvents(nullptr), 1);
    VstHost::EventBlock block({VstHost::makeControlChange(1, 0, 1, 1)});
    block.get()->numEvents = -3;
    plugin->processEvents(block.get());
    VstHost::EventBlock withNull(
        {VstHost::makeControlChange(1, 0, 1, 1), VstHost::makeControlChange(2, 0, 2, 2)});
    withNull.get()->events[0] = nullptr;
    withNull.get()->events[1]->type = 6;  // not MIDI
    plugin->processEvents(withNull.get());
    render(8);
    EXPECT_TRUE(probe->seen.empty());
}

TEST_F(VstPluginTest, LongBlocksAreRenderedInSubBlocks) {
    render(40000);
    EXPECT_EQ(model->spans, (std::vector<int>{16384, 16384, 7232}));
    EXPECT_EQ(left[16383], 1.0f);
    EXPECT_EQ(left[16384], 2.0f);
    EXPECT_EQ(left[39999], 3.0f);
}

TEST_F(VstPluginTest, HostTimeReachesTheServices) {
    VstTimeInfo time{};
    time.tempo = 97.0;
    time.ppqPos = 12.5;
    host.timeInfo = &time;
    render(4);
    EXPECT_EQ(services->currentTempo(), 97.0f);
    EXPECT_EQ(services->currentSongPosition(), 12.5f);
    ASSERT_GE(host.count(audioMasterGetTime), 1);
    EXPECT_EQ(host.calls[0].value, 0x600);
}

TEST_F(VstPluginTest, HostChangesNotifyOthersButNeverEchoToTheHost) {
    ObserverProbe view;
    model->addObserver(&view);
    plugin->setParameter(1, model->parameterValue(1));
    EXPECT_TRUE(view.changed.empty());
    plugin->setParameter(1, 0.7f);
    EXPECT_EQ(view.changed, (std::vector<int>{1}));
    EXPECT_EQ(plugin->getParameter(1), 0.7f);
    plugin->setParameter(1, std::numeric_limits<float>::quiet_NaN());
    plugin->setParameter(1, 3.0f);
    EXPECT_EQ(plugin->getParameter(1), 1.0f);
    for (VstInt32 bad : {-1, 5, 1 << 30}) {
        plugin->setParameter(bad, 0.5f);
        EXPECT_EQ(plugin->getParameter(bad), 0.0f);
    }
    EXPECT_EQ(host.count(audioMasterAutomate), 0);
    model->removeObserver(&view);
}

TEST_F(VstPluginTest, AChangeMadeInsideReachesTheHostExactlyOnce) {
    // What the editor does: set the value, then tell everyone except itself.
    ObserverProbe editor;
    model->addObserver(&editor);
    model->setParameterValue(3, 0.4f);
    model->notifyParameterChanged(&editor, 3);
    ASSERT_EQ(host.count(audioMasterAutomate), 1);
    EXPECT_EQ(host.calls.back().index, 3);
    EXPECT_EQ(host.calls.back().opt, 0.4f);
    model->removeObserver(&editor);

    // A mapped controller, on the audio thread.
    host.calls.clear();
    model->setMapping(74, 2);
    send({VstHost::makeControlChange(8, 0, 74, 127)});
    render(32);
    ASSERT_EQ(host.count(audioMasterAutomate), 1);
    EXPECT_EQ(plugin->getParameter(2), 1.0f);
}

TEST_F(VstPluginTest, ProgramChangesNotifyAndRejectBadIndices) {
    ObserverProbe view;
    model->addObserver(&view);
    plugin->setProgram(7);
    EXPECT_EQ(plugin->getProgram(), 7);
    EXPECT_EQ(model->currentProgram(), 7);
    EXPECT_EQ(view.everything, 1);
    plugin->dispatcher(effSetProgram, 0, -1, nullptr, 0.0f);
    plugin->setProgram(32);
    EXPECT_EQ(plugin->getProgram(), 7);
    EXPECT_EQ(view.everything, 1);
    model->removeObserver(&view);

    char name[24] = "Seven";
    plugin->setProgramName(name);
    char out[24];
    EXPECT_TRUE(plugin->getProgramNameIndexed(0, 7, out));
    EXPECT_STREQ(out, "Seven");
    EXPECT_FALSE(plugin->getProgramNameIndexed(0, 32, out));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(plugin->getProgramNameIndexed(0, -1, out));
}

TEST_F(VstPluginTest, ParameterTextsFitTheirFields) {
    char text[9];
    std::memset(text, 'x', sizeof(text));
    plugin->getParameterName(3, text);
    EXPECT_STREQ(text, "BP0");
    plugin->getParameterDisplay(4, text);
    EXPECT_STREQ(text, "0.200");
    plugin->getParameterLabel(99, text);
    EXPECT_STREQ(text, "");
    plugin->getParameterName(-2, text);
    EXPECT_STREQ(text, "");
}

TEST_F(VstPluginTest, ChunksReuseTheBufferAndRefuseBadInput) {
    void* first = nullptr;
    void* second = nullptr;
    EXPECT_EQ(plugin->getChunk(&first, false), 1572);
    EXPECT_EQ(plugin->getChunk(&second, true), 208);
    EXPECT_EQ(first, second);
    EXPECT_EQ(plugin->getChunk(nullptr, true), 0);
    std::vector<std::uint8_t> program(static_cast<std::uint8_t*>(second),
                                      static_cast<std::uint8_t*>(second) + 208);

    ObserverProbe view;
    model->addObserver(&view);
    EXPECT_EQ(plugin->setChunk(nullptr, 208, true), 0);
    EXPECT_EQ(plugin->setChunk(program.data(), -208, true), 0);
    EXPECT_EQ(plugin->setChunk(program.data(), 0, true), 0);
    EXPECT_EQ(plugin->setChunk(program.data(), 100, true), 0);
    EXPECT_EQ(view.everything, 0) << "a refused chunk notifies nobody";
    EXPECT_EQ(plugin->setChunk(program.data(), 208, true), 1);
    EXPECT_EQ(view.everything, 1);
    model->removeObserver(&view);
}

TEST_F(VstPluginTest, CapabilitiesAndIdentityTexts) {
    EXPECT_EQ(plugin->canDo("receiveVstEvents"), 1);
    EXPECT_EQ(plugin->canDo("receiveVstMidiEvent"), 1);
    EXPECT_EQ(plugin->canDo("receiveVstTimeInfo"), 1);
    for (const char* no : {"sendVstMidiEvent", "sendVstEvents", "receivevstevents", "", "bypass"})
        EXPECT_EQ(plugin->canDo(no), -1) << no;
    EXPECT_EQ(plugin->canDo(nullptr), -1);
    EXPECT_EQ(plugin->getNumMidiInputChannels(), 1);
    char name[32];
    EXPECT_TRUE(plugin->getEffectName(name));
    EXPECT_STREQ(name, "Quellin Corvane");
}

TEST_F(VstPluginTest, SampleRatesThatAreNotPositiveAndFiniteAreIgnored) {
    for (float bad : {0.0f, -48000.0f, std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity()})
        plugin->setSampleRate(bad);
    EXPECT_EQ(services->currentSampleRate(), 44100.0f);
    plugin->setSampleRate(48000.0f);
    EXPECT_EQ(services->currentSampleRate(), 48000.0f);
}

TEST(VstPluginCreation, ConstructionSelectsProgramZeroAndAsksForMidi) {
    RecordingHost host;
    auto* services = new SynthToolkit::ServiceDispatcher();
    auto* model = new TestModel(*services);
    model->selectProgram(4);
    VstPlugin plugin(RecordingHost::callback, services, model, 2, 1234);
    EXPECT_EQ(model->currentProgram(), 0);
    EXPECT_EQ(host.count(audioMasterWantMidi), 1);
    EXPECT_NE(plugin.getAeffect()->flags & effFlagsIsSynth, 0);
    EXPECT_EQ(plugin.getPlugCategory(), kPlugCategSynth);
}

}  // namespace
