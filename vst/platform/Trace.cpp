#include "vst/platform/Trace.h"

#if defined(_WIN32)
#include <windows.h>

namespace Platform {
// Only for an attached debugger: without one OutputDebugStringA raises and handles an exception
// and may wait for a system-wide listener, microseconds that the audio thread (which traces
// MIDI handling) cannot spend. IsDebuggerPresent only reads the process environment block.
void Trace(const char* line) {
    if (IsDebuggerPresent()) OutputDebugStringA(line);
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
