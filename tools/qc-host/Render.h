// Runs audio through a prepared instance block by block, with timed MIDI controller changes
// delivered at their sample offsets.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/qc-host/Session.h"
#include "tools/qc-host/Wav.h"

namespace QcHost {

struct TimedEvent {
    long long frame = 0;
    VstMidiEvent event{};
};

// The --midi file: one event per line, "SECONDS cc CHANNEL CONTROLLER VALUE" with channel
// 1-16, controller and value 0-127; blank lines and text after '#' are ignored. Sorted by time.
bool parseMidiEvents(const std::string& text, double rate, std::vector<TimedEvent>& events,
                     std::string& error);
bool readMidiEvents(const std::string& path, double rate, std::vector<TimedEvent>& events,
                    std::string& error);

// Called after each block with the frames done so far.
using Progress = std::function<void(std::size_t done, std::size_t total)>;

// One block through a plug-in of either format: the channel pointers, the frames, and the
// block's events with their offsets in it. False when the call could not be made.
using BlockProcess = std::function<bool(std::vector<float*>& ins, std::vector<float*>& outs,
                                        int frames, const std::vector<VstMidiEvent>& events)>;

// The block loop render() runs, for a plug-in with these numbers of inputs and outputs.
bool renderBlocks(const Audio& input, Audio& output, int inputs, int outputs, int blockSize,
                  const std::vector<TimedEvent>& events, const Progress& progress,
                  const BlockProcess& process, std::string& error);

// Feeds input channel i to plug-in input i; a mono input feeds every plug-in input. The output
// has one channel per plug-in output. Events past the end are dropped.
bool render(Session& session, const Audio& input, Audio& output, int blockSize,
            const std::vector<TimedEvent>& events, const Progress& progress, std::string& error);

// A progress bar on stderr, drawn only when stderr is a terminal and the input lasts longer
// than a second.
Progress terminalProgress(std::size_t frames, int rate);

}  // namespace QcHost
