// The glide of the smoother and the services that drive it.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "SynthToolkit/Parameters/Smoother.h"
#include "SynthToolkit/ServiceDispatcher.h"

using SynthToolkit::ServiceDispatcher;
using namespace SynthToolkit::Parameters;

namespace {

std::vector<float> span(const Smoother& s, int frames) {
    return std::vector<float>(s.buffer(), s.buffer() + frames);
}

TEST(Smoother, RisesToTheTargetWithoutOvershootAndEndsExactlyOnIt) {
    ServiceDispatcher services;
    Smoother s(&services);
    s.setTarget(1.0f);
    float previous = 0.0f;
    int spans = 0;
    bool arrivedInsideSpan = false;
    while (s.state() == Ramping && spans < 100) {
        services.smoothAll(4096);
        const auto values = span(s, 4096);
        for (float v : values) {
            ASSERT_GE(v, previous);
            ASSERT_LE(v, 1.0f);
            previous = v;
        }
        if (s.state() == Arrived) {
            arrivedInsideSpan = values.back() == 1.0f;
        }
        ++spans;
    }
    EXPECT_TRUE(arrivedInsideSpan);
    // About 0.1 s time constant: well past half way after 0.1 s, done within a second.
    EXPECT_GT(spans, 1);
    EXPECT_LT(spans, 12);
    services.smoothAll(100);
    EXPECT_EQ(s.state(), Steady);
    EXPECT_EQ(s.current(), 1.0f);
    for (float v : span(s, 100)) ASSERT_EQ(v, 1.0f);
}

TEST(Smoother, ReachesLargeTargetsThatFloatStepsCannotResolve) {
    // Near 3.16 (10 dB of gain) the last steps are smaller than half a unit in the last place.
    ServiceDispatcher services;
    Smoother s(&services);
    s.setTarget(3.1622777f);
    for (int k = 0; k < 40 && s.state() != Steady; ++k) services.smoothAll(16384);
    EXPECT_EQ(s.state(), Steady);
    EXPECT_EQ(s.buffer()[16383], 3.1622777f);
}

TEST(Smoother, ATargetEqualToTheCurrentValueArrivesAtOnce) {
    ServiceDispatcher services;
    Smoother s(&services);
    s.setTarget(0.0f);
    EXPECT_EQ(s.state(), Ramping);
    services.smoothAll(32);
    EXPECT_EQ(s.state(), Arrived);
    services.smoothAll(32);
    EXPECT_EQ(s.state(), Steady);
    for (float v : span(s, 32)) EXPECT_EQ(v, 0.0f);
}

TEST(Smoother, ReversalMidGlideNeverPassesTheNewTarget) {
    ServiceDispatcher services;
    Smoother s(&services);
    s.setTarget(1.0f);
    services.smoothAll(8000);
    const float reached = s.current();
    ASSERT_GT(reached, 0.5f);
    s.setTarget(0.25f);
    float previous = reached;
    for (int k = 0; k < 20; ++k) {
        services.smoothAll(2048);
        for (float v : span(s, 2048)) {
            ASSERT_LE(v, previous);
            ASSERT_GE(v, 0.25f);
            previous = v;
        }
    }
    EXPECT_EQ(s.current(), 0.25f);
}

TEST(Smoother, ResetJumpsToTheTarget) {
    ServiceDispatcher services;
    Smoother s(&services);
    s.setTarget(0.8f);
    services.smoothAll(100);
    services.resetAll();
    EXPECT_EQ(s.state(), Steady);
    // Steady spans of any length read the target, also where a glide wrote before.
    for (int frames : {512, 16, 16384, 20000}) {
        services.smoothAll(frames);
        for (float v : span(s, frames < 16384 ? frames : 16384)) ASSERT_EQ(v, 0.8f);
    }
}

TEST(Smoother, BadRequestsChangeNothing) {
    ServiceDispatcher services;
    Smoother s(&services);
    s.setTarget(0.5f);
    s.setTarget(std::nanf(""));
    EXPECT_EQ(s.target(), 0.5f);
    s.smooth(0);
    s.smooth(-7);
    EXPECT_EQ(s.state(), Ramping);
    EXPECT_EQ(s.current(), 0.0f);
    s.smooth(1 << 20);  // more than the buffer: one buffer's worth
    EXPECT_GT(s.current(), 0.0f);
}

TEST(Smoother, CoefficientFollowsTheProvidersRate) {
    ServiceDispatcher services;
    Smoother s(&services);
    EXPECT_NEAR(s.coefficient(), 2.2671e-4f, 1e-7f);
    services.setSampleRate(48000.0f);
    EXPECT_NEAR(s.coefficient(), 2.0829e-4f, 1e-7f);
}

// Counts notifications.
struct RateProbe : SynthToolkit::ISampleRateObserver, SynthToolkit::IResettable {
    explicit RateProbe(std::vector<int>& sharedOrder, int tag) : order(sharedOrder), id(tag) {}
    void sampleRateChanged(float rate) override {
        order.push_back(id);
        last = rate;
    }
    void reset() override { order.push_back(-id); }
    std::vector<int>& order;
    int id;
    float last = 0.0f;
};

TEST(ServiceDispatcher, NotifiesOnlyRealChangesInRegistrationOrder) {
    ServiceDispatcher services;
    std::vector<int> order;
    RateProbe a(order, 1), b(order, 2);
    services.addSampleRateObserver(&a);
    services.addSampleRateObserver(&b);
    services.addSampleRateObserver(&a);
    services.setSampleRate(44100.0f);  // already stored
    EXPECT_TRUE(order.empty());
    services.setSampleRate(96000.0f);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 1}));
    EXPECT_EQ(b.last, 96000.0f);
    order.clear();
    services.removeSampleRateObserver(&a);
    for (float bad : {0.0f, -44100.0f, std::nanf(""), INFINITY}) services.setSampleRate(bad);
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(services.currentSampleRate(), 96000.0f);
    services.setSampleRate(22050.0f);
    EXPECT_EQ(order, (std::vector<int>{2}));

    order.clear();
    services.addResettable(&b);
    services.addResettable(&a);
    services.resetAll();
    EXPECT_EQ(order, (std::vector<int>{-2, -1}));
}

struct TimeProbe : SynthToolkit::ITempoObserver, SynthToolkit::ISongPositionObserver {
    void tempoChanged(float) override { ++tempoCalls; }
    void songPositionChanged(float) override { ++positionCalls; }
    int tempoCalls = 0, positionCalls = 0;
};

TEST(ServiceDispatcher, TempoAndPositionFollowTheSameRule) {
    ServiceDispatcher services;
    TimeProbe probe;
    services.addTempoObserver(&probe);
    services.addSongPositionObserver(&probe);
    EXPECT_EQ(services.currentTempo(), 120.0f);
    services.setTempo(120.0f);
    services.setTempo(140.0f);
    services.setTempo(std::nanf(""));
    services.setSongPosition(0.0f);  // the first position always counts
    services.setSongPosition(0.0f);
    services.setSongPosition(4.5f);
    EXPECT_EQ(probe.tempoCalls, 1);
    EXPECT_EQ(probe.positionCalls, 2);
    EXPECT_EQ(services.currentSongPosition(), 4.5f);
}

}  // namespace
