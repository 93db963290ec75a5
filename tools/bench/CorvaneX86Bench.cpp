// processReplacing of the SynthToolkit build through its AEffect record, for every output mode
// and slope at three block sizes, next to a straightforward per-sample rendering of the same
// formulas.
#include <cmath>
#include <string>
#include <vector>

#include "tools/bench/SignalPathBench.h"

namespace {

// The signal path written the plain way: one sample at a time, everything decided per sample,
// spread and gain read from per-sample arrays as the smoothers provide them.
class Reference {
public:
    Reference(int outputMode, int slopeIndex, int frames)
        : mode(outputMode), slope(slopeIndex), spread(frames, 0.5f), gain(frames, 1.0f) {
        coefficient = static_cast<float>(1.0 - std::exp(100.0 / 44100.0 * -6.283185));
    }

    void render(const float* inL, const float* inR, float* outL, float* outR, int frames) {
        for (int i = 0; i < frames; ++i) {
            const float in[2] = {inL[i], inR[i]};
            if (mode == 0) {
                outL[i] = in[0];
                outR[i] = in[1];
                continue;
            }
            float low[2];
            for (int c = 0; c < 2; ++c) {
                low[c] = in[c];
                for (int k = 0; k <= slope; ++k) {
                    state[c][k] = state[c][k] + (low[c] - state[c][k]) * coefficient + 1e-25f;
                    low[c] = state[c][k];
                }
            }
            const float s = spread[static_cast<std::size_t>(i)];
            const float g = gain[static_cast<std::size_t>(i)];
            const float h = (s + 1.0f) * 0.5f;
            const float treatedL = (((1.0f - s) * low[1]) + low[0]) * g * h;
            const float treatedR = (((1.0f - s) * low[0]) + low[1]) * g * h;
            switch (mode) {
                case 1:
                    outL[i] = treatedL;
                    outR[i] = treatedR;
                    break;
                case 2:
                    outL[i] = in[0] - low[0];
                    outR[i] = in[1] - low[1];
                    break;
                default: outL[i] = treatedL + in[0] - low[0]; outR[i] = in[1] - low[1] + treatedR;
            }
        }
    }

private:
    int mode, slope;
    std::vector<float> spread, gain;
    float coefficient;
    float state[2][4] = {};
};

}  // namespace

int main(int argc, char** argv) {
    return Bench::runModeSlopeCases<Reference>(argc, argv);
}
