// The editor behaviour both platforms share: the menus' items, what choosing them does to the
// model, and the status text.
#include <gtest/gtest.h>

#include <string>

#include "VstToolkit/Gui/EditorMenus.h"
#include "tests/VstToolkit/RecordingModel.h"

namespace {

using namespace VstToolkit::Gui;
using TestSupport::RecordingModel;

class EditorMenus : public ::testing::Test {
protected:
    static std::string Texts(const std::vector<MenuItem>& items) {
        std::string joined;
        for (const MenuItem& item : items)
            joined += std::to_string(item.id) + ":" + item.text + ";";
        return joined;
    }
    RecordingModel model;
};

TEST_F(EditorMenus, TheControlMenuOffersForgetOnlyForABoundParameter) {
    EXPECT_EQ(Texts(ControlMenuItems(model, 1)), "1:MIDI Learn;");
    model.RegisterMidiControllerMapping(9, 1);
    model.RegisterMidiControllerMapping(7, 1);
    EXPECT_EQ(Texts(ControlMenuItems(model, 1)), "1:MIDI Learn;2:Forget CC: 7;");
    EXPECT_EQ(Texts(ControlMenuItems(model, 0)), "1:MIDI Learn;");
}

TEST_F(EditorMenus, ControlMenuChoicesChangeLearningAndBindings) {
    EXPECT_STREQ(ApplyControlMenu(model, 2, kMidiLearn), kLearningText);
    EXPECT_TRUE(model.IsLearningMidi());
    EXPECT_STREQ(ApplyControlMenu(model, 2, 0), "");  // dismissed
    EXPECT_FALSE(model.IsLearningMidi());

    model.RegisterMidiControllerMapping(7, 2);
    model.RegisterMidiControllerMapping(9, 2);
    model.StartLearningMidi(2);
    EXPECT_STREQ(ApplyControlMenu(model, 2, kForgetController), "");
    EXPECT_FALSE(model.IsLearningMidi());
    EXPECT_EQ(model.ParameterToController(2), 9);  // the lowest went first
}

TEST_F(EditorMenus, TheViewMenuOffersCancelOnlyWhileLearning) {
    EXPECT_EQ(Texts(ViewMenuItems(model)), "1:About;3:Clear All MIDI Learn;");
    model.StartLearningMidi(0);
    EXPECT_EQ(Texts(ViewMenuItems(model)), "1:About;2:Cancel MIDI Learn;3:Clear All MIDI Learn;");
    EXPECT_STREQ(CancelMidiLearn(model), "");
    EXPECT_FALSE(model.IsLearningMidi());
}

TEST_F(EditorMenus, ClearAllForgetsEveryBindingAndStopsLearning) {
    model.RegisterMidiControllerMapping(7, 0);
    model.RegisterMidiControllerMapping(8, 2);
    model.StartLearningMidi(1);
    EXPECT_STREQ(ClearAllMidiLearn(model), "");
    EXPECT_FALSE(model.IsLearningMidi());
    for (VstInt32 p = 0; p < 3; ++p)
        EXPECT_EQ(model.ParameterToController(p), VstToolkit::Model::kControllerCount);
}

TEST_F(EditorMenus, StatusTextIsNameDisplayAndUnitAndCutToFit) {
    char text[256];
    FormatStatusText(model, 2, text, sizeof(text));
    EXPECT_EQ(std::string(text).back(), ' ') << "an empty unit leaves a trailing space";
    EXPECT_EQ(std::string(text).rfind("Third: ", 0), 0u) << text;
    char small[8];
    FormatStatusText(model, 0, small, sizeof(small));
    EXPECT_STREQ(small, "First P");
    FormatStatusText(model, 3, text, sizeof(text));
    EXPECT_STREQ(text, "");
}

}  // namespace
