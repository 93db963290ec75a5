// The host-facing Controller: index checks, strings, chunks, host time, events and the three
// parameter flows between host, view and model.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "VstToolkit/Controller.h"
#include "tests/VstToolkit/RecordingModel.h"
#include "tests/support/RecordingHost.h"

using TestSupport::RecordingHost;
using TestSupport::RecordingModel;

namespace {

class RecordingView : public VstToolkit::ViewInterface {
public:
    void UpdateParameterControl(VstInt32 index, float value) override {
        updates.push_back({index, value});
    }
    void SetStatusText(const char* text) override { statusTexts.emplace_back(text); }

    struct Update {
        VstInt32 index;
        float value;
        bool operator==(const Update& o) const { return index == o.index && value == o.value; }
    };
    std::vector<Update> updates;
    std::vector<std::string> statusTexts;
};

class ControllerTest : public ::testing::Test {
protected:
    RecordingHost host;
    RecordingModel* model = new RecordingModel();
    VstToolkit::Controller controller{RecordingHost::callback, model};
    RecordingView view;

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) {
        AEffect* e = controller.getAeffect();
        return e->dispatcher(e, opcode, index, value, ptr, opt);
    }
};

TEST_F(ControllerTest, RecordTakesItsIdentityFromTheModel) {
    const AEffect* e = controller.getAeffect();
    EXPECT_EQ(e->numPrograms, 4);
    EXPECT_EQ(e->numParams, 3);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->uniqueID, 0x12345678);
    EXPECT_EQ(e->flags, effFlagsCanReplacing | effFlagsProgramChunks);
    EXPECT_EQ(dispatch(effGetVendorVersion), 300);
    EXPECT_EQ(dispatch(effGetPlugCategory), 1);
}

TEST_F(ControllerTest, CanDoAnswersYesOrNoNeverDontKnow) {
    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo",
                            "sendVstEvents", "sendVstMidiEvent"})
        EXPECT_EQ(controller.canDo(yes), 1) << yes;
    for (const char* no : {"bypass", "offline", "", "receiveVstEvents "})
        EXPECT_EQ(controller.canDo(no), -1) << no;
}

TEST_F(ControllerTest, IndicesOutsideTheArraysReadAndWriteNothing) {
    for (VstInt32 bad : {-1, 3, 1000, std::numeric_limits<VstInt32>::min()}) {
        controller.setParameter(bad, 0.3f);
        EXPECT_EQ(controller.getParameter(bad), 0.0f);
        char text[8] = "xxxxxxx";
        controller.getParameterName(bad, text);
        EXPECT_STREQ(text, "");
        controller.getParameterLabel(bad, text);
        controller.getParameterDisplay(bad, text);
        EXPECT_STREQ(text, "");
    }
    for (VstInt32 bad : {-1, 4, 1000, std::numeric_limits<VstInt32>::min()}) {
        controller.setProgram(bad);
        EXPECT_EQ(model->GetSelectedProgramIndex(), 0);
        EXPECT_EQ(controller.getProgram(), 0);
    }
    dispatch(effSetProgram, 0, -2);
    EXPECT_EQ(dispatch(effGetProgram), 0);
    EXPECT_TRUE(model->log.empty());
}

TEST_F(ControllerTest, StringsStayInsideTheirFields) {
    model->SetSelectedProgramName("A thirty character long name!!");
    char name[kVstMaxProgNameLen + 4];
    std::memset(name, '#', sizeof(name));
    dispatch(effGetProgramName, 0, 0, name);
    EXPECT_STREQ(name, "A thirty character long");
    for (std::size_t i = kVstMaxProgNameLen; i < sizeof(name); ++i) EXPECT_EQ(name[i], '#');

    char shortName[kVstMaxParamStrLen + 4];
    std::memset(shortName, '#', sizeof(shortName));
    dispatch(effGetParamName, 1, 0, shortName);
    EXPECT_STREQ(shortName, "Second1");
    EXPECT_EQ(shortName[kVstMaxParamStrLen], '#');

    char effectName[kVstMaxEffectNameLen];
    EXPECT_EQ(dispatch(effGetEffectName, 0, 0, effectName), 1);
    EXPECT_STREQ(effectName, "Recording Model");
    char vendor[kVstMaxVendorStrLen];
    EXPECT_EQ(dispatch(effGetVendorString, 0, 0, vendor), 1);
    EXPECT_STREQ(vendor, "Quellin Test Vendor");
    char product[kVstMaxProductStrLen];
    EXPECT_EQ(dispatch(effGetProductString, 0, 0, product), 1);
    EXPECT_STREQ(product, "Recording Product");

    char renamed[] = "Renamed";
    dispatch(effSetProgramName, 0, 0, renamed);
    EXPECT_STREQ(model->GetSelectedProgramName(), "Renamed");
}

