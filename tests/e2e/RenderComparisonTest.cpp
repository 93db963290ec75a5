// Every platform's x64-framework binary renders the same input with the same settings; the
// Linux render is kept on disk, and the Windows run compares its own against it.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/e2e/PluginFixture.h"

namespace {

const char* const kPath = QC_CORVANE_X64_PATH;
using CorvaneX64Render = TestSupport::PluginFixture<&kPath>;

std::string renderFile(const char* target) {
    return std::string(QC_RENDER_DIR) + "/corvane-x64-" + target + ".f32";
}

// Each mode and slope, spreads, gains and cutoffs across the range, at two sample rates.
std::vector<float> renderAllSettings(VstHost::PluginLibrary& library) {
    std::vector<float> left, right, all;
    TestSupport::makeTestSignal(left, right, 4096);
    for (float rate : {44100.0f, 96000.0f})
        for (int mode = 0; mode < 4; ++mode)
            for (int slope = 0; slope < 4; ++slope) {
                VstHost::Host host;
                if (!host.open(library)) return {};
                host.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
                host.setParameter(0, (mode + 0.5f) / 4.0f);
                host.setParameter(1, 0.05f + 0.06f * static_cast<float>(slope + 4 * mode));
                host.setParameter(2, (slope + 0.5f) / 4.0f);
                host.setParameter(3, static_cast<float>(mode) / 3.0f);
                host.setParameter(4, 0.2f * static_cast<float>(slope + 1));
                std::vector<float> outL(left.size()), outR(left.size());
                host.processReplacing({left.data(), right.data()}, {outL.data(), outR.data()},
                                      static_cast<VstInt32>(left.size()), 256);
                all.insert(all.end(), outL.begin(), outL.end());
                all.insert(all.end(), outR.begin(), outR.end());
            }
    return all;
}

TEST_F(CorvaneX64Render, MatchesTheOtherPlatformsBinary) {
    const std::vector<float> mine = renderAllSettings(*library);
    ASSERT_FALSE(mine.empty());
    {
        std::ofstream out(renderFile(QC_TARGET_NAME), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(mine.data()),
                  static_cast<std::streamsize>(mine.size() * sizeof(float)));
        ASSERT_TRUE(out.good());
    }
    if (std::string(QC_TARGET_NAME) == "linux-x64") GTEST_SKIP() << "the reference render";

    std::ifstream in(renderFile("linux-x64"), std::ios::binary);
    if (!in) GTEST_SKIP() << "no Linux render to compare with yet";
    std::vector<float> reference(mine.size());
    in.read(reinterpret_cast<char*>(reference.data()),
            static_cast<std::streamsize>(reference.size() * sizeof(float)));
    ASSERT_EQ(static_cast<std::size_t>(in.gcount()), reference.size() * sizeof(float));

    double largest = 0.0;
    std::size_t differing = 0;
    for (std::size_t i = 0; i < mine.size(); ++i) {
        const double difference = std::fabs(static_cast<double>(mine[i]) - reference[i]);
        differing += difference != 0.0 ? 1 : 0;
        largest = std::max(largest, difference);
    }
    std::printf("x64 framework, %s against linux-x64: %zu of %zu samples differ, largest %.3g\n",
                QC_TARGET_NAME, differing, mine.size(), largest);
    // The C libraries' sinf, cosf and powf may round a last bit differently; that moves a
    // coefficient by one unit in the last place, which stays far below this.
    EXPECT_LT(largest, 1e-5);
}

}  // namespace
