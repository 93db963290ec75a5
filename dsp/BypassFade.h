// A bypass switch that crossfades instead of clicking: from the processed signal to the dry one
// over a fixed number of frames, and back the same way. At either end the mix is not computed
// but copied, so a settled bypass passes the input bit for bit and a settled effect passes the
// processed signal untouched.
#pragma once

#include <algorithm>

namespace Dsp {

class BypassFade {
public:
    static constexpr double kFadeSeconds = 0.005;

    // The fade's length for a sample rate; rates that are not positive finite numbers keep the
    // previous length. Keeps the position as a fraction, rounded.
    void SetSampleRate(double rate) {
        if (!(rate > 0.0) || rate > 1.0e7) return;
        const int frames = std::max(1, static_cast<int>(rate * kFadeSeconds + 0.5));
        position = static_cast<int>(static_cast<long long>(position) * frames / length);
        length = frames;
    }
    void SetBypassed(bool bypassed) { target = bypassed; }
    // Takes the state at once, without a fade: for a start with nothing heard before it.
    void Settle(bool bypassed) {
        target = bypassed;
        position = bypassed ? length : 0;
    }
    bool IsBypassed() const { return target; }
    int Length() const { return length; }
    // The processed signal passes untouched: no fade is under way and bypass is off.
    bool IsProcessing() const { return !target && position == 0; }

    // wet[c][i] becomes the mix of wet and dry for count frames of channels channels, moving one
    // step towards the target per frame.
    void Mix(const float* const* dry, float* const* wet, int channels, int count) {
        for (int i = 0; i < count; ++i) {
            position = target ? std::min(position + 1, length) : std::max(position - 1, 0);
            if (position == 0) continue;
            if (position == length) {
                for (int c = 0; c < channels; ++c) wet[c][i] = dry[c][i];
                continue;
            }
            const float g = static_cast<float>(position) / static_cast<float>(length);
            for (int c = 0; c < channels; ++c) wet[c][i] += (dry[c][i] - wet[c][i]) * g;
        }
    }

private:
    int length = 221;  // 5 ms at 44.1 kHz
    int position = 0;  // 0: processed only, length: dry only
    bool target = false;
};

}  // namespace Dsp
