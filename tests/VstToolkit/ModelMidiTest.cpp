// Block rendering at event offsets, channel-message decoding and MIDI learn.
#include <gtest/gtest.h>

#include "VstToolkit/Controller.h"
#include "tests/VstToolkit/RecordingModel.h"
#include "tests/support/RecordingHost.h"

using TestSupport::midiEvent;
using TestSupport::Piece;
using TestSupport::RecordingModel;

namespace {

std::vector<std::string> withoutProcess(const std::vector<std::string>& log) {
    std::vector<std::string> kept;
    for (const auto& line : log)
        if (line.rfind("process", 0) != 0) kept.push_back(line);
    return kept;
}

TEST(ProcessBlock, RendersThePiecesBetweenEventsAndPlaysLateOnesAtTheEnd) {
    RecordingModel model;
    model.PushMidiEvent(midiEvent(0, 0x90, 60, 100));
    model.PushMidiEvent(midiEvent(10, 0x80, 60, 0));
    model.PushMidiEvent(midiEvent(600, 0x90, 62, 100));
    model.ProcessBlock(nullptr, nullptr, 512);
    EXPECT_EQ(model.log, (std::vector<std::string>{"process 0 0", "noteOn 0 0 60 100",
                                                   "process 0 10", "noteOff 10 0 60 0",
                                                   "process 10 502", "noteOn 600 0 62 100"}));
    model.log.clear();
    model.ProcessBlock(nullptr, nullptr, 512);  // nothing was carried over
    EXPECT_EQ(model.log, std::vector<std::string>{"process 0 512"});
}

TEST(ProcessBlock, NeverRendersAFrameTwiceOrANegativeCount) {
    RecordingModel model;
    model.PushMidiEvent(midiEvent(40, 0xB0, 1, 1));
    model.PushMidiEvent(midiEvent(20, 0xB0, 1, 2));  // behind the previous one
    model.PushMidiEvent(midiEvent(-5, 0xB0, 1, 3));
    model.PushMidiEvent(midiEvent(64, 0xB0, 1, 4));  // exactly at the end
    model.PushMidiEvent(midiEvent(64, 0xB0, 1, 5));
    model.ProcessBlock(nullptr, nullptr, 64);
    EXPECT_EQ(model.pieces, (std::vector<Piece>{{0, 40}, {40, 0}, {40, 0}, {40, 24}}));
    EXPECT_EQ(withoutProcess(model.log).size(), 5u) << "every event was played";
    model.pieces.clear();
    model.ProcessBlock(nullptr, nullptr, 64);
    EXPECT_EQ(model.pieces, (std::vector<Piece>{{0, 64}}));
}

TEST(ProcessBlock, AppliesParameterChangesAtTheirOffsetsBetweenMidiEvents) {
    RecordingModel model;
    model.PushMidiEvent(midiEvent(10, 0x90, 60, 1));
    model.PushParameterChange(0, 0.5f, 4);
    model.PushParameterChange(1, 0.75f, 10);  // after the note at the same offset
    model.PushParameterChange(3, 1.0f, 12);   // no such parameter: ignored
    model.PushParameterChange(-1, 1.0f, 12);
    model.PushParameterChange(2, 0.0f, 99);  // beyond the block: at its end
    model.ProcessBlock(nullptr, nullptr, 16);
    EXPECT_EQ(model.log, (std::vector<std::string>{
                             "process 0 4", "parameter 0 0.250000 0.500000", "process 4 6",
                             "noteOn 10 0 60 1", "process 10 0", "parameter 1 0.500000 0.750000",
                             "process 10 6", "parameter 2 1.000000 0.000000"}));
    EXPECT_EQ(model.GetParameterValue(1), 0.75f);
    model.log.clear();
    model.ProcessBlock(nullptr, nullptr, 16);
    EXPECT_EQ(model.log, std::vector<std::string>{"process 0 16"});
}

TEST(ProcessBlock, AnEmptyBlockAppliesParameterChangesAndKeepsMidiEvents) {
    RecordingModel model;
    model.PushMidiEvent(midiEvent(3, 0x90, 60, 1));
    model.PushParameterChange(2, 0.5f, 3);
    model.ProcessBlock(nullptr, nullptr, 0);
    EXPECT_EQ(model.log, std::vector<std::string>{"parameter 2 1.000000 0.500000"});
    model.log.clear();
    model.ProcessBlock(nullptr, nullptr, 8);
    EXPECT_EQ(model.log,
              (std::vector<std::string>{"process 0 3", "noteOn 3 0 60 1", "process 3 5"}));
}

TEST(ProcessBlock, AProgramSelectedFromTheAudioThreadReachesTheDocumentAtOnce) {
    RecordingModel model;
    model.SelectProgramFromAudio(2);
    EXPECT_EQ(model.GetSelectedProgramIndex(), 2);
    EXPECT_EQ(model.log, std::vector<std::string>{"program 0 2"});
    for (const VstInt32 outside : {-1, 4}) {
        model.SelectProgramFromAudio(outside);
        EXPECT_EQ(model.GetSelectedProgramIndex(), 2) << outside;
    }
}

TEST(ProcessBlock, AnEmptyBlockKeepsTheEventsForTheNextOne) {
    RecordingModel model;
    model.PushMidiEvent(midiEvent(3, 0x90, 60, 1));
    model.ProcessBlock(nullptr, nullptr, 0);
    model.ProcessBlock(nullptr, nullptr, -7);
    EXPECT_TRUE(model.log.empty());
    model.ProcessBlock(nullptr, nullptr, 8);
    EXPECT_EQ(model.log,
              (std::vector<std::string>{"process 0 3", "noteOn 3 0 60 1", "process 3 5"}));
}

TEST(MidiDecoding, ChannelMessagesReachTheirHooks) {
    RecordingModel model;
    for (auto event : {midiEvent(1, 0x93, 60, 0),       // note-on, velocity 0
                       midiEvent(2, 0x9F, 61, 1),       // note-on
                       midiEvent(3, 0x85, 62, 64),      // note-off
                       midiEvent(4, 0xA1, 63, 70),      // poly pressure
                       midiEvent(5, 0xC2, 7, 0),        // program change
                       midiEvent(6, 0xD3, 99, 0),       // channel pressure
                       midiEvent(7, 0xE3, 0x00, 0x40),  // pitch bend centre
                       midiEvent(8, 0xE0, 0x7F, 0x7F),  // pitch bend top
                       midiEvent(9, 0xB4, 7, 100),      // control change
                       midiEvent(10, 0xF8, 0, 0),       // clock: system message, ignored
                       midiEvent(11, 0xF0, 1, 2),       // sysex status, ignored
                       midiEvent(12, 0x45, 1, 2)})      // a data byte as status, ignored
        model.PushMidiEvent(event);
    model.ProcessBlock(nullptr, nullptr, 16);
    EXPECT_EQ(withoutProcess(model.log),
              (std::vector<std::string>{"noteOff 1 3 60 0", "noteOn 2 15 61 1", "noteOff 3 5 62 64",
                                        "polyPressure 4 1 63 70", "programChange 5 2 7",
                                        "channelPressure 6 3 99", "pitchBend 7 3 8192",
                                        "pitchBend 8 0 16383", "controlChange 9 4 7 100"}));
}

TEST(MidiDecoding, ControllerMessagesWithTheTopBitInADataByteAreDropped) {
    RecordingModel model;
    model.StartLearningMidi(1);
    model.PushMidiEvent(midiEvent(0, 0xB0, 200, 10));  // no controller 200 exists
    model.PushMidiEvent(midiEvent(0, 0xB0, 64, 200));
    model.ProcessBlock(nullptr, nullptr, 4);
    EXPECT_TRUE(model.IsLearningMidi()) << "nothing was bound";
    EXPECT_EQ(model.ParameterToController(1), VstToolkit::Model::kControllerCount);
    EXPECT_EQ(withoutProcess(model.log), std::vector<std::string>{});
    // Direct calls with numbers beyond the map touch nothing either.
    model.DispatchController(0, 0, 128, 1);
    model.DispatchController(0, 0, -1, 1);
    model.RegisterMidiControllerMapping(300, 0);
    model.UnregisterMidiControllerMapping(-3);
    EXPECT_FALSE(model.IsControllerMapped(128));
    EXPECT_EQ(model.ParameterToController(0), VstToolkit::Model::kControllerCount);
}

// A model wired to a Controller, as the plug-in is: learned values are reported as automation.
class MidiLearnTest : public ::testing::Test {
protected:
    TestSupport::RecordingHost host;
    RecordingModel* model = new RecordingModel();
    VstToolkit::Controller controller{TestSupport::RecordingHost::callback, model};

