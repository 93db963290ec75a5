#include "tools/qc-host/Render.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "tools/host/MidiEvents.h"

#if defined(_WIN32)
#include <io.h>
#define QC_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define QC_ISATTY(fd) isatty(fd)
#endif

namespace QcHost {

bool parseMidiEvents(const std::string& text, double rate, std::vector<TimedEvent>& events,
                     std::string& error) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        std::string time, type;
        if (!(fields >> time)) continue;
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(number) + ": " + why +
                    " (expected: SECONDS cc CHANNEL CONTROLLER VALUE)";
            return false;
        };
        char* end = nullptr;
        const double seconds = std::strtod(time.c_str(), &end);
        if (*end != '\0' || !std::isfinite(seconds) || seconds < 0)
            return fail("bad time '" + time + "'");
        long numbers[3];
        if (!(fields >> type) || type != "cc") return fail("only 'cc' events are supported");
        for (long& n : numbers) {
            std::string field;
            if (!(fields >> field)) return fail("missing field");
            n = std::strtol(field.c_str(), &end, 10);
            if (*end != '\0') return fail("'" + field + "' is not a number");
        }
        std::string extra;
        if (fields >> extra) return fail("unexpected '" + extra + "'");
        if (numbers[0] < 1 || numbers[0] > 16) return fail("channel must be 1-16");
        if (numbers[1] < 0 || numbers[1] > 127 || numbers[2] < 0 || numbers[2] > 127)
            return fail("controller and value must be 0-127");
        TimedEvent e;
        e.frame = std::llround(seconds * rate);
        e.event =
            VstHost::makeControlChange(0, static_cast<int>(numbers[0] - 1),
                                       static_cast<int>(numbers[1]), static_cast<int>(numbers[2]));
        events.push_back(e);
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const TimedEvent& a, const TimedEvent& b) { return a.frame < b.frame; });
    return true;
}

bool readMidiEvents(const std::string& path, double rate, std::vector<TimedEvent>& events,
                    std::string& error) {
    std::ifstream file(path);
    if (!file) {
        error = path + ": cannot open for reading";
        return false;
    }
    std::stringstream text;
    text << file.rdbuf();
    if (!parseMidiEvents(text.str(), rate, events, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool renderBlocks(const Audio& input, Audio& output, int inputs, int outputs, int blockSize,
                  const std::vector<TimedEvent>& events, const Progress& progress,
                  const BlockProcess& process, std::string& error) {
    if (outputs <= 0) {
        error = "the plug-in has no audio outputs";
        return false;
    }
    if (input.channels.empty()) {
        error = "the input has no channels";
        return false;
    }
    const std::size_t frames = input.frames();
    // The plug-in reads every input pointer; inputs it has beyond the file's get silence or,
    // for a mono file, the same signal.
    std::vector<std::vector<float>> in(static_cast<std::size_t>(std::max(inputs, 0)));
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (i < input.channels.size())
            in[i] = input.channels[i];
        else if (input.channels.size() == 1)
            in[i] = input.channels[0];
        else
            in[i].assign(frames, 0.0f);
    }
    output.rate = input.rate;
    output.channels.assign(static_cast<std::size_t>(outputs), std::vector<float>(frames, 0.0f));

    std::size_t next = 0;
    std::vector<VstMidiEvent> block;
    std::vector<float*> ins, outs;
    for (std::size_t start = 0; start < frames; start += static_cast<std::size_t>(blockSize)) {
        const std::size_t count = std::min(frames - start, static_cast<std::size_t>(blockSize));
        block.clear();
        while (next < events.size() && events[next].frame < static_cast<long long>(start + count)) {
            VstMidiEvent event = events[next].event;
            event.deltaFrames = static_cast<VstInt32>(
                std::max<long long>(0, events[next].frame - static_cast<long long>(start)));
            block.push_back(event);
            ++next;
        }
        ins.clear();
        outs.clear();
        for (auto& c : in) ins.push_back(c.data() + start);
        for (auto& c : output.channels) outs.push_back(c.data() + start);
        if (!process(ins, outs, static_cast<int>(count), block)) {
            error = "the host could not run the plug-in's process call";
            return false;
        }
        if (progress) progress(start + count, frames);
    }
    return true;
}

bool render(Session& session, const Audio& input, Audio& output, int blockSize,
            const std::vector<TimedEvent>& events, const Progress& progress, std::string& error) {
    AEffect* e = session.effect();
    const auto process = [&](std::vector<float*>& ins, std::vector<float*>& outs, int count,
                             const std::vector<VstMidiEvent>& block) {
        if (!block.empty()) session.vst().sendEvents(block);
        return session.vst().processReplacing(ins, outs, count, count);
    };
    return renderBlocks(input, output, e->numInputs, e->numOutputs, blockSize, events, progress,
                        process, error);
}

Progress terminalProgress(std::size_t frames, int rate) {
    if (!QC_ISATTY(2) || frames <= static_cast<std::size_t>(rate)) return {};
    auto last = std::make_shared<int>(-1);
    return [last](std::size_t done, std::size_t total) {
        const int percent = static_cast<int>(100 * done / total);
        if (percent == *last) return;
        *last = percent;
        const int width = 40, filled = percent * width / 100;
        std::fprintf(stderr, "\r[%s%s] %3d%%",
                     std::string(static_cast<std::size_t>(filled), '#').c_str(),
                     std::string(static_cast<std::size_t>(width - filled), ' ').c_str(), percent);
        if (done == total) std::fputc('\n', stderr);
        std::fflush(stderr);
    };
}

}  // namespace QcHost
