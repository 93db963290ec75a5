// Unit labels, at most 7 characters each.
#pragma once

namespace SynthToolkit::Parameters {

// "Hz".
struct FrequencyLabel {
    static const char* text() { return "Hz"; }
};

// "dB".
struct DecibelLabel {
    static const char* text() { return "dB"; }
};

// "" (no unit).
struct NullLabel {
    static const char* text() { return ""; }
};

}  // namespace SynthToolkit::Parameters
