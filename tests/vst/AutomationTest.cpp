// setParameterAutomated is fixed per deliverable when the base layer is built: one variant
// only tells the host, the other sets the parameter first.
#include <gtest/gtest.h>

#include "tests/vst/ProbeEffect.h"

TEST(SetParameterAutomated, TellsTheHostAndSetsTheParameterOnlyInTheApplyingBuild) {
    RecordingHost host;
    ProbeEffect probe(RecordingHost::callback);
    probe.setParameterAutomated(1, 0.25f);

    ASSERT_EQ(host.count(audioMasterAutomate), 1);
    EXPECT_EQ(host.calls.back().index, 1);
    EXPECT_EQ(host.calls.back().opt, 0.25f);
#if VST_AUTOMATION_SETS_PARAMETER
    EXPECT_EQ(probe.log, std::vector<std::string>{"setParameter 1 0.250000"});
#else
    EXPECT_TRUE(probe.log.empty());
#endif
}
