// The checks whose logic is the same for both plug-in formats, written once over a format's
// own instance. Format supplies:
//   Binary, Effect                       what is loaded, and one processing instance of it
//   Make(binary, rate)                   a started instance at the rate; null when refused
//   Busy(effect, cutoff)                 every stage and the mix at work, at this cutoff
//   Render(effect, input, sizes, inPlace) the input in blocks of the sizes, cycled
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tools/validate/Checks.h"
#include "tools/validate/Instance.h"
#include "tools/validate/Memory.h"

namespace Validate {

// Input peaks at 0.5; the most any setting can make of it is a few times that.
constexpr float kSaneLimit = 8.0f;

inline std::string Describe(const Levels& levels) {
    char text[96];
    std::snprintf(text, sizeof(text), "peak %g, %ld non-finite, %ld subnormal",
                  static_cast<double>(levels.peak), levels.nonFinite, levels.subnormal);
    return text;
}

inline std::vector<double> UsualRates() {
    return {1000,  8000,  11025, 16000,  22050,  32000, 44100,
            48000, 88200, 96000, 176400, 192000, 768000};
}

// Formats that hand the rate over as a bare double must also survive what no host should send.
inline std::vector<double> UsualAndHostileRates() {
    std::vector<double> rates = UsualRates();
    rates.insert(rates.end(), {0, -48000, 1e12, std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN()});
    return rates;
}

// The input through process(in, out, frames, piece) in pieces of the sizes, cycled: piece
// counts from 0. In place, the input's own channels are the output and come back.
template <typename Process>
Stereo RenderInPieces(const Stereo& input, const std::vector<std::int32_t>& sizes, bool inPlace,
                      Process process) {
    Stereo in = input, out(input.left.size());
    std::size_t done = 0;
    for (std::size_t piece = 0; done < input.left.size(); ++piece) {
        const auto frames = static_cast<std::int32_t>(std::min<std::size_t>(
            static_cast<std::size_t>(sizes[piece % sizes.size()]), input.left.size() - done));
        float* source[] = {in.left.data() + done, in.right.data() + done};
        float* target[] = {out.left.data() + done, out.right.data() + done};
        process(source, inPlace ? source : target, frames, piece);
        done += static_cast<std::size_t>(frames);
    }
    return inPlace ? in : out;
}

// Each rate at a high and a low cutoff; audio stays finite, normal and bounded.
template <typename Format>
Result SampleRates(const typename Format::Binary& binary, const Options& options,
                   const std::vector<double>& rates, const std::string& what) {
    const Stereo input = TestSignal(options.thorough ? 600000 : 96000, 1);
    float worst = 0.0f;
    char text[96];
    for (double rate : rates) {
        for (double cutoff : {1.0, 0.1}) {
            const auto effect = Format::Make(binary, rate);
            if (effect == nullptr) return {false, "no instance at " + std::to_string(rate)};
            Format::Busy(*effect, cutoff);
            Levels levels;
            levels.Add(Format::Render(*effect, input, {512}, false));
            std::snprintf(text, sizeof(text), "at %.0f Hz, cutoff %.1f: ", rate, cutoff);
            if (!levels.Sane(kSaneLimit)) return {false, text + Describe(levels)};
            worst = std::max(worst, levels.peak);
        }
    }
    std::snprintf(text, sizeof(text), ", peak %.2f", static_cast<double>(worst));
    return {true, what + text};
}

// Any block sizes, zero-length calls among them, in place or not: the same samples.
template <typename Format>
Result BlockSizes(const typename Format::Binary& binary) {
    const Stereo input = TestSignal(40000, 2);
    const auto reference = Format::Make(binary, 48000.0);
    Format::Busy(*reference, 0.3);
    const Stereo expected = Format::Render(*reference, input, {512}, false);
    std::mt19937 random(3);
    std::vector<std::int32_t> varying;
    for (int i = 0; i < 300; ++i)
        varying.push_back(i % 5 == 0 ? 0 : static_cast<std::int32_t>(random() % 700));
    const std::vector<std::vector<std::int32_t>> patterns = {
        {1}, {2}, {3}, {31}, {32}, {64}, {100}, {1000}, {4096}, {8192}, varying};
    for (const auto& sizes : patterns) {
        for (bool inPlace : {false, true}) {
            const auto effect = Format::Make(binary, 48000.0);
            Format::Busy(*effect, 0.3);
            const Stereo got = Format::Render(*effect, input, sizes, inPlace);
            if (got.left != expected.left || got.right != expected.right)
                return {false, "blocks of " + std::to_string(sizes[0]) +
                                   (inPlace ? " in place" : "") + " render other samples"};
        }
    }
    return {true, "1..8192, varying, zero-length, in place: identical"};
}

// 64 instances alive at once, each with its own settings.
template <typename Format>
Result ManyInstances(const typename Format::Binary& binary) {
    std::vector<std::unique_ptr<typename Format::Effect>> effects;
    for (int i = 0; i < 64; ++i) {
        effects.push_back(Format::Make(binary, 48000.0));
        if (effects.back() == nullptr) return {false, "instance " + std::to_string(i)};
        Format::Busy(*effects.back(), 0.05 + 0.01 * i);
    }
    const Stereo input = TestSignal(4096, 9);
    Levels levels;
    for (auto& effect : effects) levels.Add(Format::Render(*effect, input, {64}, false));
    if (!levels.Sane(kSaneLimit)) return {false, Describe(levels)};
    return {true, "64 at once"};
}

// A long run of 512-frame blocks: finite, normal, bounded audio, and memory that stays flat
// once the first tenth has run. step(block, in, out) makes the block's changes and processes it.
template <typename Step>
Result Soak(const Options& options, const Step& step) {
    constexpr long kBlock = 512;
    const long frames = options.thorough ? 30000000L : 3000000L;
    const Stereo input = TestSignal(1 << 16, 10);
    Stereo out(kBlock);
    Levels levels;
    long baseline = 0;
    for (long done = 0, block = 0; done < frames; done += kBlock, ++block) {
        const std::size_t at = static_cast<std::size_t>(done % ((1 << 16) - kBlock));
        float* in[] = {const_cast<float*>(input.left.data()) + at,
                       const_cast<float*>(input.right.data()) + at};
        step(block, in, out.Channels());
        levels.Add(out);
        // After the first tenth everything a steady run needs is allocated.
        if (block == frames / kBlock / 10) baseline = ResidentBytes();
    }
    const long growth = ResidentBytes() - baseline;
    if (!levels.Sane(kSaneLimit)) return {false, Describe(levels)};
    char text[96];
    if (baseline > 0 && growth > (1L << 20)) {
        std::snprintf(text, sizeof(text), "memory grew %g KiB", growth / 1024.0);
        return {false, text};
    }
    std::snprintf(text, sizeof(text), "%.0f M frames, peak %.2f, memory %+.0f KiB", frames / 1e6,
                  static_cast<double>(levels.peak), growth / 1024.0);
    return {true, text};
}

}  // namespace Validate
