#pragma once

namespace SynthToolkit::Parameters {

// working value = v.
struct LinearTransform {
    static float toWorking(float v) { return v; }
};

}  // namespace SynthToolkit::Parameters
