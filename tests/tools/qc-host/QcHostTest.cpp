// qc-host end to end: the program run as a user runs it, on the shipped Linux plug-in, with
// its answers checked against the plug-in's own and its renders against direct hosting.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <regex>

#include "tests/support/ProductFacts.h"
#include "tests/support/Signal.h"
#include "tools/qc-host/FxFile.h"
#include "tools/qc-host/ParameterValue.h"
#include "tools/qc-host/Render.h"
#include "tools/qc-host/Session.h"
#include "tools/qc-host/Wav.h"

namespace {

namespace Product = TestSupport::Product;

using QcHost::Audio;

struct Result {
    int status = -1;
    std::string output;  // stdout and stderr together
};

std::string quote(const std::string& s) {
    return "'" + s + "'";
}

Result run(const std::string& arguments) {
    Result r;
    const std::string command = std::string(QC_HOST_EXE) + " " + arguments + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.output.append(buffer, got);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string temp(const std::string& name) {
    return ::testing::TempDir() + "qc-host-e2e-" + name;
}

const std::string kPlugin = QC_PLUGIN_X64;

Audio testSignal(int rate, std::size_t frames) {
    Audio a;
    a.rate = rate;
    a.channels.assign(2, std::vector<float>(frames));
    TestSupport::Lcg random(7);
    for (std::size_t i = 0; i < frames; ++i) {
        const float noise = random.unit() - 0.5f;
        a.channels[0][i] = 0.5f * std::sin(0.01f * static_cast<float>(i)) + 0.2f * noise;
        a.channels[1][i] = 0.4f * std::sin(0.013f * static_cast<float>(i)) - 0.2f * noise;
    }
    return a;
}

Audio readBack(const std::string& path) {
    Audio a;
    std::string error;
    EXPECT_TRUE(QcHost::readWav(path, a, error)) << error;
    return a;
}

TEST(QcHostInfo, MatchesThePluginsOwnAnswers) {
    const Result r = run("info " + quote(kPlugin));
    ASSERT_EQ(r.status, 0) << r.output;
    QcHost::Session session;
    std::string error;
    ASSERT_TRUE(session.open(kPlugin, error)) << error;
    AEffect* e = session.effect();
    auto expectLine = [&](const std::string& pattern) {
        EXPECT_TRUE(std::regex_search(r.output, std::regex(pattern))) << pattern << "\n"
                                                                      << r.output;
    };
    expectLine("effect name: +" + session.text(effGetEffectName, 0, 32) + "\n");
    expectLine("vendor: +" + session.text(effGetVendorString, 0, 64) + "\n");
    expectLine("unique id: +0x00514356 'QCV'\n");
    expectLine("version: +" + std::to_string(e->version) + "\n");
    expectLine("category: +Effect \\(1\\)\n");
    expectLine("inputs: +2\n");
    expectLine("outputs: +2\n");
    expectLine("parameters: +5 \\(");
    auto escaped = [](const std::string& text) {
        return std::regex_replace(text, std::regex("[.+()]"), "\\$&");
    };
    for (int i = 0; i < e->numParams; ++i) {
        char value[32];
        std::snprintf(value, sizeof value, "%.6f", e->getParameter(e, i));
        std::string label = session.paramLabel(i);
        expectLine("\n +" + std::to_string(i) + " +" + session.paramName(i) + " +" +
                   escaped(session.paramDisplay(i)) + (label.empty() ? "" : " " + label) + " +" +
                   value + " +" + escaped(QcHost::describeAccepted(session, i)) + "  " +
                   escaped("(" + session.paramLongName(i) + ")") + "\n");
    }
    expectLine(" 0\\.100000 +0\\.00 to 10000\\.0 Hz  \\(Cutoff Freq\\.\\)\n");
    expectLine(" Off, Low, High, Both  \\(Output\\)\n");
    expectLine("programs: +32 \\(current 0\\)\n");
    expectLine("\n +31 +Blank\n");
}

TEST(QcHostRender, GivesWhatDirectHostingGives) {
    const std::string in = temp("in.wav"), out = temp("out.wav");
    const Audio signal = testSignal(44100, 5000);
    std::string error;
    ASSERT_TRUE(QcHost::writeWav(in, signal, QcHost::SampleFormat::Float32, error)) << error;
    // The same settings normalised and in the parameters' own terms.
    for (const char* settings :
         {" --set Out=0.875 --set CutFrq=0.2 --set 2=0.6 --set spread=0.25",
          " --set Out=both --set CutFrq=400Hz --set 2=0.6 --set spread=25"}) {
        SCOPED_TRACE(settings);
        const Result r =
            run("render " + quote(kPlugin) + " " + in + " " + out + settings + " --block 300");
        ASSERT_EQ(r.status, 0) << r.output;
        const Audio rendered = readBack(out);

        QcHost::Session session;
        ASSERT_TRUE(session.open(kPlugin, error)) << error;
        session.prepare(44100, 300);
        const float values[] = {0.875f, 0.2f, 0.6f, 0.25f};
        for (int i = 0; i < 4; ++i) session.vst().setParameter(i, values[i]);
        Audio expected;
        ASSERT_TRUE(QcHost::render(session, signal, expected, 300, {}, {}, error)) << error;
        ASSERT_EQ(rendered.rate, 44100);
        ASSERT_EQ(rendered.channels, expected.channels);
        EXPECT_NE(rendered.channels, signal.channels) << "the settings reached the plug-in";
    }
}

// The VST3 bundle, given where the VST 2.x binary would be, plays the same settings into the
// same samples.
TEST(QcHostRender, TheVst3BundleRendersWhatTheVst2PluginRenders) {
    const Result info = run("info " + quote(QC_VST3_BUNDLE) + " --set Out=both");
    ASSERT_EQ(info.status, 0) << info.output;
    EXPECT_NE(info.output.find("effect name:    Quellin Corvane\n"), std::string::npos);
    EXPECT_NE(info.output.find("Both          0.875000"), std::string::npos) << info.output;
    const std::string in = temp("vst3-in.wav"), out = temp("vst3-out.wav");
    std::string error;
    ASSERT_TRUE(QcHost::writeWav(in, testSignal(44100, 5000), QcHost::SampleFormat::Float32, error))
        << error;
    for (const char* settings :
         {" --set Out=both --set CutFrq=400Hz --set 2=0.6 --set spread=25 --block 300",
          " --program 3 --set Amp=+3dB --set Out=0.4 --rate 96000"}) {
        SCOPED_TRACE(settings);
        std::vector<Audio> renders;
        for (const std::string& plugin : {kPlugin, std::string(QC_VST3_BUNDLE)}) {
            const Result r = run("render " + quote(plugin) + " " + in + " " + out + settings);
            ASSERT_EQ(r.status, 0) << r.output;
            renders.push_back(readBack(out));
        }
        EXPECT_EQ(renders[0].channels, renders[1].channels);
        EXPECT_NE(renders[1].channels, readBack(in).channels);
    }
}

TEST(QcHostRender, OffCopiesEveryFormatAndRateAndDuplicatesMono) {
    struct Case {
        QcHost::SampleFormat format;
        int channels;
        int rate;
    };
    const Case cases[] = {{QcHost::SampleFormat::Pcm16, 2, 44100},
                          {QcHost::SampleFormat::Pcm24, 2, 96000},
                          {QcHost::SampleFormat::Float32, 1, 22050},
                          {QcHost::SampleFormat::Pcm16, 1, 48000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.channels) + " ch at " + std::to_string(c.rate));
        Audio signal = testSignal(c.rate, 3000);
        signal.channels.resize(static_cast<std::size_t>(c.channels));
        const std::string in = temp("fmt.wav"), out = temp("fmt-out.wav");
        std::string error;
        ASSERT_TRUE(QcHost::writeWav(in, signal, c.format, error)) << error;
        const Audio input = readBack(in);
        const Result r = run("render " + quote(kPlugin) + " " + in + " " + out + " --set Out=0");
        ASSERT_EQ(r.status, 0) << r.output;
        const Audio rendered = readBack(out);
        EXPECT_EQ(rendered.rate, c.rate);
        ASSERT_EQ(rendered.channels.size(), 2u);
        EXPECT_EQ(rendered.channels[0], input.channels[0]);
        EXPECT_EQ(rendered.channels[1], input.channels[c.channels - 1]);
        EXPECT_TRUE(r.output.empty())
            << "no progress bar when stderr is not a terminal: " << r.output;
    }
}

TEST(QcHostRender, ALearnedControllerInTheMidiListActsAtItsTime) {
    // A bank whose binding section ties controller 20 to the cutoff, as the editor's MIDI
    // learn leaves it.
    QcHost::Session session;
    std::string error;
    ASSERT_TRUE(session.open(kPlugin, error)) << error;
    QcHost::FxFile bank = session.makePreset(true);
    ASSERT_EQ(bank.chunk.size(), Product::kX64BankChunkSize);
    bank.chunk.resize(Product::kBankChunkSize);
    for (unsigned char b : {0, 1, 20, 0, 0, 0}) bank.chunk.push_back(b);
    const std::string fxb = temp("learned.fxb"), midi = temp("events.txt");
    ASSERT_TRUE(QcHost::writeFxFile(fxb, bank, error)) << error;
    std::ofstream(midi) << "# time cc channel controller value\n0.05 cc 4 20 127\n";

    const std::string in = temp("midi-in.wav");
    ASSERT_TRUE(
        QcHost::writeWav(in, testSignal(48000, 4800), QcHost::SampleFormat::Float32, error));
    const std::string common = "render " + quote(kPlugin) + " " + in + " ";
    Result r =
        run(common + temp("midi.wav") + " --preset " + fxb + " --set Out=0.3 --midi " + midi);
    ASSERT_EQ(r.status, 0) << r.output;
    // The same change made between two renders that meet at frame 2400.
    r = run(common + temp("before.wav") + " --set Out=0.3");
    ASSERT_EQ(r.status, 0) << r.output;
    r = run(common + temp("after.wav") + " --set Out=0.3 --set CutFrq=1");
    ASSERT_EQ(r.status, 0) << r.output;
    const Audio withMidi = readBack(temp("midi.wav")), before = readBack(temp("before.wav"));
    for (int c = 0; c < 2; ++c)
        for (std::size_t i = 0; i < 2400; ++i)
            ASSERT_EQ(withMidi.channels[c][i], before.channels[c][i]) << "frame " << i;
    const Audio after = readBack(temp("after.wav"));
    EXPECT_NE(withMidi.channels[0][2400 + 200], before.channels[0][2400 + 200])
        << "the cutoff moved";
    (void)after;
}

TEST(QcHostPreset, SavedFilesLoadBackToTheSameChunks) {
    for (const char* name : {"round.fxp", "round.fxb"}) {
        SCOPED_TRACE(name);
        const std::string path = temp(name);
        const Result saved = run("preset save " + quote(kPlugin) + " " + path +
                                 " --program 2 --set CutFrq=0.3 --set Out=0.6 --name 'Round Trip'");
        ASSERT_EQ(saved.status, 0) << saved.output;
        QcHost::FxFile file;
        std::string error;
        ASSERT_TRUE(QcHost::readFxFile(path, file, error)) << error;
        EXPECT_EQ(file.fxID, 0x00514356);

        QcHost::Session session;
        ASSERT_TRUE(session.open(kPlugin, error)) << error;
        ASSERT_TRUE(session.loadPreset(path, error)) << error;
        const QcHost::FxFile reloaded = session.makePreset(file.isBank());
        EXPECT_EQ(reloaded.chunk, file.chunk);
        EXPECT_EQ(session.programName(), "Round Trip");
        EXPECT_FLOAT_EQ(session.vst().getParameter(1), 0.3f);
        if (file.isBank()) {
            EXPECT_EQ(session.vst().dispatch(effGetProgram), 2);
        }

        const Result shown = run("preset show " + path + " --plugin " + quote(kPlugin));
        ASSERT_EQ(shown.status, 0) << shown.output;
        EXPECT_NE(shown.output.find(file.isBank() ? "'FBCh'" : "'FPCh'"), std::string::npos)
            << shown.output;
        EXPECT_NE(shown.output.find("Round Trip"), std::string::npos) << shown.output;
        EXPECT_NE(shown.output.find("High"), std::string::npos) << shown.output;
    }
}

TEST(QcHostPreset, ForeignAndDamagedFilesFailClearly) {
    const std::string good = temp("good.fxp");
    ASSERT_EQ(run("preset save " + quote(kPlugin) + " " + good).status, 0);
    std::ifstream in(good, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto write = [](const std::string& path, const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
        return path;
    };
    std::string foreign = bytes;
    foreign[17] = 'X';  // another plug-in's ID
    const std::string cut = write(temp("cut.fxp"), bytes.substr(0, bytes.size() - 1));
    const std::string other = write(temp("foreign.fxp"), foreign);
    const std::string text = write(temp("text.fxp"), "hello");
    const std::string wav = temp("preset-in.wav"), wavOut = temp("preset-out.wav");
    std::string error;
    ASSERT_TRUE(QcHost::writeWav(wav, testSignal(48000, 100), QcHost::SampleFormat::Pcm16, error));

    struct Case {
        std::string args;
        const char* message;
    };
    const Case cases[] = {
        {"render " + quote(kPlugin) + " " + wav + " " + wavOut + " --preset " + other,
         "another plug-in"},
        {"preset show " + other + " --plugin " + quote(kPlugin), "another plug-in"},
        {"preset show " + cut, "truncated"},
        {"render " + quote(kPlugin) + " " + wav + " " + wavOut + " --preset " + cut, "truncated"},
        {"preset show " + text, "CcnK"},
        {"preset show " + temp("absent.fxp"), "cannot open"},
        {"preset lv2 " + quote(kPlugin) + " " + temp("foreign.lv2") + " " + other,
         "another plug-in"},
        {"preset lv2 " + quote(QC_MINIMAL_EFFECT) + " " + temp("minimal.lv2") + " " + good,
         "only Quellin Corvane's presets"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.args);
        EXPECT_NE(r.status, 0) << c.args;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << c.args << "\n" << r.output;
    }
}

// A bank gives one LV2 preset per program, each under a name of its own, its values in the
// ports' units as decimals.
TEST(QcHostPreset, Lv2BundleHoldsEveryProgramOfABank) {
    const std::string bundle = temp("bank.lv2");
    const Result r = run("preset lv2 " + quote(kPlugin) + " " + bundle + " " + QC_PRESETS_DIR +
                         "/QuellinCorvane-Factory.fxb");
    ASSERT_EQ(r.status, 0) << r.output;
    auto read = [&](const std::string& file) {
        std::ifstream in(bundle + "/" + file);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    const std::string manifest = read("manifest.ttl");
    std::size_t presets = 0;
    for (std::size_t at = 0; (at = manifest.find("a pset:Preset", at)) != std::string::npos; ++at)
        ++presets;
    EXPECT_EQ(presets, 32u);
    EXPECT_NE(read("blank-26.ttl").find("rdfs:label \"Blank\""), std::string::npos);
    const std::string mono = read("mono-bass-120-hz.ttl");
    EXPECT_NE(mono.find("rdfs:label \"Mono Bass 120 Hz\""), std::string::npos);
    EXPECT_NE(mono.find("\"output_mode\" ;\n        pset:value 3.0\n"), std::string::npos) << mono;
    EXPECT_NE(mono.find("\"spread\" ;\n        pset:value 0.0\n"), std::string::npos) << mono;
}

TEST(QcHostArguments, MistakesGetAReasonAndAFailingStatus) {
    const std::string in = temp("args.wav");
    std::string error;
    ASSERT_TRUE(QcHost::writeWav(in, testSignal(48000, 100), QcHost::SampleFormat::Pcm16, error));
    std::ofstream(temp("bad.wav"), std::ios::binary) << "RIFF\x10\0\0\0WAVEjunk";
    std::ofstream(temp("bad-midi.txt")) << "0.5 note 1 2 3\n";
    const std::string p = quote(kPlugin);
    const std::pair<std::string, const char*> cases[] = {
        {"", "usage"},
        {"frobnicate", "unknown command"},
        {"info", "exactly one PLUGIN"},
        {"info /nonexistent/plugin.so", "cannot load"},
        {"info " + in, "cannot load"},
        {"render " + p + " " + in, "needs PLUGIN IN.wav OUT.wav"},
        {"render " + p + " " + in + " o.wav --set Wobble=0.5", "no parameter named 'Wobble'"},
        {"render " + p + " " + in + " o.wav --set CutFrq=20000Hz",
         "CutFrq takes a number from 0.00 to 10000.0 Hz, or a normalised value from 0 to 1"},
        {"render " + p + " " + in + " o.wav --set Out=loud", "one of Off, Low, High, Both"},
        {"render " + p + " " + in + " o.wav --set S=1",
         "could be any of Slope (Filter Slope), Spread (Stereo Spread)"},
        {"render " + p + " " + in + " o.wav --set CutFrq=", "no value"},
        {"render " + p + " " + in + " o.wav --set CutFrq", "NAME=VALUE"},
        {"render " + p + " " + in + " o.wav --set 9=0.5", "out of range"},
        {"render " + p + " " + in + " o.wav --program 32", "program 32 out of range"},
        {"render " + p + " " + in + " o.wav --block 0", "--block"},
        {"render " + p + " " + in + " o.wav --wobble 3", "unknown option --wobble"},
        {"render " + p + " " + in + " o.wav --block", "needs a value"},
        {"render " + p + " " + temp("bad.wav") + " o.wav", "bad.wav"},
        {"render " + p + " " + temp("none.wav") + " o.wav", "none.wav"},
        {"render " + p + " " + in + " o.wav --midi " + temp("bad-midi.txt"), "line 1"},
        {"render " + p + " " + in + " /nonexistent/dir/o.wav", "/nonexistent/dir/o.wav"},
        {"preset", "expected 'save', 'show' or 'lv2'"},
        {"preset save " + p, "needs PLUGIN FILE"},
        {"response " + p, "needs PLUGIN OUT.png"},
        {"analyze " + in, "needs IN.wav OUT.wav"},
    };
    for (const auto& [args, message] : cases) {
        const Result r = run(args);
        EXPECT_NE(r.status, 0) << args;
        EXPECT_NE(r.output.find(message), std::string::npos) << args << "\n" << r.output;
    }
    for (const char* command :
         {"info", "render", "preset save", "preset show", "response", "analyze", "demo-signal"}) {
        const Result r = run(std::string(command) + " --help");
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_NE(r.output.find(std::string("usage: qc-host ") + command), std::string::npos)
            << r.output;
    }
}

TEST(QcHostResponse, MonoBassTakesTheSideOutOfTheLowsOnly) {
    const std::string png = temp("response.png");
    const Result r = run("response " + quote(kPlugin) + " " + png +
                         " --curve mono --set Out=0.875 --set CutFrq=0.1414214 --set Spread=0"
                         " --curve off --set Out=0");
    ASSERT_EQ(r.status, 0) << r.output;
    std::ifstream csv(temp("response.csv"));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(
        line,
        "frequency_hz,\"mono (mid dB)\",\"mono (side dB)\",\"off (mid dB)\",\"off (side dB)\"");
    double lowSide = 0, highSide = -1, lowMid = -1;
    int rows = 0;
    while (std::getline(csv, line)) {
        double f, mid, side, offMid, offSide;
        ASSERT_EQ(
            std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf,%lf", &f, &mid, &side, &offMid, &offSide), 5)
            << line;
        ++rows;
        EXPECT_NEAR(offMid, 0.0, 0.01) << f;
        EXPECT_NEAR(offSide, 0.0, 0.01) << f;
        EXPECT_NEAR(mid, 0.0, 0.01) << "spread leaves the mid signal alone at " << f;
        if (std::abs(f - 10.0) < 0.1) lowSide = side, lowMid = mid;
        if (f > 10000 && highSide < 0) highSide = side;
    }
    EXPECT_GT(rows, 100);
    // One stage at 200 Hz: the side keeps x - low, about 10/200 of itself at 10 Hz.
    EXPECT_NEAR(lowSide, 20 * std::log10(10.0 / std::hypot(10.0, 200.0)), 0.5);
    EXPECT_NEAR(highSide, 0.0, 0.1);
    (void)lowMid;
    std::ifstream image(png, std::ios::binary);
    char magic[8] = {};
    image.read(magic, 8);
    EXPECT_EQ(std::memcmp(magic, "\x89PNG\r\n\x1a\n", 8), 0) << "gnuplot wrote a PNG";
}

}  // namespace
