// The numbers the demo's table shows for one render: levels in and out, how alike the two
// channels' low bands are, and how far two renders of the same input lie apart.
#pragma once

#include <string>

#include "tools/qc-host/Wav.h"

namespace QcHost {

struct Levels {
    double rmsDb = 0.0;   // over both channels, dBFS
    double peakDb = 0.0;  // largest absolute sample, dBFS
};

Levels measureLevels(const Audio& audio);
// Correlation of the two channels below bandHz (a fourth-order Butterworth low-pass): 1 when
// the low band is mono, 0 when the channels are unrelated there, -1 when opposite. A single
// channel counts as 1, silence as 0.
double lowBandCorrelation(const Audio& audio, double bandHz);
// The largest absolute sample difference, or a negative number when the shapes differ.
double largestDifference(const Audio& a, const Audio& b);

// A stereo demo signal: a wide bass line over a wide sub, a mono kick, a wide pad and hats.
Audio makeDemoSignal(double seconds, int rate);

}  // namespace QcHost
