// Trace lines for the debugger. On Windows they go to OutputDebugStringA while a debugger is
// attached; elsewhere they are dropped unless a test installs a sink. Tracing carries no
// behaviour.
#pragma once

namespace Platform {

void Trace(const char* line);

#if !defined(_WIN32)
using TraceSink = void (*)(const char* line);
// Installs a sink for trace lines (null restores silence). Not for the audio thread.
void SetTraceSink(TraceSink sink);
#endif

}  // namespace Platform
