// Audio channel buffers fenced by marker samples, so a test sees a plug-in that reads or
// writes outside the frames it was given, and can name the first sample that differs.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstring>
#include <optional>
#include <vector>

namespace TestSupport {

class GuardedBuffer {
public:
    // A quiet NaN with a payload no arithmetic produces, compared bit for bit, so neither a
    // stray 0.0f nor a computed NaN passes for an untouched guard.
    static float marker() {
        const unsigned int bits = 0x7FC0BEEFu;
        float value;
        std::memcpy(&value, &bits, sizeof(value));
        return value;
    }

    explicit GuardedBuffer(std::size_t frames, std::size_t guard = 64, float fill = 0.0f)
        : frameCount(frames), guardCount(guard), samples(guard + frames + guard, marker()) {
        this->fill(fill);
    }

    float* data() { return samples.data() + guardCount; }
    const float* data() const { return samples.data() + guardCount; }
    std::size_t size() const { return frameCount; }
    float& operator[](std::size_t i) { return data()[i]; }
    float operator[](std::size_t i) const { return data()[i]; }

    void fill(float value) {
        for (std::size_t i = 0; i < frameCount; ++i) data()[i] = value;
    }
    // A different value at every frame, so a shifted or repeated block shows.
    void fillRamp(float start, float step) {
        for (std::size_t i = 0; i < frameCount; ++i)
            data()[i] = start + step * static_cast<float>(i);
    }

    // The first guard sample that changed, counted from the first frame: negative before the
    // buffer, size() or more after it.
    std::optional<std::ptrdiff_t> firstDamagedGuard() const {
        const float m = marker();
        for (std::size_t i = 0; i < guardCount; ++i) {
            const std::size_t before = guardCount - 1 - i;  // nearest the data first
            if (!sameBits(samples[before], m))
                return static_cast<std::ptrdiff_t>(before) -
                       static_cast<std::ptrdiff_t>(guardCount);
        }
        for (std::size_t i = 0; i < guardCount; ++i)
            if (!sameBits(samples[guardCount + frameCount + i], m))
                return static_cast<std::ptrdiff_t>(frameCount + i);
        return std::nullopt;
    }
    bool guardsIntact() const { return !firstDamagedGuard().has_value(); }

    // The first frame farther than tolerance from expected (which must hold size() values).
    std::optional<std::size_t> firstDifference(const std::vector<float>& expected,
                                               float tolerance = 0.0f) const {
        const std::size_t n = expected.size() < frameCount ? expected.size() : frameCount;
        for (std::size_t i = 0; i < n; ++i) {
            const float got = data()[i];
            if (!(std::fabs(got - expected[i]) <= tolerance) && !sameBits(got, expected[i]))
                return i;
        }
        if (expected.size() != frameCount) return n;
        return std::nullopt;
    }
    std::optional<std::size_t> firstDifference(float expected, float tolerance = 0.0f) const {
        return firstDifference(std::vector<float>(frameCount, expected), tolerance);
    }

private:
    static bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof(float)) == 0; }

    std::size_t frameCount;
    std::size_t guardCount;
    std::vector<float> samples;
};

// Several guarded channels and the pointer list a process call takes.
class GuardedChannels {
public:
    GuardedChannels(std::size_t channels, std::size_t frames, float fill = 0.0f) {
        buffers.reserve(channels);
        for (std::size_t c = 0; c < channels; ++c) buffers.emplace_back(frames, 64, fill);
        for (GuardedBuffer& b : buffers) pointers.push_back(b.data());
    }
    // The pointer list refers into this object's own buffers.
    GuardedChannels(const GuardedChannels&) = delete;
    GuardedChannels& operator=(const GuardedChannels&) = delete;

    GuardedBuffer& operator[](std::size_t channel) { return buffers[channel]; }
    const GuardedBuffer& operator[](std::size_t channel) const { return buffers[channel]; }
    std::size_t channels() const { return buffers.size(); }
    const std::vector<float*>& list() const { return pointers; }

    bool guardsIntact() const {
        for (const GuardedBuffer& b : buffers)
            if (!b.guardsIntact()) return false;
        return true;
    }

private:
    std::vector<GuardedBuffer> buffers;
    std::vector<float*> pointers;
};

}  // namespace TestSupport
