// A Model with three parameters and four programs that records what the framework asks of it:
// the pieces Process was called for and every hook, in order.
#pragma once

#include <string>
#include <vector>

#include "VstToolkit/Model.h"

namespace TestSupport {

inline const VstToolkit::ParameterInfo kRecordingParameters[] = {
    {"First Parameter", "First", "Hz", 0.25f},
    {"Second Parameter With A Long Name", "Second1234", "dB", 0.5f},
    {"Third", "Third", "", 1.0f},
};

inline const VstToolkit::PluginDescription kRecordingDescription = {
    "Recording Model",
    "Quellin Test Vendor",
    "Recording Product",
    0x12345678,
    300,
    1,
    4,
    2,
    2,
    "Init",
    kRecordingParameters,
    3,
};

struct Piece {
    VstInt32 offset;
    VstInt32 count;
    bool operator==(const Piece& other) const {
        return offset == other.offset && count == other.count;
    }
};

class RecordingModel : public VstToolkit::Model {
public:
    RecordingModel() : Model(kRecordingDescription) {}

    void Process(float**, float**, VstInt32 offset, VstInt32 count) override {
        pieces.push_back({offset, count});
        log.push_back("process " + std::to_string(offset) + " " + std::to_string(count));
    }
    void OnSampleRateChanged(float previous, float current) override {
        log.push_back("rate " + std::to_string(previous) + " " + std::to_string(current));
    }
    void OnTempoChanged(double, double current) override {
        log.push_back("tempo " + std::to_string(current));
    }
    void OnPositionChanged(double, double current) override {
        log.push_back("position " + std::to_string(current));
    }
    void OnTransportChanged(bool playing) override {
        log.push_back(playing ? "playing" : "stopped");
    }
    void OnTimeSignatureChanged(VstInt32, VstInt32, VstInt32 numerator,
                                VstInt32 denominator) override {
        log.push_back("signature " + std::to_string(numerator) + "/" + std::to_string(denominator));
    }
    void OnSelectedProgramChanged(VstInt32 previous, VstInt32 current) override {
        log.push_back("program " + std::to_string(previous) + " " + std::to_string(current));
    }
    void OnParameterValueChanged(VstInt32 index, float previous, float current) override {
        log.push_back("parameter " + std::to_string(index) + " " + std::to_string(previous) + " " +
                      std::to_string(current));
    }
    void OnNoteOn(VstInt32 d, VstInt32 channel, VstInt32 note, VstInt32 velocity) override {
        midi("noteOn", d, channel, note, velocity);
    }
    void OnNoteOff(VstInt32 d, VstInt32 channel, VstInt32 note, VstInt32 velocity) override {
        midi("noteOff", d, channel, note, velocity);
    }
    void OnPolyPressure(VstInt32 d, VstInt32 channel, VstInt32 note, VstInt32 value) override {
        midi("polyPressure", d, channel, note, value);
    }
    void OnControlChange(VstInt32 d, VstInt32 channel, VstInt32 number, VstInt32 value) override {
        midi("controlChange", d, channel, number, value);
    }
    void OnProgramChange(VstInt32 d, VstInt32 channel, VstInt32 program) override {
        midi("programChange", d, channel, program);
    }
    void OnChannelPressure(VstInt32 d, VstInt32 channel, VstInt32 pressure) override {
        midi("channelPressure", d, channel, pressure);
    }
    void OnPitchBend(VstInt32 d, VstInt32 channel, VstInt32 value) override {
        midi("pitchBend", d, channel, value);
    }
    void OnSustainOn(VstInt32 d, VstInt32 channel) override { midi("sustainOn", d, channel); }
    void OnSustainOff(VstInt32 d, VstInt32 channel) override { midi("sustainOff", d, channel); }

    std::vector<Piece> pieces;
    std::vector<std::string> log;

private:
    template <typename... Values>
    void midi(const char* name, Values... values) {
        std::string line = name;
        ((line += " " + std::to_string(values)), ...);
        log.push_back(line);
    }
};

inline VstToolkit::MidiEvent midiEvent(VstInt32 deltaFrames, int status, int data1, int data2) {
    return {deltaFrames, static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(data1),
            static_cast<std::uint8_t>(data2)};
}

}  // namespace TestSupport
