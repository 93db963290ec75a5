// The x64 build's binary in what only it does: the interface version it reports and MIDI learn
// bindings. What both builds promise is in BuildContractTest.
#include <cstring>

#include "tests/e2e/PluginFixture.h"
#include "tests/support/ProductFacts.h"

namespace {

const char* const kPath = QC_CORVANE_X64_PATH;
using CorvaneX64 = TestSupport::PluginFixture<&kPath>;

TEST_F(CorvaneX64, ReportsTheInterfaceVersionItImplements) {
    EXPECT_EQ(host.dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(host.dispatch(effIdentify), 0x4E764566);
}

TEST_F(CorvaneX64, ALearnedControllerChangesTheParameterAtItsSampleOffset) {
    // A bank whose binding section ties controller 20 to the cutoff.
    void* data = nullptr;
    const VstIntPtr size = host.dispatch(effGetChunk, 0, 0, &data);
    std::vector<unsigned char> bank(static_cast<unsigned char*>(data),
                                    static_cast<unsigned char*>(data) + size);
    bank.resize(TestSupport::Product::kBindingsOffset);
    const unsigned char bindings[] = {0, 1, 20, 0, 0, 0};
    bank.insert(bank.end(), std::begin(bindings), std::end(bindings));
    ASSERT_EQ(host.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bank.size()), bank.data()), 1);
    host.setParameter(0, 0.3f);  // "Low"

    std::vector<float> left, right, outL, outR;
    TestSupport::makeTestSignal(left, right, 512);
    host.clearCalls();
    host.sendEvents({VstHost::makeControlChange(100, 3, 20, 127)});
    render(left, right, outL, outR, 512);
    EXPECT_EQ(host.getParameter(1), 1.0f);
    const auto automations = host.automations();
    ASSERT_EQ(automations.size(), 1u);
    EXPECT_EQ(automations[0].index, 1);
    EXPECT_EQ(automations[0].value, 1.0f);

    // The same change made by the host between two blocks split at frame 100.
    VstHost::Host reference;
    ASSERT_TRUE(reference.open(*library));
    reference.setParameter(0, 0.3f);
    std::vector<float> refL(512), refR(512);
    ASSERT_TRUE(reference.processReplacing({left.data(), right.data()}, {refL.data(), refR.data()},
                                           100, 100));
    reference.setParameter(1, 1.0f);
    ASSERT_TRUE(reference.processReplacing({left.data() + 100, right.data() + 100},
                                           {refL.data() + 100, refR.data() + 100}, 412, 412));
    EXPECT_EQ(std::memcmp(outL.data(), refL.data(), 512 * 4), 0);
    EXPECT_EQ(std::memcmp(outR.data(), refR.data(), 512 * 4), 0);
}

}  // namespace
