// The knob and switch arithmetic every platform's controls run on.
#include <gtest/gtest.h>

#include <limits>

#include "EditorCommon/ControlMath.h"

namespace {

using namespace EditorCommon;

TEST(KnobMath, FramesTruncateInSinglePrecision) {
    struct Case {
        float value;
        int frame;
    };
    // 0.1 lies just below frame 9: 90 * (10 * 0.01f) truncates to 8.
    for (const Case c : {Case{0.0f, 0}, Case{0.1f, 8}, Case{0.5f, 45}, Case{1.0f, 90}})
        EXPECT_EQ(KnobMath::FrameOf(91, KnobMath::PositionOf(c.value)), c.frame) << c.value;
}

TEST(KnobMath, StepsClampToTheRangeAndNanGoesToZero) {
    struct Case {
        float position, delta, result;
    };
    const Case cases[] = {{50.0f, 1.0f, 51.0f},
                          {99.5f, 3.0f, 100.0f},
                          {0.5f, -3.0f, 0.0f},
                          {150.0f, 0.0f, 100.0f},
                          {-5.0f, 1.0f, 0.0f},
                          {10.0f, 0.1f, 10.1f},
                          {std::numeric_limits<float>::quiet_NaN(), 1.0f, 0.0f}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(KnobMath::Step(c.position, c.delta), c.result) << c.position << c.delta;
}

TEST(KnobMath, DragAndWheelSteps) {
    // Up increases; a hundred pixels cover the range, a tenth as far with Shift.
    EXPECT_FLOAT_EQ(KnobMath::DragDelta(150, 50, {}), 100.0f);
    EXPECT_FLOAT_EQ(KnobMath::DragDelta(50, 150, {}), -100.0f);
    EXPECT_FLOAT_EQ(KnobMath::DragDelta(150, 50, {true, false}), 10.0f);
    EXPECT_FLOAT_EQ(KnobMath::WheelStep(true, {}), 1.0f);
    EXPECT_FLOAT_EQ(KnobMath::WheelStep(false, {}), -1.0f);
    EXPECT_FLOAT_EQ(KnobMath::WheelStep(false, {true, false}), -0.1f);
}

TEST(SwitchMath, ValuesAndPositionsRoundTrip) {
    for (int position = 0; position < 4; ++position)
        EXPECT_EQ(SwitchMath::PositionOf(SwitchMath::ValueOf(position, 4), 4), position);
    struct Case {
        float value;
        int position;
    };
    const Case cases[] = {{0.0f, 0}, {0.24f, 0}, {0.26f, 1}, {1.0f, 3}, {-1.0f, 0}, {7.0f, 3}};
    for (const Case& c : cases)
        EXPECT_EQ(SwitchMath::PositionOf(c.value, 4), c.position) << c.value;
    EXPECT_EQ(SwitchMath::PositionOf(0.5f, 0), -1);
    EXPECT_EQ(SwitchMath::ValueOf(0, 1), 0.0f);
}

TEST(SwitchMath, VerticalSlicesRunBottomUpWithTheRemainderAtTheTop) {
    const auto slices = SwitchMath::Slices(20, 66, 4, true);
    ASSERT_EQ(slices.size(), 4u);
    EXPECT_EQ(slices[0].top, 50);
    EXPECT_EQ(slices[0].bottom, 66);
    EXPECT_EQ(slices[3].top, 2);
    struct Case {
        int y, position;
    };
    for (const Case c :
         {Case{60, 0}, Case{40, 1}, Case{20, 2}, Case{5, 3}, Case{1, -1}, Case{66, -1}})
        EXPECT_EQ(SwitchMath::PositionAt(slices, 10, c.y), c.position) << c.y;
    EXPECT_EQ(SwitchMath::PositionAt(slices, 20, 60), -1);  // right edge is outside
}

TEST(SwitchMath, HorizontalSlicesRunLeftToRight) {
    const auto slices = SwitchMath::Slices(30, 10, 3, false);
    EXPECT_EQ(SwitchMath::PositionAt(slices, 0, 5), 0);
    EXPECT_EQ(SwitchMath::PositionAt(slices, 29, 5), 2);
    EXPECT_TRUE(SwitchMath::Slices(30, 10, 0, false).empty());
}

TEST(SwitchMath, TheWheelStopsAtBothEnds) {
    EXPECT_EQ(SwitchMath::WheelTarget(0, 4, true), 1);
    EXPECT_EQ(SwitchMath::WheelTarget(3, 4, true), 3);
    EXPECT_EQ(SwitchMath::WheelTarget(0, 4, false), 0);
    EXPECT_EQ(SwitchMath::WheelTarget(2, 4, false), 1);
}

}  // namespace
