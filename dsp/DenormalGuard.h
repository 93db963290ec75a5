// Flushes denormal numbers to zero (inputs and results) for as long as it lives, and gives the
// thread its previous mode back afterwards: the host's thread is the host's. x86-64 only, where
// SSE does all single-precision arithmetic; elsewhere it does nothing.
#pragma once

#if defined(__SSE__) || defined(_M_X64)
#include <xmmintrin.h>
#endif

namespace Dsp {

class DenormalGuard {
public:
#if defined(__SSE__) || defined(_M_X64)
    // Flush-to-zero (bit 15) and denormals-are-zero (bit 6) of MXCSR.
    static constexpr unsigned kFlushBits = 0x8040;

    DenormalGuard() : saved(_mm_getcsr()) {
        _mm_setcsr(saved | kFlushBits);
    }
    ~DenormalGuard() {
        _mm_setcsr(saved);
    }

private:
    unsigned saved;
#else
    DenormalGuard() = default;
#endif

public:
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;
};

}  // namespace Dsp
