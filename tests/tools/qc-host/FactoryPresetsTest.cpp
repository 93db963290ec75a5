// Every factory preset loads, the way a host loads it, into each build this process can load
// (the x64 build and the x86 code's x86-64 twin, or in a 32-bit process the x86 build itself),
// and arrives with its name and values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "tools/qc-host/Session.h"

namespace {

struct Expected {
    const char* file;
    const char* name;
    float values[5];          // Out, CutFrq, Slope, Spread, Amp
    const char* displays[5];  // as the x64 build shows them
};

const Expected kPresets[] = {
    {"mono-bass-120hz",
     "Mono Bass 120 Hz",
     {0.875f, 0.109545f, 0.125f, 0.0f, 0.5f},
     {"Both", "120.00", "-6", "0", "0.00"}},
    {"mono-sub-80hz",
     "Mono Sub 80 Hz",
     {0.875f, 0.08944f, 0.125f, 0.0f, 0.5f},
     {"Both", "80.00", "-6", "0", "0.00"}},
    {"bass-lift-3db",
     "Bass Lift +3 dB",
     {0.875f, 0.109545f, 0.375f, 1.0f, 0.65f},
     {"Both", "120.00", "-12", "100", "3.00"}},
    {"high-band-only-150hz",
     "High Band Only 150 Hz",
     {0.625f, 0.122474f, 0.125f, 1.0f, 0.5f},
     {"High", "150.00", "-6", "100", "0.00"}},
    {"low-band-solo-100hz",
     "Low Band Solo 100 Hz",
     {0.375f, 0.1f, 0.875f, 1.0f, 0.5f},
     {"Low", "100.00", "-24", "100", "0.00"}},
    {"narrow-low-end-200hz",
     "Narrow Low End 200 Hz",
     {0.875f, 0.14142f, 0.125f, 0.5f, 0.449f},
     {"Both", "200.00", "-6", "50", "-1.02"}},
};

bool exists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

std::string presetPath(const std::string& file) {
    return std::string(QC_PRESETS_DIR) + "/" + file;
}

class FactoryPresets : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (!exists(GetParam())) GTEST_SKIP() << GetParam() << " is not built";
        std::string error;
        ASSERT_TRUE(session.open(GetParam(), error)) << error;
    }
    bool isX64() const {
#ifdef QC_PLUGIN_X64
        return std::string(GetParam()) == QC_PLUGIN_X64;
#else
        return false;
#endif
    }

    void expectProgram(const Expected& p) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(session.programName(), p.name);
        for (int i = 0; i < 5; ++i) {
            EXPECT_NEAR(session.vst().getParameter(i), p.values[i], 1e-6f) << "parameter " << i;
            if (isX64()) {
                EXPECT_EQ(session.paramDisplay(i), p.displays[i]) << "parameter " << i;
            }
        }
    }

    QcHost::Session session;
};

TEST_P(FactoryPresets, EachProgramFileLoads) {
    for (const auto& p : kPresets) {
        std::string error;
        ASSERT_TRUE(session.loadPreset(presetPath(std::string(p.file) + ".fxp"), error)) << error;
        expectProgram(p);
    }
}

TEST_P(FactoryPresets, TheBankHoldsThemAllInItsFirstPrograms) {
    std::string error;
    ASSERT_TRUE(session.loadPreset(presetPath("QuellinCorvane-Factory.fxb"), error)) << error;
    EXPECT_EQ(session.vst().dispatch(effGetProgram), 0);
    for (std::size_t i = 0; i < std::size(kPresets); ++i) {
        session.vst().dispatch(effSetProgram, 0, static_cast<VstIntPtr>(i));
        expectProgram(kPresets[i]);
    }
    session.vst().dispatch(effSetProgram, 0, 6);
    EXPECT_EQ(session.programName(), "Blank") << "the programs after the presets stay blank";
}

#ifdef QC_PLUGIN_X64
INSTANTIATE_TEST_SUITE_P(Builds, FactoryPresets, ::testing::Values(QC_PLUGIN_X64, QC_PLUGIN_X86),
                         [](const auto& test) { return test.index == 0 ? "X64" : "X86Twin"; });
#else
INSTANTIATE_TEST_SUITE_P(Builds, FactoryPresets, ::testing::Values(QC_PLUGIN_X86),
                         [](const auto&) { return "X86"; });
#endif

}  // namespace
