// The hand-over of user-interface changes to the render state: what a take hands over, in which
// order, and that it never hands over half a group, also with two threads at once.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <ostream>
#include <string>
#include <thread>

#include "VstToolkit/RenderHandOver.h"

using VstToolkit::ChangeGroup;
using VstToolkit::RenderHandOver;

namespace {

constexpr int kParameters = 3;

// The document both threads read, and a log of what the render side was handed.
struct Target {
    std::atomic<float> values[kParameters] = {};
    std::atomic<float> rate{44100.0f};
    std::string log;

    float GetParameterValue(int index) const { return values[index].load(); }
    float GetSampleRate() const { return rate.load(); }
    void ApplyProgramChange() { log += "program "; }
    void ApplyParameterValue(int index, float value) {
        log += std::to_string(index) + "=" + std::to_string(static_cast<int>(value)) + " ";
    }
    void ApplySampleRate(float value) {
        log += "rate=" + std::to_string(static_cast<int>(value)) + " ";
    }
};

struct HandOverCase {
    const char* name;
    std::function<void(RenderHandOver&, Target&)> changes;  // on the user-interface side
    const char* log;
};

void PrintTo(const HandOverCase& test, std::ostream* out) {
    *out << test.name;
}

void set(RenderHandOver& handOver, Target& target, int index, float value) {
    ChangeGroup group(handOver);
    target.values[index] = value;
    handOver.StampParameter(index);
}

const HandOverCase kCases[] = {
    {"NothingStamped", [](RenderHandOver&, Target&) {}, ""},
    {"OneParameter", [](RenderHandOver& h, Target& t) { set(h, t, 1, 5.0f); }, "1=5 "},
    {"InTheOrderMade",
     [](RenderHandOver& h, Target& t) {
         set(h, t, 2, 7.0f);
         ChangeGroup group(h);
         t.rate = 16000.0f;
         h.StampSampleRate();
         set(h, t, 0, 3.0f);
     },
     "2=7 rate=16000 0=3 "},
    {"TwiceOnceAtTheLatestPlaceWithTheLatestValue",
     [](RenderHandOver& h, Target& t) {
         set(h, t, 0, 1.0f);
         set(h, t, 1, 2.0f);
         set(h, t, 0, 4.0f);
     },
     "1=2 0=4 "},
    {"ProgramChangeThenEveryParameter",
     [](RenderHandOver& h, Target& t) {
         ChangeGroup group(h);
         t.values[0] = 1.0f;
         t.values[1] = 2.0f;
         t.values[2] = 3.0f;
         h.StampProgramChange();
         h.StampEveryParameter();
     },
     "program 0=1 1=2 2=3 "},
};

class HandOver : public ::testing::TestWithParam<HandOverCase> {};

TEST_P(HandOver, TakesEveryStampedChangeOfOneState) {
    RenderHandOver handOver(kParameters);
    Target target;
    GetParam().changes(handOver, target);
    EXPECT_TRUE(handOver.Take(target));
    EXPECT_EQ(target.log, GetParam().log);
    target.log.clear();
    EXPECT_TRUE(handOver.Take(target));
    EXPECT_EQ(target.log, "") << "what was taken is not taken again";
}

INSTANTIATE_TEST_SUITE_P(RenderHandOver, HandOver, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(RenderHandOver, TakesNothingUntilTheOutermostGroupEnds) {
    RenderHandOver handOver(kParameters);
    Target target;
    handOver.Begin();
    set(handOver, target, 1, 9.0f);  // nested groups end, the outer one is still under way
    set(handOver, target, 2, 8.0f);
    EXPECT_FALSE(handOver.Take(target));
    EXPECT_EQ(target.log, "");
    handOver.End();
    EXPECT_TRUE(handOver.Take(target));
    EXPECT_EQ(target.log, "1=9 2=8 ");
}

// Two parameters that only make sense together, changed as one on one thread while another
// takes: no take may hand over one without the other. Under ThreadSanitizer this also proves
// the hand-over free of data races.
TEST(RenderHandOver, NeverHandsOverHalfAGroupToAnotherThread) {
    RenderHandOver handOver(2);
    struct PairTarget {
        std::atomic<float> values[2] = {};
        float applied[2] = {};
        float GetParameterValue(int index) const { return values[index].load(); }
        float GetSampleRate() const { return 0.0f; }
        void ApplyProgramChange() {}
        void ApplyParameterValue(int index, float value) { applied[index] = value; }
        void ApplySampleRate(float) {}
    } target;
    std::atomic<int> takes{0};
    std::atomic<bool> stop{false};
    std::thread interface([&] {
        for (float round = 1.0f; !stop.load(); round += 1.0f) {
            {
                ChangeGroup group(handOver);
                target.values[0] = round;
                handOver.StampParameter(0);
                target.values[1] = -round;
                handOver.StampParameter(1);
            }
            // The next group starts once a take got in between: a stream of groups without
            // a gap would keep every take waiting, which no user manages.
            for (const int before = takes.load(); takes.load() == before && !stop.load();)
                std::this_thread::yield();
        }
    });
    int mixed = 0;
    for (int groups = 0; groups < 300;) {
        const float before = target.applied[0];
        if (!handOver.Take(target)) continue;
        ++takes;
        if (target.applied[0] != -target.applied[1]) ++mixed;
        if (target.applied[0] != before) ++groups;
    }
    stop = true;
    interface.join();
    EXPECT_EQ(mixed, 0);
}

}  // namespace
