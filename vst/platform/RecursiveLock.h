// A recursive lock: a critical section on Windows, a recursive mutex elsewhere.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#else
#include <mutex>
#endif

namespace Platform {

class RecursiveLock {
public:
#if defined(_WIN32)
    RecursiveLock() {
        InitializeCriticalSection(&section);
    }
    ~RecursiveLock() {
        DeleteCriticalSection(&section);
    }
    void lock() {
        EnterCriticalSection(&section);
    }
    void unlock() {
        LeaveCriticalSection(&section);
    }
#else
    RecursiveLock() = default;
    void lock() {
        mutex.lock();
    }
    void unlock() {
        mutex.unlock();
    }
#endif
    RecursiveLock(const RecursiveLock&) = delete;
    RecursiveLock& operator=(const RecursiveLock&) = delete;

private:
#if defined(_WIN32)
    CRITICAL_SECTION section;
#else
    std::recursive_mutex mutex;
#endif
};

// Holds a lock for one scope.
class ScopedLock {
public:
    explicit ScopedLock(RecursiveLock& lock) : held(lock) { held.lock(); }
    ~ScopedLock() { held.unlock(); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    RecursiveLock& held;
};

}  // namespace Platform
