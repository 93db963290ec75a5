// processReplacing of the x64 build through its AEffect record, for every output mode and
// slope at three block sizes, next to a straightforward per-sample rendering of the same
// formulas.
#include <math.h>

#include <string>
#include <vector>

#include "tools/bench/SignalPathBench.h"

namespace {

// The signal path written the plain way: one sample at a time, everything decided per sample.
class Reference {
public:
    Reference(int outputMode, int slopeIndex, int) : mode(outputMode), slope(slopeIndex) {
        const float w = (100.0f * 0x1.921fb8p+2f) / 44100.0f;
        a1 = cosf(w) / (sinf(w) + 1.0f);
        b0 = (1.0f - a1) * 0.5f;
    }

    void render(const float* inL, const float* inR, float* outL, float* outR, int frames) {
        for (int i = 0; i < frames; ++i) {
            const float in[2] = {inL[i], inR[i]};
            float low[2];
            for (int c = 0; c < 2; ++c) {
                low[c] = in[c];
                for (int k = 0; k <= slope; ++k) {
                    const float y = (low[c] + x1[c][k]) * b0 + a1 * y1[c][k];
                    x1[c][k] = low[c] + 1e-25f;
                    y1[c][k] = y + 1e-25f;
                    low[c] = y;
                }
            }
            const float h = (spread + 1.0f) * 0.5f;
            const float treatedL = ((1.0f - spread) * low[1] + low[0]) * h * gain;
            const float treatedR = ((1.0f - spread) * low[0] + low[1]) * h * gain;
            switch (mode) {
                case 0:
                    outL[i] = in[0];
                    outR[i] = in[1];
                    break;
                case 1:
                    outL[i] = treatedL;
                    outR[i] = treatedR;
                    break;
                case 2:
                    outL[i] = in[0] - low[0];
                    outR[i] = in[1] - low[1];
                    break;
                default: outL[i] = treatedL + in[0] - low[0]; outR[i] = treatedR + in[1] - low[1];
            }
        }
    }

private:
    int mode, slope;
    float a1, b0, spread = 0.5f, gain = 1.0f;
    float x1[2][4] = {}, y1[2][4] = {};
};

}  // namespace

int main(int argc, char** argv) {
    return Bench::runModeSlopeCases<Reference>(argc, argv);
}
