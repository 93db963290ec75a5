// The module instance handle the system gave the DLL's entry routine; the editor finds its
// resources through it. Null in programs that link the effect directly (tests, benchmarks).
#pragma once

#if defined(_WIN32)
#include <windows.h>

namespace QuellinCorvaneX86 {
HINSTANCE moduleInstance();
void setModuleInstance(HINSTANCE instance);
}  // namespace QuellinCorvaneX86
#endif
