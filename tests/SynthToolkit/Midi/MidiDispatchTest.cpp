// Decoding of raw channel messages and the sorting of control changes by meaning.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SynthToolkit/ServiceDispatcher.h"

using namespace SynthToolkit::Midi;

namespace {

// Writes every call it receives as one line, so order and arguments are checked together.
class Recorder : public INoteObserver,
                 public IPolyPressureObserver,
                 public IControllerObserver,
                 public IProgramChangeObserver,
                 public IChannelPressureObserver,
                 public IPitchBendObserver,
                 public IPairedControllerObserver,
                 public ISustainObserver,
                 public IAllSoundOffObserver,
                 public IResetAllControllersObserver,
                 public IAllNotesOffObserver,
                 public IOmniModeObserver {
public:
    explicit Recorder(std::vector<std::string>& sharedLog, std::string tag = "")
        : log(sharedLog), name(std::move(tag)) {}

    void noteOn(int c, int n, int v) override { add("on", c, n, v); }
    void noteOff(int c, int n, int v) override { add("off", c, n, v); }
    void polyPressureChanged(int c, int n, int p) override { add("poly", c, n, p); }
    void controllerChanged(int c, int n, int v) override { add("cc", c, n, v); }
    void programChanged(int c, int p) override { add("program", c, p); }
    void channelPressureChanged(int c, int p) override { add("pressure", c, p); }
    void pitchBendChanged(int c, int v) override { add("bend", c, v); }
    void coarseChanged(int c, int v) override { add("coarse", c, v); }
    void fineChanged(int c, int v) override { add("fine", c, v); }
    void sustainChanged(int c, int on) override { add("sustain", c, on); }
    void allSoundOff(int c) override { add("soundoff", c); }
    void resetAllControllers(int c) override { add("resetall", c); }
    void allNotesOff(int c) override { add("notesoff", c); }
    void omniModeChanged(int c, int on) override { add("omni", c, on); }

private:
    template <typename... Ints>
    void add(const char* what, Ints... values) {
        std::string line = name + what;
        ((line += " " + std::to_string(values)), ...);
        log.push_back(line);
    }

    std::vector<std::string>& log;
    std::string name;
};

using Log = std::vector<std::string>;

class MessageDispatch : public ::testing::Test {
protected:
    void SetUp() override {
        dispatcher.addNoteObserver(&recorder);
        dispatcher.addPolyPressureObserver(&recorder);
        dispatcher.addControllerObserver(&recorder);
        dispatcher.addProgramChangeObserver(&recorder);
        dispatcher.addChannelPressureObserver(&recorder);
        dispatcher.addPitchBendObserver(&recorder);
    }

