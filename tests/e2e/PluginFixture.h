// Loads one shipped plug-in binary per test suite and opens a fresh instance for every test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/Signal.h"
#include "tools/host/Host.h"

namespace TestSupport {

template <const char* const* Path>
class PluginFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        library = std::make_unique<VstHost::PluginLibrary>();
        loaded = library->load(*Path);
    }
    static void TearDownTestSuite() { library.reset(); }

    void SetUp() override {
        ASSERT_TRUE(loaded) << library->error();
        ASSERT_TRUE(host.open(*library)) << host.error();
        effect = host.effect();
    }

    // Runs both channels through the plug-in in blocks of blockSize.
    void render(std::vector<float>& left, std::vector<float>& right, std::vector<float>& outL,
                std::vector<float>& outR, VstInt32 blockSize) {
        outL.assign(left.size(), 0.0f);
        outR.assign(right.size(), 0.0f);
        ASSERT_TRUE(host.processReplacing({left.data(), right.data()}, {outL.data(), outR.data()},
                                          static_cast<VstInt32>(left.size()), blockSize));
    }

    static inline std::unique_ptr<VstHost::PluginLibrary> library;
    static inline bool loaded = false;
    VstHost::Host host;
    AEffect* effect = nullptr;
};

}  // namespace TestSupport
