// The Model's map from MIDI controller number to global parameter index. The effect of this
// product assigns no entry; the map is there for effects that do.
#pragma once

namespace SynthToolkit::Midi {

class ControllerMapper {
public:
    static constexpr int kControllerCount = 128;
    static constexpr int kNone = -1;

    ControllerMapper() {
        for (int& entry : parameterOfController) entry = kNone;
    }

    // The parameter bound to a controller number, kNone for numbers outside 0..127 or unbound.
    int mappedParameter(int controller) const {
        return controller >= 0 && controller < kControllerCount ? parameterOfController[controller]
                                                                : kNone;
    }
    // Numbers outside 0..127 are ignored; kNone unbinds.
    void setMapping(int controller, int parameter) {
        if (controller >= 0 && controller < kControllerCount)
            parameterOfController[controller] = parameter < 0 ? kNone : parameter;
    }

private:
    int parameterOfController[kControllerCount];
};

}  // namespace SynthToolkit::Midi