TEST_F(ControllerTest, HostAutomationUpdatesTheViewButIsNotReportedBack) {
    controller.SetView(&view);
    controller.setParameter(2, 0.125f);
    EXPECT_EQ(model->GetParameterValue(2), 0.125f);
    EXPECT_EQ(view.updates, (std::vector<RecordingView::Update>{{2, 0.125f}}));
    EXPECT_EQ(host.count(audioMasterAutomate), 0);
    EXPECT_EQ(controller.getParameter(2), 0.125f);
}

TEST_F(ControllerTest, EditorChangesAndGesturesAreReportedButNotEchoedToTheView) {
    controller.SetView(&view);
    controller.OnViewParameterValueChanged(0, 0.75f);
    EXPECT_EQ(model->GetParameterValue(0), 0.75f);
    EXPECT_TRUE(view.updates.empty());
    ASSERT_EQ(host.count(audioMasterAutomate), 1);
    EXPECT_EQ(host.calls.back().index, 0);
    EXPECT_EQ(host.calls.back().opt, 0.75f);
    EXPECT_EQ(model->log, std::vector<std::string>{"parameter 0 0.250000 0.750000"})
        << "stored once: the automation call does not set it again";
    controller.OnViewParameterValueChanged(9, 0.5f);  // not a parameter
    EXPECT_EQ(host.count(audioMasterAutomate), 1);
    // A drag's press and release reach the host around its changes, for touch automation.
    controller.OnViewGestureBegan(2);
    controller.OnViewGestureEnded(2);
    controller.OnViewGestureBegan(9);
    ASSERT_EQ(host.count(audioMasterBeginEdit), 1);
    ASSERT_EQ(host.count(audioMasterEndEdit), 1);
    EXPECT_EQ(host.calls.back().opcode, audioMasterEndEdit);
    EXPECT_EQ(host.calls.back().index, 2);
}

// The audio thread tells the host at once; the view follows on the editor's next idle, on the
// user-interface thread, with the latest value.
TEST_F(ControllerTest, LearnedControllersUpdateTheHostAtOnceAndTheViewOnIdle) {
    controller.SetView(&view);
    model->StartLearningMidi(1);
    model->DispatchController(0, 0, 20, 5);
    EXPECT_TRUE(view.statusTexts.empty()) << "the audio thread never touches the view";
    controller.ShowAudioThreadChanges();
    EXPECT_EQ(view.statusTexts, std::vector<std::string>{""});
    model->DispatchController(0, 0, 20, 0);
    model->DispatchController(0, 0, 20, 127);
    EXPECT_EQ(host.count(audioMasterAutomate), 2);
    EXPECT_TRUE(view.updates.empty());
    controller.ShowAudioThreadChanges();
    controller.ShowAudioThreadChanges();
    EXPECT_EQ(view.updates, (std::vector<RecordingView::Update>{{1, 1.0f}}));
}

TEST_F(ControllerTest, ProgramChangesRefreshTheViewFromTheNewProgram) {
    model->SetSelectedProgramIndex(2);
    model->SetParameterValue(0, 0.9f);
    model->SetSelectedProgramIndex(0);
    controller.setProgram(2);  // without a view: nothing to refresh
    controller.SetView(&view);
    controller.setProgram(2);
    EXPECT_EQ(controller.getProgram(), 2);
    EXPECT_EQ(view.updates, (std::vector<RecordingView::Update>{{0, 0.9f}, {1, 0.5f}, {2, 1.0f}}));
    controller.SetView(nullptr);
    controller.setProgram(1);
    EXPECT_EQ(view.updates.size(), 3u);
}

TEST_F(ControllerTest, BankChunkIsReturnedInTheSameBufferEachTime) {
    void* first = nullptr;
    void* second = nullptr;
    const VstIntPtr size = dispatch(effGetChunk, 0, 0, &first);
    const std::vector<unsigned char> bytes(static_cast<unsigned char*>(first),
                                           static_cast<unsigned char*>(first) + size);
    EXPECT_EQ(dispatch(effGetChunk, 0, 0, &second), size);
    EXPECT_EQ(first, second);
    EXPECT_EQ(std::memcmp(second, bytes.data(), bytes.size()), 0);
    // 164 header + 4 programs x (24 + 3 x 4) + 3 unbound parameters.
    EXPECT_EQ(size, 164 + 4 * 36 + 3);
    void* program = nullptr;
    EXPECT_EQ(dispatch(effGetChunk, 1, 0, &program), 164 + 36);
}

