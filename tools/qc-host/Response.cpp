#include "tools/qc-host/Response.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "tools/qc-host/Render.h"

namespace QcHost {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Long enough for the lowest cutoffs' impulse responses to die away at 96 kHz.
constexpr std::size_t kImpulseFrames = 1 << 17;
constexpr double kFloorDb = -120.0;

double magnitudeDb(const std::vector<float>& h, double frequency, double rate) {
    // The response's DFT at exactly this frequency; the phasor advances by multiplication
    // and is renormalised now and then so rounding cannot make it drift.
    const std::complex<double> step = std::polar(1.0, -2.0 * kPi * frequency / rate);
    std::complex<double> phasor = 1.0, sum = 0.0;
    for (std::size_t n = 0; n < h.size(); ++n) {
        sum += static_cast<double>(h[n]) * phasor;
        phasor *= step;
        if ((n & 1023) == 1023) phasor /= std::abs(phasor);
    }
    const double magnitude = std::abs(sum);
    return magnitude > 0.0 ? std::max(kFloorDb, 20.0 * std::log10(magnitude)) : kFloorDb;
}

bool impulseResponse(const Session& loaded, const std::vector<Setting>& settings, double rate,
                     float rightSign, std::vector<float>& response, std::string& error) {
    Session session;
    if (!session.openAnother(loaded, error)) return false;
    session.prepare(rate, 512);
    if (!session.apply(settings, error)) return false;
    if (session.effect()->numInputs != 2 || session.effect()->numOutputs != 2) {
        error = "response needs a plug-in with two inputs and two outputs";
        return false;
    }
    Audio in, out;
    in.rate = static_cast<int>(rate);
    in.channels.assign(2, std::vector<float>(kImpulseFrames, 0.0f));
    in.channels[0][0] = 1.0f;
    in.channels[1][0] = rightSign;
    if (!render(session, in, out, 512, {}, {}, error)) return false;
    response.resize(kImpulseFrames);
    for (std::size_t i = 0; i < kImpulseFrames; ++i)
        response[i] = 0.5f * (out.channels[0][i] + rightSign * out.channels[1][i]);
    return true;
}

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

}  // namespace

std::vector<double> responseFrequencies(int points) {
    std::vector<double> f;
    const double low = std::log10(10.0), high = std::log10(20000.0);
    for (int i = 0; i < points; ++i)
        f.push_back(std::pow(10.0, low + (high - low) * i / (points - 1)));
    return f;
}

bool measureResponse(const Session& loaded, const std::vector<Setting>& settings, double rate,
                     const std::vector<double>& frequencies, ResponseCurve& curve,
                     std::string& error) {
    std::vector<float> mid, side;
    if (!impulseResponse(loaded, settings, rate, 1.0f, mid, error) ||
        !impulseResponse(loaded, settings, rate, -1.0f, side, error))
        return false;
    curve.midDb.clear();
    curve.sideDb.clear();
    for (double f : frequencies) {
        // Above Nyquist there is nothing to measure; the plot leaves those points out.
        const bool valid = f < rate / 2;
        curve.midDb.push_back(valid ? magnitudeDb(mid, f, rate) : NAN);
        curve.sideDb.push_back(valid ? magnitudeDb(side, f, rate) : NAN);
    }
    return true;
}

bool writeResponseCsv(const std::string& path, const ResponseSet& set, std::string& error) {
    std::ofstream out(path);
    if (!out) {
        error = path + ": cannot open for writing";
        return false;
    }
    out << "frequency_hz";
    for (const auto& c : set.curves)
        out << ",\"" << c.label << " (mid dB)\",\"" << c.label << " (side dB)\"";
    out << "\n";
    char number[32];
    for (std::size_t i = 0; i < set.frequencies.size(); ++i) {
        std::snprintf(number, sizeof number, "%.3f", set.frequencies[i]);
        out << number;
        for (const auto& c : set.curves) {
            for (double v : {c.midDb[i], c.sideDb[i]}) {
                if (std::isnan(v))
                    std::snprintf(number, sizeof number, ",NaN");
                else
                    std::snprintf(number, sizeof number, ",%.3f", v);
                out << number;
            }
        }
        out << "\n";
    }
    if (!out) {
        error = path + ": write failed";
        return false;
    }
    return true;
}

bool plotResponse(const std::string& png, const std::string& csv, const std::string& title,
                  const ResponseSet& set, std::string& error) {
    double top = -1e9, bottom = 1e9;
    for (const auto& c : set.curves)
        for (const auto* values : {&c.midDb, &c.sideDb})
            for (double v : *values)
                if (!std::isnan(v)) top = std::max(top, v), bottom = std::min(bottom, v);
    // Whole 6 dB steps around the data; the view stops at -60 dB, below which nothing
    // audible happens for a crossover.
    top = std::ceil((top + 1.0) / 6.0) * 6.0;
    bottom = std::max(-60.0, std::floor((bottom - 1.0) / 6.0) * 6.0);
    if (top - bottom < 12.0) bottom = top - 24.0;

    const std::string script = png + ".gp";
    {
        std::ofstream gp(script);
        gp << "set terminal pngcairo size 1100,640 enhanced font 'DejaVu Sans,12' linewidth 1.5\n"
           << "set output " << quoted(png) << "\n"
           << "set title " << quoted(title) << "\n"
           << "set datafile separator ','\nset datafile missing 'NaN'\n"
           << "set logscale x 10\nset xrange [10:20000]\nset yrange [" << bottom << ":" << top
           << "]\n"
           << "set xtics ('10' 10.001, '20' 20, '50' 50, '100' 100, '200' 200, '500' 500, '1k' "
              "1000, "
              "'2k' 2000, '5k' 5000, '10k' 10000, '20k' 20000)\n"
           << "set mxtics 10\nset ytics 6\nset grid xtics mxtics ytics lc rgb '#d0d0d0'\n"
           << "set xlabel 'Frequency (Hz)'\nset ylabel 'Level (dB)'\n"
           << "set key inside left bottom opaque box lc rgb '#a0a0a0' spacing 1.1\n"
           << "set border lw 1\nset lmargin 9\nset rmargin 4\n"
           << "plot ";
        const char* colours[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd",
                                 "#ff7f0e", "#17becf", "#8c564b", "#e377c2"};
        for (std::size_t i = 0; i < set.curves.size(); ++i) {
            const std::string colour = colours[i % 8];
            const std::size_t column = 2 + 2 * i;
            if (i) gp << ", \\\n     ";
            gp << quoted(csv) << " using 1:" << column << " with lines lw 2 lc rgb '" << colour
               << "' title " << quoted(set.curves[i].label + " — mid (L+R)") << ", \\\n     "
               << quoted(csv) << " using 1:" << column + 1 << " with lines lw 2 dt 2 lc rgb '"
               << colour << "' title " << quoted(set.curves[i].label + " — side (L−R)");
        }
        gp << "\n";
        if (!gp) {
            error = script + ": cannot write the gnuplot script";
            return false;
        }
    }
    const char* program = std::getenv("QC_GNUPLOT");
    const std::string command =
        std::string(program && *program ? program : "gnuplot") + " \"" + script + "\"";
    const int status = std::system(command.c_str());
    std::remove(script.c_str());
    if (status != 0) {
        error = "gnuplot failed (" + command + "); install it with 'make deps' (gnuplot-nox)";
        return false;
    }
    return true;
}

}  // namespace QcHost