    void controlChange(int channel, int number, int value) {
        model->PushMidiEvent(midiEvent(0, 0xB0 | channel, number, value));
        model->ProcessBlock(nullptr, nullptr, 1);
    }
};

TEST_F(MidiLearnTest, LearningBindsWithoutApplyingThenTheControllerDrivesTheParameter) {
    model->StartLearningMidi(1);
    EXPECT_TRUE(model->IsLearningMidi());
    controlChange(5, 20, 99);
    EXPECT_FALSE(model->IsLearningMidi());
    EXPECT_EQ(model->ParameterToController(1), 20);
    EXPECT_EQ(model->GetParameterValue(1), 0.5f) << "the learning message only binds";
    EXPECT_EQ(host.count(audioMasterAutomate), 0);

    controlChange(0, 20, 127);  // any channel
    EXPECT_EQ(model->GetParameterValue(1), 1.0f);
    ASSERT_EQ(host.count(audioMasterAutomate), 1);
    EXPECT_EQ(host.calls.back().index, 1);
    EXPECT_EQ(host.calls.back().opt, 1.0f);
    controlChange(0, 20, 64);
    EXPECT_FLOAT_EQ(model->GetParameterValue(1), 0.503937f);
    controlChange(0, 20, 0);
    EXPECT_EQ(model->GetParameterValue(1), 0.0f);
    controlChange(0, 21, 127);  // not bound
    EXPECT_EQ(model->GetParameterValue(1), 0.0f);
    EXPECT_EQ(host.count(audioMasterAutomate), 3);
}

TEST_F(MidiLearnTest, RelearningAndMovingKeepOneControllerPerParameter) {
    model->StartLearningMidi(1);
    controlChange(0, 20, 1);
    model->StartLearningMidi(1);
    controlChange(0, 21, 1);
    EXPECT_FALSE(model->IsControllerMapped(20)) << "re-learning unbinds the old controller";
    EXPECT_EQ(model->ParameterToController(1), 21);

    model->StartLearningMidi(2);
    controlChange(0, 21, 1);
    EXPECT_EQ(model->ControllerToParameter(21), 2) << "the controller moved";
    EXPECT_EQ(model->ParameterToController(1), VstToolkit::Model::kControllerCount);

    model->StartLearningMidi(0);
    model->StartLearningMidi(2);  // another control while learning: the latest wins
    controlChange(0, 30, 1);
    EXPECT_EQ(model->ParameterToController(2), 30);
    EXPECT_EQ(model->ParameterToController(0), VstToolkit::Model::kControllerCount);

    model->StartLearningMidi(0);
    model->StopLearningMidi();
    controlChange(0, 31, 1);
    EXPECT_FALSE(model->IsControllerMapped(31));
}

TEST_F(MidiLearnTest, SustainControllerCanBeBoundAndStillReachesTheSustainHooks) {
    model->RegisterMidiControllerMapping(64, 2);
    controlChange(3, 64, 100);
    controlChange(3, 64, 63);
    EXPECT_FLOAT_EQ(model->GetParameterValue(2), 63.0f / 127.0f);
    EXPECT_EQ(withoutProcess(model->log),
              (std::vector<std::string>{"parameter 2 1.000000 0.787402", "sustainOn 0 3",
                                        "controlChange 0 3 64 100", "parameter 2 0.787402 0.496063",
                                        "sustainOff 0 3", "controlChange 0 3 64 63"}));
}

TEST_F(MidiLearnTest, ForgettingAndClearing) {
    model->RegisterMidiControllerMapping(7, 0);
    model->RegisterMidiControllerMapping(8, 1);
    model->RegisterMidiControllerMapping(9, 1);
    EXPECT_EQ(model->ParameterToController(1), 8) << "the lowest of several";
    model->UnregisterMidiControllerMapping(8);
    EXPECT_EQ(model->ParameterToController(1), 9);
    model->ClearMidiControllerMap();
    for (VstInt32 c = 0; c < VstToolkit::Model::kControllerCount; ++c)
        EXPECT_FALSE(model->IsControllerMapped(c));
}

}  // namespace
