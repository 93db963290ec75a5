#include "tools/validate/Memory.h"

#if defined(_WIN32)
// windows.h first: psapi.h builds on its types.
#include <windows.h>

#include <psapi.h>
#else
#include <unistd.h>

#include <cstdio>
#endif

namespace Validate {

long ResidentBytes() {
#if defined(_WIN32)
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) return 0;
    return static_cast<long>(counters.WorkingSetSize);
#else
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) return 0;
    long size = 0, resident = 0;
    const int got = std::fscanf(statm, "%ld %ld", &size, &resident);
    std::fclose(statm);
    return got == 2 ? resident * sysconf(_SC_PAGESIZE) : 0;
#endif
}

}  // namespace Validate