    Log log;
    Recorder recorder{log};
    MessageDispatcher dispatcher;
};

TEST_F(MessageDispatch, EachStatusNibbleReachesItsListWithTheChannel) {
    dispatcher.dispatch(0x81, 60, 64);
    dispatcher.dispatch(0x92, 61, 100);
    dispatcher.dispatch(0x90, 62, 0);  // velocity 0 is a note-off
    dispatcher.dispatch(0xA4, 63, 5);
    dispatcher.dispatch(0xBF, 7, 99);  // MIDI channel 16
    dispatcher.dispatch(0xC5, 12, 77);
    dispatcher.dispatch(0xD6, 33, 1);
    dispatcher.dispatch(0xE3, 0x00, 0x40);
    dispatcher.dispatch(0xE0, 0x7F, 0x7F);
    EXPECT_EQ(log, (Log{"off 1 60 64", "on 2 61 100", "off 0 62 0", "poly 4 63 5", "cc 15 7 99",
                        "program 5 12", "pressure 6 33", "bend 3 8192", "bend 0 16383"}));
}

TEST_F(MessageDispatch, SystemRealTimeAndDataBytesAsStatusAreIgnored) {
    for (int status : {0x00, 0x40, 0x7F, 0xF0, 0xF7, 0xF8, 0xFE, 0xFF})
        dispatcher.dispatch(static_cast<std::uint8_t>(status), 60, 100);
    EXPECT_TRUE(log.empty());
}

TEST_F(MessageDispatch, DataBytesArePassedOnUnmasked) {
    dispatcher.dispatch(0xB0, 0xFF, 0x80);
    EXPECT_EQ(log, (Log{"cc 0 255 128"}));
}

TEST(MessageDispatchRegistry, DuplicatesAreCalledTwiceAndOneRemoveTakesBoth) {
    Log log;
    Recorder first(log, "a:"), second(log, "b:");
    MessageDispatcher dispatcher;
    dispatcher.dispatch(0x90, 1, 1);  // nobody registered: nothing happens
    dispatcher.addNoteObserver(&first);
    dispatcher.addNoteObserver(&second);
    dispatcher.addNoteObserver(&first);
    dispatcher.dispatch(0x90, 60, 1);
    EXPECT_EQ(log, (Log{"a:on 0 60 1", "b:on 0 60 1", "a:on 0 60 1"}));

    log.clear();
    dispatcher.removeNoteObserver(&first);
    dispatcher.removeNoteObserver(&first);  // no longer there: nothing happens
    dispatcher.dispatch(0x80, 60, 0);
    dispatcher.dispatch(0xB0, 1, 1);  // not a controller observer
    EXPECT_EQ(log, (Log{"b:off 0 60 0"}));
}

class ControllerDispatch : public ::testing::Test {
protected:
    void SetUp() override {
        auto* controllers = services.controllerProvider();
        controllers->addModulationObserver(&modulation);
        controllers->addVolumeObserver(&volume);
        controllers->addExpressionObserver(&expression);
        controllers->addSustainObserver(&other);
        controllers->addAllSoundOffObserver(&other);
        controllers->addResetAllControllersObserver(&other);
        controllers->addAllNotesOffObserver(&other);
        controllers->addOmniModeObserver(&other);
    }
    void cc(int channel, int controller, int value) {
        services.messageDispatcher().dispatch(static_cast<std::uint8_t>(0xB0 | channel),
                                              static_cast<std::uint8_t>(controller),
                                              static_cast<std::uint8_t>(value));
    }

    Log log;
    Recorder modulation{log, "mod:"}, volume{log, "vol:"}, expression{log, "expr:"}, other{log, ""};
    SynthToolkit::ServiceDispatcher services;
};

TEST_F(ControllerDispatch, StandardControllersReachTheirObserversThroughTheServices) {
    cc(0, 1, 10);
    cc(1, 33, 11);
    cc(2, 7, 12);
    cc(3, 39, 13);
    cc(4, 11, 14);
    cc(15, 43, 15);
    EXPECT_EQ(log, (Log{"mod:coarse 0 10", "mod:fine 1 11", "vol:coarse 2 12", "vol:fine 3 13",
                        "expr:coarse 4 14", "expr:fine 15 15"}));
}

TEST_F(ControllerDispatch, SwitchesAndChannelModeMessages) {
    cc(0, 64, 63);
    cc(0, 64, 64);
    cc(0, 64, 64);  // no state: the same flag again
    cc(5, 120, 0);
    cc(5, 121, 0);
    cc(5, 123, 0);
    cc(6, 124, 0);
    cc(6, 125, 0);
    EXPECT_EQ(log, (Log{"sustain 0 0", "sustain 0 1", "sustain 0 1", "soundoff 5", "resetall 5",
                        "notesoff 5", "omni 6 0", "omni 6 1"}));
}

TEST_F(ControllerDispatch, UnlistedNumbersReachNobody) {
    for (int controller : {0, 2, 10, 32, 65, 122, 126, 127}) cc(0, controller, 100);
    EXPECT_TRUE(log.empty());
}

TEST_F(ControllerDispatch, RemovalTakesBothHalvesOfAPair) {
    services.controllerProvider()->removeModulationObserver(&modulation);
    cc(0, 1, 10);
    cc(0, 33, 11);
    cc(0, 7, 12);
    EXPECT_EQ(log, (Log{"vol:coarse 0 12"}));
}

}  // namespace
