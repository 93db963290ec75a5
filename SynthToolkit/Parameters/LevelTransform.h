#pragma once

#include <cmath>

namespace SynthToolkit::Parameters {

// working value = 10^(((v + v - 1) * N) * 0.05): a linear gain from -N dB (v = 0) through 0 dB
// (v = 0.5) to +N dB (v = 1).
template <int N>
struct LevelTransform {
    static float toWorking(float v) {
        const double decibels = (static_cast<double>(v + v - 1.0f) * N) * 0.05;
        return static_cast<float>(std::pow(10.0, decibels));
    }
};

}  // namespace SynthToolkit::Parameters
