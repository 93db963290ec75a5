// The stability verdict and the render length, on the tree's SynthToolkit plug-in, whose
// signal path stays stable at every rate.
#include "tests/stress/StabilityRender.h"

#include <gtest/gtest.h>

#include <limits>

namespace Stress {
namespace {

StabilityCase healthy() {
    StabilityCase c;
    c.frames = 1000;
    c.peak = 0.5f;
    c.firstRms = 0.2;
    c.lastRms = 0.2;
    return c;
}

TEST(StabilityVerdict, FailsOnPeakGrowthAndBrokenRuns) {
    const StabilityOptions options;  // limit 1.0, growth 1.25
    struct Case {
        const char* what;
        void (*change)(StabilityCase&);
        bool passes;
    };
    const Case cases[] = {
        {"healthy", [](StabilityCase&) {}, true},
        {"peak just below the limit", [](StabilityCase& c) { c.peak = 0.999f; }, true},
        {"peak at the limit", [](StabilityCase& c) { c.peak = 1.0f; }, false},
        {"growth below the limit", [](StabilityCase& c) { c.lastRms = 0.24; }, true},
        {"growth above the limit", [](StabilityCase& c) { c.lastRms = 0.26; }, false},
        {"shrinking output", [](StabilityCase& c) { c.lastRms = 0.01; }, true},
        {"silent start, then output", [](StabilityCase& c) { c.firstRms = 0.0; }, false},
        {"silent throughout",
         [](StabilityCase& c) {
             c.firstRms = 0.0;
             c.lastRms = 0.0;
         },
         true},
        {"one non-finite sample", [](StabilityCase& c) { c.nonFiniteSamples = 1; }, false},
        {"nothing rendered", [](StabilityCase& c) { c.frames = 0; }, false},
        {"instance failed", [](StabilityCase& c) { c.error = "refused"; }, false},
    };
    for (const Case& c : cases) {
        StabilityCase result = healthy();
        c.change(result);
        EXPECT_EQ(result.passed(options), c.passes) << c.what << ": " << result.describe(options);
    }
}

TEST(StabilityRender, RendersTheAskedLengthAtTheInputLevel) {
    VstHost::PluginLibrary library;
    ASSERT_TRUE(library.load(QC_CORVANE_X86_PATH)) << library.error();
    StabilityOptions options;
    options.frames = 100000;
    for (Order order : {Order::RateFirst, Order::ParametersFirst}) {
        const StabilityCase both = renderCase(library, 44100.0f, "Both", order, options);
        EXPECT_TRUE(both.passed(options)) << both.describe(options);
        EXPECT_EQ(both.frames, 100000u);
        // Noise of peak 0.43 has an RMS of 0.43 / sqrt(3); "Both" keeps about that level.
        EXPECT_NEAR(both.firstRms, 0.248, 0.08) << both.describe(options);
    }
    options.audioMinutes = 0.01;
    const StabilityCase low = renderCase(library, 8000.0f, "Low", Order::RateFirst, options);
    EXPECT_EQ(low.frames, 4800u);
    EXPECT_TRUE(low.passed(options)) << low.describe(options);
}

}  // namespace
}  // namespace Stress
