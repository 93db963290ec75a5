#include "tests/stress/Signal.h"

#include <cmath>

namespace Stress {

void OutputWatch::addBlock(const float* const* channels, int channelCount, int frames) {
    bool bad = false;
    for (int c = 0; c < channelCount; ++c) {
        for (int i = 0; i < frames; ++i) {
            const float sample = channels[c][i];
            if (!std::isfinite(sample)) {
                ++nonFiniteCount;
                bad = true;
                continue;
            }
            const float magnitude = std::fabs(sample);
            if (magnitude > largestMagnitude) largestMagnitude = magnitude;
            if (magnitude > limit) bad = true;
        }
    }
    if (bad) {
        if (firstBad < 0) firstBad = static_cast<std::int64_t>(blockCount);
        ++badBlockCount;
    }
    ++blockCount;
}

}  // namespace Stress
