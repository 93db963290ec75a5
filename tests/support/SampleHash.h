// A 64-bit FNV-1a hash over rendered samples' bytes, for tests that pin a rendering sample for
// sample against recorded values.
#pragma once

#include <cstdint>
#include <vector>

namespace TestSupport {

constexpr std::uint64_t kSampleHashStart = 0xcbf29ce484222325ull;

inline std::uint64_t HashSamples(std::uint64_t hash, const std::vector<float>& samples) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(samples.data());
    for (std::size_t i = 0; i < samples.size() * sizeof(float); ++i)
        hash = (hash ^ bytes[i]) * 0x100000001b3ull;
    return hash;
}

}  // namespace TestSupport
