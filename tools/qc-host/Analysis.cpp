#include "tools/qc-host/Analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace QcHost {
namespace {

constexpr double kPi = 3.14159265358979323846;

double toDb(double v) {
    return v > 0.0 ? 20.0 * std::log10(v) : -200.0;
}

// A low-pass biquad from the well-known cookbook formulas, run in double precision.
struct Biquad {
    Biquad(double frequency, double q, double rate) {
        const double w = 2.0 * kPi * frequency / rate;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        b0 = (1.0 - std::cos(w)) / 2.0 / a0;
        b1 = (1.0 - std::cos(w)) / a0;
        b2 = b0;
        a1 = -2.0 * std::cos(w) / a0;
        a2 = (1.0 - alpha) / a0;
    }
    double operator()(double x) {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1, x1 = x, y2 = y1, y1 = y;
        return y;
    }
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

std::vector<double> lowBand(const std::vector<float>& x, double bandHz, double rate) {
    // Q values of the two sections of a fourth-order Butterworth filter.
    Biquad first(bandHz, 0.54119610, rate), second(bandHz, 1.30656296, rate);
    std::vector<double> y(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) y[i] = second(first(x[i]));
    return y;
}

// Deterministic noise, the same on every machine.
struct Noise {
    std::uint32_t state = 20240611u;
    double operator()() {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    }
};

}  // namespace

Levels measureLevels(const Audio& audio) {
    double sum = 0.0, peak = 0.0;
    std::size_t count = 0;
    for (const auto& c : audio.channels) {
        for (float v : c) {
            sum += static_cast<double>(v) * v;
            peak = std::max(peak, static_cast<double>(std::fabs(v)));
        }
        count += c.size();
    }
    return {toDb(count ? std::sqrt(sum / static_cast<double>(count)) : 0.0), toDb(peak)};
}

double lowBandCorrelation(const Audio& audio, double bandHz) {
    if (audio.channels.size() < 2) return 1.0;
    const auto l = lowBand(audio.channels[0], bandHz, audio.rate);
    const auto r = lowBand(audio.channels[1], bandHz, audio.rate);
    double lr = 0.0, ll = 0.0, rr = 0.0;
    for (std::size_t i = 0; i < l.size(); ++i)
        lr += l[i] * r[i], ll += l[i] * l[i], rr += r[i] * r[i];
    return ll > 0.0 && rr > 0.0 ? lr / std::sqrt(ll * rr) : 0.0;
}

double largestDifference(const Audio& a, const Audio& b) {
    if (a.channels.size() != b.channels.size() || a.frames() != b.frames()) return -1.0;
    double largest = 0.0;
    for (std::size_t c = 0; c < a.channels.size(); ++c)
        for (std::size_t i = 0; i < a.frames(); ++i)
            largest = std::max(largest,
                               static_cast<double>(std::fabs(a.channels[c][i] - b.channels[c][i])));
    return largest;
}

Audio makeDemoSignal(double seconds, int rate) {
    const std::size_t frames = static_cast<std::size_t>(std::llround(seconds * rate));
    Audio audio;
    audio.rate = rate;
    audio.channels.assign(2, std::vector<float>(frames, 0.0f));
    // Two bars of eighth notes at 120 bpm: A1 A1 C2 A1 D2 A1 E2 G1, over and over.
    const double notes[] = {55.0, 55.0, 65.41, 55.0, 73.42, 55.0, 82.41, 49.0};
    const double step = 0.25;  // seconds per eighth note
    const double chord[] = {220.0, 261.63, 329.63, 392.0};
    Noise noise;
    double phaseL = 0, phaseR = 0, subL = 0, subR = 0, hatState = 0;
    std::vector<double> padPhaseL(4, 0.0), padPhaseR(4, 0.0);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        const std::size_t note = static_cast<std::size_t>(t / step);
        const double inNote = t - static_cast<double>(note) * step;
        const double f = notes[note % 8];
        // The bass is wide the way stereo synths make it: detuned voices left and right, and
        // a sub whose right channel runs a quarter period behind the left.
        phaseL += f / rate;
        phaseR += f * 1.006 / rate;
        subL += f / rate;
        subR = subL - 0.25;
        phaseL -= std::floor(phaseL);
        phaseR -= std::floor(phaseR);
        const double env = std::exp(-inNote * 6.0) * 0.8 + 0.2;
        auto saw = [](double phase) {
            double s = 0.0;
            for (int k = 1; k <= 6; ++k) s += std::sin(2.0 * kPi * k * phase) / k;
            return s * 0.55;
        };
        const double bassL = env * (0.30 * saw(phaseL) + 0.35 * std::sin(2.0 * kPi * subL));
        const double bassR = env * (0.30 * saw(phaseR) + 0.35 * std::sin(2.0 * kPi * subR));
        // The kick is mono: a falling sine on every beat.
        const double beat = std::fmod(t, 0.5);
        // Its frequency falls from 155 Hz to 45 Hz; the phase is that frequency's integral.
        const double kickPhase = 45.0 * beat + 110.0 * (1.0 - std::exp(-beat * 30.0)) / 30.0;
        const double kick = 0.6 * std::exp(-beat * 9.0) * std::sin(2.0 * kPi * kickPhase);
        // The pad spreads across the field with a slower detune on each side.
        double padL = 0.0, padR = 0.0;
        for (std::size_t k = 0; k < 4; ++k) {
            padPhaseL[k] += chord[k] * 0.997 / rate;
            padPhaseR[k] += chord[k] * 1.003 / rate;
            padL += std::sin(2.0 * kPi * padPhaseL[k]);
            padR += std::sin(2.0 * kPi * padPhaseR[k]);
        }
        const double swell = 0.5 - 0.5 * std::cos(2.0 * kPi * t / 4.0);
        // Off-beat hats: high-passed noise bursts.
        const double offBeat = std::fmod(t + 0.25, 0.5);
        const double n = noise();
        const double hat = 0.12 * std::exp(-offBeat * 40.0) * (n - hatState);
        hatState = n;
        audio.channels[0][i] = static_cast<float>(bassL + kick + 0.05 * swell * padL + hat);
        audio.channels[1][i] = static_cast<float>(bassR + kick + 0.05 * swell * padR + 0.8 * hat);
    }
    // A 50 ms fade at each end keeps the start and stop free of clicks.
    const std::size_t fade = std::min<std::size_t>(frames / 2, static_cast<std::size_t>(rate / 20));
    for (std::size_t i = 0; i < fade; ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(fade);
        for (auto& c : audio.channels) c[i] *= g, c[frames - 1 - i] *= g;
    }
    // Peaks at -3 dBFS, leaving room for Bass Amp's boost.
    double peak = 0.0;
    for (const auto& c : audio.channels)
        for (float v : c) peak = std::max(peak, static_cast<double>(std::fabs(v)));
    if (peak > 0.0) {
        const float gain = static_cast<float>(0.7079 / peak);
        for (auto& c : audio.channels)
            for (float& v : c) v *= gain;
    }
    return audio;
}

}  // namespace QcHost
