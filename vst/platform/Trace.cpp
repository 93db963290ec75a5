#include "vst/platform/Trace.h"

#if defined(_WIN32)
#include <windows.h>

namespace Platform {
void Trace(const char* line) {
    OutputDebugStringA(line);
}
}  // namespace Platform

#else
#include <atomic>

namespace Platform {
namespace {
std::atomic<TraceSink> traceSink{nullptr};
}

void Trace(const char* line) {
    if (TraceSink sink = traceSink.load(std::memory_order_relaxed)) sink(line);
}

void SetTraceSink(TraceSink sink) {
    traceSink.store(sink, std::memory_order_relaxed);
}
}  // namespace Platform
#endif
