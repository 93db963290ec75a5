// Control runs: the hammer's calls and checks taking turns on one thread, against the tree's
// own plug-ins. Every answer is then legitimate, so any failure reported here is a check
// that would also raise false alarms under concurrency.
#include <gtest/gtest.h>

#include "tests/stress/ThreadHammer.h"

namespace Stress {
namespace {

struct ControlCase {
    const char* plugin;
    Scenario scenario;
    bool bindsControllers;
};

TEST(HammerControl, OneThreadRunsPassEveryCheck) {
    const ControlCase cases[] = {
        {QC_CORVANE_X64_PATH, Scenario::Cutoff, true},
        {QC_CORVANE_X64_PATH, Scenario::Mixed, true},
        {QC_CORVANE_X86_PATH, Scenario::Cutoff, false},
        {QC_CORVANE_X86_PATH, Scenario::Mixed, false},
    };
    for (const ControlCase& c : cases) {
        HammerOptions options;
        options.plugin = c.plugin;
        options.scenario = c.scenario;
        options.seconds = 1.0;
        options.interleaved = true;
        const HammerReport report = runThreadHammer(options);
        const std::string summary = report.summary(options);
        EXPECT_TRUE(report.passed()) << summary;
        EXPECT_EQ(report.controllersBound, c.bindsControllers) << summary;
        // Both sides did real work; how much depends on the machine's load and Wine, not on
        // the plug-in, so the bar is low.
        EXPECT_GT(report.blocks, 10u) << summary;
        EXPECT_GT(report.interfaceCalls, 40u) << summary;
        for (const std::string& example : report.examples) ADD_FAILURE() << example;
    }
}

TEST(HammerControl, ReportsABinaryThatDoesNotLoad) {
    HammerOptions options;
    options.plugin = "no-such-plugin.bin";
    const HammerReport report = runThreadHammer(options);
    EXPECT_FALSE(report.passed());
    EXPECT_FALSE(report.setupError.empty());
    EXPECT_EQ(report.blocks, 0u);
}

}  // namespace
}  // namespace Stress
