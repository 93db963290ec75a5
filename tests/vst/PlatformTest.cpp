#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "vst/platform/RecursiveLock.h"
#include "vst/platform/Trace.h"

#if !defined(_WIN32)
namespace {
std::string captured;
void capture(const char* line) {
    captured += line;
}
}  // namespace

TEST(Trace, IsSilentUntilASinkIsInstalled) {
    captured.clear();
    Platform::Trace("dropped\r\n");
    Platform::SetTraceSink(capture);
    Platform::Trace("Model::SetParameterValue\r\n");
    Platform::SetTraceSink(nullptr);
    Platform::Trace("dropped again\r\n");
    EXPECT_EQ(captured, "Model::SetParameterValue\r\n");
}
#endif

TEST(RecursiveLock, TheOwnerMayReenterAndOthersWaitUntilFullyReleased) {
    Platform::RecursiveLock lock;
    std::atomic<bool> otherEntered{false};
    std::thread other;
    {
        Platform::ScopedLock outer(lock);
        {
            Platform::ScopedLock inner(lock);  // the owner again: no deadlock
            other = std::thread([&] {
                Platform::ScopedLock held(lock);
                otherEntered = true;
            });
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_FALSE(otherEntered) << "one level is still held";
    }
    other.join();
    EXPECT_TRUE(otherEntered);
}
