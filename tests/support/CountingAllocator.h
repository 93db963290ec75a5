// Replaces the global allocator with one that counts, for tests that prove a code path does not
// allocate. Include it in exactly one file of a test executable: it defines the replacements.
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

namespace TestSupport {

inline std::atomic<long> allocationCounter{0};

inline long allocationCount() {
    return allocationCounter.load();
}

// True when the replacement is really the one in use (the build could have elided it).
inline bool countingAllocatorActive() {
    const long before = allocationCount();
    // Through a volatile pointer, so the pair cannot be optimised away.
    int* volatile sample = new int(1);
    delete sample;
    return allocationCount() == before + 1;
}

}  // namespace TestSupport

// The replacements pair malloc with free on purpose.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    TestSupport::allocationCounter.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size != 0 ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
// The nothrow forms too: a plug-in that makes its objects with them deletes them with the plain
// operator delete below, and the two must agree.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    TestSupport::allocationCounter.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size != 0 ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