TEST_F(ControllerTest, SetChunkRefusesWhatCannotBeAChunkWithoutTouchingAnything) {
    void* data = nullptr;
    const VstInt32 size = static_cast<VstInt32>(dispatch(effGetChunk, 0, 0, &data));
    std::vector<unsigned char> bank(static_cast<unsigned char*>(data),
                                    static_cast<unsigned char*>(data) + size);
    model->SetParameterValue(0, 0.6f);
    model->log.clear();
    EXPECT_EQ(controller.setChunk(nullptr, size, false), 0);
    EXPECT_EQ(controller.setChunk(bank.data(), 0, false), 0);
    EXPECT_EQ(controller.setChunk(bank.data(), -size, true), 0);
    EXPECT_EQ(controller.setChunk(bank.data(), VstToolkit::Controller::kMaxChunkBytes + 1, false),
              0);
    EXPECT_EQ(dispatch(effGetChunk, 0, 0, nullptr), 0);
    EXPECT_TRUE(model->log.empty());
    EXPECT_EQ(model->GetParameterValue(0), 0.6f);

    controller.SetView(&view);
    EXPECT_EQ(controller.setChunk(bank.data(), size, false), 1);
    EXPECT_EQ(model->GetParameterValue(0), 0.25f);
    EXPECT_EQ(view.updates.size(), 3u) << "refreshed after a successful load";
    bank[0] = 'X';  // another plug-in's header
    EXPECT_EQ(controller.setChunk(bank.data(), size, false), 0);
    EXPECT_EQ(view.updates.size(), 3u);
}

TEST_F(ControllerTest, HostTimeUpdatesTheModelOncePerBlock) {
    float left[4] = {}, right[4] = {};
    float* channels[] = {left, right};
    controller.processReplacing(channels, channels, 4);  // the host answers no time info
    EXPECT_EQ(model->GetTempo(), 120.0);
    EXPECT_TRUE(model->IsTransportPlaying());
    EXPECT_EQ(host.count(audioMasterGetTime), 1);
    EXPECT_EQ(host.calls.back().value, 0x2602);

    VstTimeInfo time{};
    time.tempo = 140.0;
    time.ppqPos = 8.0;
    time.timeSigNumerator = 3;
    time.timeSigDenominator = 4;
    time.flags = kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;  // stopped
    host.timeInfo = &time;
    model->log.clear();
    controller.processReplacing(channels, channels, 4);
    EXPECT_EQ(model->log, (std::vector<std::string>{"tempo 140.000000", "position 8.000000",
                                                    "stopped", "signature 3/4", "process 0 4"}));
    time.flags = kVstTransportPlaying;  // nothing else valid
    time.tempo = 60.0;
    model->log.clear();
    controller.processReplacing(channels, channels, 4);
    EXPECT_EQ(model->log, (std::vector<std::string>{"playing", "process 0 4"}));
    EXPECT_EQ(model->GetTempo(), 140.0);
    EXPECT_EQ(host.count(audioMasterGetTime), 3);
}

TEST_F(ControllerTest, ProcessWithoutBuffersRendersNothing) {
    float left[4] = {};
    float* partial[] = {left, nullptr};
    controller.processReplacing(nullptr, nullptr, 4);
    controller.processReplacing(partial, partial, 4);
    EXPECT_TRUE(model->pieces.empty());
}

TEST_F(ControllerTest, OnlyMidiEventsAreQueuedAndBadListsAreSkipped) {
    VstMidiEvent note{};
    note.type = kVstMidiType;
    note.deltaFrames = 2;
    note.midiData[0] = static_cast<char>(0x90);
    note.midiData[1] = 60;
    note.midiData[2] = 100;
    VstMidiSysexEvent sysex{};
    sysex.type = kVstSysExType;
    struct {
        VstInt32 numEvents;
        VstIntPtr reserved;
        VstEvent* events[3];
    } list{
        3, 0, {reinterpret_cast<VstEvent*>(&sysex), nullptr, reinterpret_cast<VstEvent*>(&note)}};
    EXPECT_EQ(controller.processEvents(reinterpret_cast<VstEvents*>(&list)), 1);
    VstEvents empty{};
    empty.numEvents = -4;
    EXPECT_EQ(controller.processEvents(&empty), 1);
    EXPECT_EQ(controller.processEvents(nullptr), 1);

    float left[4] = {}, right[4] = {};
    float* channels[] = {left, right};
    controller.processReplacing(channels, channels, 4);
    EXPECT_EQ(model->log,
              (std::vector<std::string>{"process 0 2", "noteOn 2 0 60 100", "process 2 2"}));
}

TEST_F(ControllerTest, UnusableSampleRatesAreIgnored) {
    dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    for (float bad : {0.0f, -44100.0f, std::nanf(""), std::numeric_limits<float>::infinity()})
        dispatch(effSetSampleRate, 0, 0, nullptr, bad);
    EXPECT_EQ(controller.getSampleRate(), 96000.0f);
    EXPECT_EQ(model->GetSampleRate(), 96000.0f);
    dispatch(effSetBlockSize, 0, 256);  // re-announces the same rate: no hook
    EXPECT_EQ(model->log, std::vector<std::string>{"rate 44100.000000 96000.000000"});
}

}  // namespace
