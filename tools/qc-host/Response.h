// Measures magnitude responses through the real binary: an impulse into both inputs gives the
// mid (L+R) response, opposite impulses the side (L-R) response, read off at log-spaced
// frequencies. Writes them as CSV and plots them with gnuplot.
#pragma once

#include <string>
#include <vector>

#include "tools/qc-host/Session.h"

namespace QcHost {

struct ResponseCurve {
    std::string label;
    std::vector<double> midDb;
    std::vector<double> sideDb;
};

struct ResponseSet {
    std::vector<double> frequencies;  // 10 Hz to 20 kHz, log spaced
    std::vector<ResponseCurve> curves;
};

std::vector<double> responseFrequencies(int points = 241);
// Opens a fresh instance of loaded's binary for each measurement, applies settings, and
// measures at rate.
bool measureResponse(const Session& loaded, const std::vector<Setting>& settings, double rate,
                     const std::vector<double>& frequencies, ResponseCurve& curve,
                     std::string& error);
bool writeResponseCsv(const std::string& path, const ResponseSet& set, std::string& error);
// gnuplot reads the CSV; the program is taken from QC_GNUPLOT, else "gnuplot" on the PATH.
bool plotResponse(const std::string& png, const std::string& csv, const std::string& title,
                  const ResponseSet& set, std::string& error);

}  // namespace QcHost
