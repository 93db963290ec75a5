// Every factory preset keeps the promise the README's preset table makes for it, measured on
// the real plug-in the way 'qc-host response' measures it: the mid (L = R) and side (L = -R)
// magnitude responses from 10 Hz to 20 kHz at 48 kHz.
#include <gtest/gtest.h>

// The promises are measured on the x64 engine, which a 32-bit tree does not load.
#ifdef QC_PLUGIN_X64

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "tools/qc-host/Analysis.h"
#include "tools/qc-host/Render.h"
#include "tools/qc-host/Response.h"
#include "tools/qc-host/Session.h"

namespace {

using QcHost::Setting;

// What a preset says it does, as the README's preset table words it.
enum class Kind {
    Narrow,    // the side down by at least `belowDb` below a quarter of the cutoff, and nowhere
               // raised; the mid untouched
    Lift,      // mid and side raised by `belowDb` below a quarter of the cutoff, alike, and
               // untouched above four times the cutoff
    LowSolo,   // the low band alone, width unchanged: within `belowDb` of the input below a
               // quarter of the cutoff, at least `aboveDb` down above four times the cutoff
    HighSolo,  // the band above the cutoff alone: down by at least `belowDb` below a quarter
               // of the cutoff, nowhere raised, untouched above four times the cutoff
};

struct Promise {
    const char* file;
    Kind kind;
    double cutoffHz;
    double belowDb;
    double aboveDb = 0.0;
};

const Promise kPromises[] = {
    {"mono-bass-120hz", Kind::Narrow, 120, 12},
    {"mono-sub-80hz", Kind::Narrow, 80, 12},
    {"bass-lift-3db", Kind::Lift, 120, 3},
    {"high-band-only-150hz", Kind::HighSolo, 150, 12},
    {"low-band-solo-100hz", Kind::LowSolo, 100, 1.1, 48},
    {"narrow-low-end-200hz", Kind::Narrow, 200, 7.5},
};

// A narrowing preset that takes less than this from the side is no narrowing at all.
constexpr double kLeastNarrowing = 6.0;
constexpr double kTolerance = 0.5;  // dB
constexpr double kRate = 48000;

bool exists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

std::string presetPath(const Promise& p) {
    return std::string(QC_PRESETS_DIR) + "/" + p.file + ".fxp";
}

// Checks `db` against [low, high] at every measured frequency in [from, to); the first
// frequency that falls outside is reported, with the whole curve's extremes there.
void expectWithin(const char* what, const std::vector<double>& frequencies,
                  const std::vector<double>& db, double from, double to, double low, double high) {
    double lowest = 1e9, highest = -1e9;
    for (std::size_t i = 0; i < frequencies.size(); ++i) {
        if (frequencies[i] < from || frequencies[i] >= to || std::isnan(db[i])) continue;
        lowest = std::min(lowest, db[i]);
        highest = std::max(highest, db[i]);
        if (db[i] < low || db[i] > high) {
            ADD_FAILURE() << what << " is " << db[i] << " dB at " << frequencies[i]
                          << " Hz; the promise is " << low << " to " << high << " dB from " << from
                          << (to < 1e6 ? " to " + std::to_string(to) : " up") << " Hz";
            return;
        }
    }
    EXPECT_LE(lowest, highest) << what << ": no frequency measured from " << from << " to " << to;
}

class PresetPromises : public ::testing::Test {
protected:
    void SetUp() override {
        if (!exists(QC_PLUGIN_X64)) GTEST_SKIP() << QC_PLUGIN_X64 << " is not built";
        std::string error;
        ASSERT_TRUE(plugin.open(QC_PLUGIN_X64, error)) << error;
    }

    // The low band's L/R correlation of the demo signal before and after the preset.
    std::pair<double, double> demoCorrelation(const Promise& p) {
        QcHost::Session session;
        std::string error;
        EXPECT_TRUE(session.openAnother(plugin, error)) << error;
        session.prepare(kRate, 512);
        EXPECT_TRUE(session.apply({{Setting::Kind::Preset, presetPath(p), 0.0, ""}}, error))
            << error;
        const QcHost::Audio in = QcHost::makeDemoSignal(2.0, static_cast<int>(kRate));
        QcHost::Audio out;
        EXPECT_TRUE(QcHost::render(session, in, out, 512, {}, {}, error)) << error;
        return {QcHost::lowBandCorrelation(in, 120), QcHost::lowBandCorrelation(out, 120)};
    }

    QcHost::Session plugin;
};

TEST_F(PresetPromises, EveryFactoryPresetDoesWhatItsTableRowSays) {
    const auto f = QcHost::responseFrequencies();
    constexpr double kAll = 1e9;
    for (const auto& p : kPromises) {
        SCOPED_TRACE(p.file);
        QcHost::ResponseCurve c;
        std::string error;
        ASSERT_TRUE(QcHost::measureResponse(
            plugin, {{Setting::Kind::Preset, presetPath(p), 0.0, ""}}, kRate, f, c, error))
            << error;
        const double quarter = p.cutoffHz / 4, fourTimes = p.cutoffHz * 4;
        switch (p.kind) {
            case Kind::Narrow: {
                EXPECT_GE(p.belowDb, kLeastNarrowing);
                expectWithin("side", f, c.sideDb, 0, quarter, -200, -p.belowDb);
                expectWithin("side", f, c.sideDb, 0, kAll, -200, kTolerance);
                expectWithin("mid", f, c.midDb, 0, kAll, -kTolerance, kTolerance);
                const auto [in, out] = demoCorrelation(p);
                EXPECT_GT(out, in + 0.1) << "the demo's low band grows more alike";
                break;
            }
            case Kind::Lift:
                for (const auto* db : {&c.midDb, &c.sideDb}) {
                    const char* what = db == &c.midDb ? "mid" : "side";
                    expectWithin(what, f, *db, 0, quarter, p.belowDb - kTolerance,
                                 p.belowDb + kTolerance);
                    expectWithin(what, f, *db, 0, kAll, -kTolerance, p.belowDb + kTolerance);
                    expectWithin(what, f, *db, fourTimes, kAll, -kTolerance, kTolerance);
                }
                break;
            case Kind::LowSolo:
                expectWithin("mid", f, c.midDb, 0, quarter, -p.belowDb, kTolerance);
                expectWithin("mid", f, c.midDb, fourTimes, kAll, -200, -p.aboveDb);
                break;
            case Kind::HighSolo:
                for (const auto* db : {&c.midDb, &c.sideDb}) {
                    const char* what = db == &c.midDb ? "mid" : "side";
                    expectWithin(what, f, *db, 0, quarter, -200, -p.belowDb);
                    expectWithin(what, f, *db, 0, kAll, -200, kTolerance);
                    expectWithin(what, f, *db, fourTimes, kAll, -kTolerance, kTolerance);
                }
                break;
        }
        if (p.kind == Kind::Lift || p.kind == Kind::LowSolo) {
            for (std::size_t i = 0; i < f.size(); ++i) {
                if (c.midDb[i] > -60) {
                    ASSERT_NEAR(c.sideDb[i], c.midDb[i], 0.1) << "width kept at " << f[i] << " Hz";
                }
            }
        }
    }
}

}  // namespace
#endif
