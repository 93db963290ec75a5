// The audio side: one stereo input and output bus, an event input bus for MIDI learn, the
// effect's model driven on the audio thread, and the bypass crossfade.
//
// MIDI controllers arrive as changes of the controllers' hidden parameters (see Plugin.h) and
// are played to the model as controller messages at their offsets, so learning and bound
// controllers behave as in the VST 2.x plug-in. What the model then does on its own, a binding
// learned or a value moved by a bound controller, goes back to the host as output parameter
// changes at the same offset.
//
// Threads: the host calls setupProcessing, setState, getState, notify and the bus methods on
// its user-interface thread, process on its audio thread, and never setupProcessing during
// process. The model's own hand-over carries setState's changes to the render state, and its
// MIDI learn fields are atomics written by either thread (notify's commands, learning); the
// fields below are the audio thread's alone (scratch buffers and the fade are set up in
// setupProcessing, while the host does not process).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "dsp/BypassFade.h"
#include "vst3/ComObject.h"
#include "vst3/x64/Plugin.h"
#include "vst3/x64/State.h"
#include "vst3/x64/Text.h"

namespace QuellinCorvane::Vst3Plugin {
namespace {

using namespace Vst3;

constexpr int kChannels = 2;
constexpr int32 kMidiChannels = 16;
constexpr std::uint8_t kControlChange = 0xB0;
// Points beyond this in one block are dropped; hosts send a few per parameter. The model's
// queue holds this many from the start, so the audio thread never grows it.
constexpr int kMaxPoints = static_cast<int>(VstToolkit::ParameterChangeQueue::kInitialCapacity);
constexpr int32 kMaxBlock = 1 << 20;

// A parameter change, or a controller message when controller is 0..127.
struct Point {
    int32 offset;
    int32 index;
    float value;
    int32 controller;
};

bool isEventInput(MediaType type, BusDirection dir, int32 index) {
    return type == kEvent && dir == kInput && index == 0;
}

class Processor final : public ComObject<Processor, IComponent, IAudioProcessor, IConnectionPoint>,
                        public VstToolkit::ModelObserver {
public:
    Processor() {
        fade.SetSampleRate(model.GetSampleRate());
        model.SetObserver(this);
    }

    // IPluginBase
    tresult VST3_API initialize(FUnknown*) override { return kResultOk; }
    tresult VST3_API terminate() override { return kResultOk; }

    // IComponent
    tresult VST3_API getControllerClassId(TUID classId) override {
        if (classId == nullptr) return kInvalidArgument;
        std::memcpy(classId, kControllerUid.bytes, sizeof(TUID));
        return kResultOk;
    }
    tresult VST3_API setIoMode(IoMode) override { return kResultOk; }
    int32 VST3_API getBusCount(MediaType type, BusDirection dir) override {
        return type == kAudio || (type == kEvent && dir == kInput) ? 1 : 0;
    }
    tresult VST3_API getBusInfo(MediaType type, BusDirection dir, int32 index,
                                BusInfo& bus) override {
        if (isEventInput(type, dir, index)) {
            bus = {};
            bus.mediaType = kEvent;
            bus.direction = kInput;
            bus.channelCount = kMidiChannels;
            CopyText(bus.name, 128, "MIDI In");
            bus.busType = kMain;
            bus.flags = BusInfo::kDefaultActive;
            return kResultOk;
        }
        if (type != kAudio || index != 0 || (dir != kInput && dir != Vst3::kOutput))
            return kInvalidArgument;
        bus = {};
        bus.mediaType = kAudio;
        bus.direction = dir;
        bus.channelCount = kChannels;
        CopyText(bus.name, 128, dir == kInput ? "Input" : "Output");
        bus.busType = kMain;
        bus.flags = BusInfo::kDefaultActive;
        return kResultOk;
    }
    tresult VST3_API getRoutingInfo(RoutingInfo&, RoutingInfo&) override { return kNotImplemented; }
    tresult VST3_API activateBus(MediaType type, BusDirection dir, int32 index, TBool) override {
        return (type == kAudio && index == 0) || isEventInput(type, dir, index) ? kResultOk
                                                                                : kInvalidArgument;
    }
    tresult VST3_API setActive(TBool) override { return kResultOk; }
    tresult VST3_API setState(IBStream* state) override {
        Bytes bytes;
        if (!ReadStream(state, bytes)) return kResultFalse;
        return LoadState(model, bytes) ? kResultOk : kResultFalse;
    }
    tresult VST3_API getState(IBStream* state) override {
        return WriteStream(state, SaveState(model)) ? kResultOk : kResultFalse;
    }

    // IAudioProcessor
    // Stereo in, stereo out, and nothing else: the host keeps the default then.
    tresult VST3_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                        SpeakerArrangement* outputs, int32 numOuts) override {
        const bool stereo = numIns == 1 && numOuts == 1 && inputs != nullptr &&
                            outputs != nullptr && inputs[0] == SpeakerArr::kStereo &&
                            outputs[0] == SpeakerArr::kStereo;
        return stereo ? kResultTrue : kResultFalse;
    }
    tresult VST3_API getBusArrangement(BusDirection dir, int32 index,
                                       SpeakerArrangement& arr) override {
        if (index != 0 || (dir != kInput && dir != Vst3::kOutput)) return kInvalidArgument;
        arr = SpeakerArr::kStereo;
        return kResultOk;
    }
    tresult VST3_API canProcessSampleSize(int32 size) override {
        return size == kSample32 ? kResultTrue : kResultFalse;
    }
    uint32 VST3_API getLatencySamples() override { return 0; }
    // A rate that is not a positive finite number keeps the previous one; so does a block size
    // outside 1 .. 2^20 for the bypass's scratch buffers.
    tresult VST3_API setupProcessing(ProcessSetup& setup) override {
        if (setup.symbolicSampleSize != kSample32) return kResultFalse;
        if (std::isfinite(setup.sampleRate) && setup.sampleRate > 0.0) {
            model.SetSampleRate(static_cast<float>(setup.sampleRate));
            fade.SetSampleRate(setup.sampleRate);
        }
        if (setup.maxSamplesPerBlock > 0 && setup.maxSamplesPerBlock <= kMaxBlock)
            for (auto& channel : dry) channel.assign(setup.maxSamplesPerBlock, 0.0f);
        return kResultOk;
    }
    tresult VST3_API setProcessing(TBool) override { return kResultOk; }
    tresult VST3_API process(ProcessData& data) override;
    uint32 VST3_API getTailSamples() override { return kNoTail; }

    // IConnectionPoint: the controller sends the editor's MIDI learn actions; nothing goes
    // the other way.
    tresult VST3_API connect(IConnectionPoint* other) override {
        return other != nullptr ? kResultOk : kInvalidArgument;
    }
    tresult VST3_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult VST3_API notify(IMessage* message) override;

    // ModelObserver, audio thread, inside process.
    void OnModelParameterValueChanged(VstInt32 index, float value, VstInt32 deltaFrames) override {
        Report(static_cast<ParamID>(index), value, deltaFrames);
    }
    void OnModelMidiLearned(VstInt32 controllerNumber, VstInt32 parameter,
                            VstInt32 deltaFrames) override {
        Report(kLearnedId, LearnedValue(controllerNumber, parameter), deltaFrames);
    }

private:
    void ReadChanges(IParameterChanges* changes);
    tresult Render(ProcessData& data);
    // Adds a point to the block's output changes, at an offset inside the block.
    void Report(ParamID id, ParamValue value, int32 offset);

    QuellinCorvaneModel model;
    Dsp::BypassFade fade;
    std::vector<float> dry[kChannels];
    Point points[kMaxPoints];
    // The block's output changes and length while process runs; null otherwise.
    IParameterChanges* outputChanges = nullptr;
    int32 blockFrames = 0;
};

tresult VST3_API Processor::notify(IMessage* message) {
    if (message == nullptr || message->getMessageID() == nullptr ||
        std::strcmp(message->getMessageID(), kMidiLearnMessage) != 0)
        return kResultFalse;
    IAttributeList* attributes = message->getAttributes();
    int64 kind = -1;
    int64 value = 0;
    if (attributes == nullptr || attributes->getInt(kCommandKindAttribute, kind) != kResultOk ||
        attributes->getInt(kCommandValueAttribute, value) != kResultOk)
        return kInvalidArgument;
    // The editor only ever names a parameter or a controller; anything else is refused.
    const bool known = kind >= VstToolkit::MidiLearnCommand::kStart &&
                       kind <= VstToolkit::MidiLearnCommand::kClearAll;
    const bool inRange =
        value >= 0 && value < (kind == VstToolkit::MidiLearnCommand::kStart
                                   ? static_cast<int64>(kParameterCount)
                                   : static_cast<int64>(VstToolkit::Model::kControllerCount));
    if (!known || !inRange) return kInvalidArgument;
    model.ApplyMidiLearnCommand(
        {static_cast<VstToolkit::MidiLearnCommand::Kind>(kind), static_cast<VstInt32>(value)});
    return kResultOk;
}

void Processor::Report(ParamID id, ParamValue value, int32 offset) {
    if (outputChanges == nullptr) return;
    int32 index = 0;
    IParamValueQueue* queue = outputChanges->addParameterData(id, index);
    if (queue != nullptr)
        queue->addPoint(std::clamp(offset, 0, std::max(0, blockFrames - 1)), value, index);
}

// Every point of every queue of the effect's parameters goes to the model sorted by offset;
// the bypass and the program take their queue's last point at the start of the block. Points
// with a NaN value are skipped; others are limited to 0..1.
void Processor::ReadChanges(IParameterChanges* changes) {
    if (changes == nullptr) return;
    int count = 0;
    const int32 queues = changes->getParameterCount();
    for (int32 q = 0; q < queues; ++q) {
        IParamValueQueue* queue = changes->getParameterData(q);
        if (queue == nullptr) continue;
        const ParamID id = queue->getParameterId();
        const int32 n = queue->getPointCount();
        for (int32 i = 0; i < n; ++i) {
            int32 offset = 0;
            ParamValue value = 0.0;
            if (queue->getPoint(i, offset, value) != kResultOk || std::isnan(value)) continue;
            value = std::clamp(value, 0.0, 1.0);
            if (id == kBypassId) {
                fade.SetBypassed(value >= 0.5);
            } else if (id == kProgramId) {
                if (i == n - 1)
                    model.SelectProgramFromAudio(DiscreteIndex(value, kProgramCount - 1));
            } else if (id < static_cast<ParamID>(kParameterCount) && count < kMaxPoints) {
                points[count++] = {offset, static_cast<int32>(id), static_cast<float>(value), -1};
            } else if (id >= kFirstControllerId && id < kFirstControllerId + kControllerIdCount &&
                       count < kMaxPoints) {
                const auto controller = static_cast<int32>(id - kFirstControllerId);
                points[count++] = {offset, 0, static_cast<float>(value), controller};
            }
        }
    }
    // Insertion sort: stable, in place, and nearly free on the sorted runs hosts send.
    for (int i = 1; i < count; ++i) {
        const Point p = points[i];
        int j = i;
        for (; j > 0 && points[j - 1].offset > p.offset; --j) points[j] = points[j - 1];
        points[j] = p;
    }
    for (int i = 0; i < count; ++i) {
        const Point& p = points[i];
        if (p.controller >= 0)
            model.PushMidiEvent({p.offset, kControlChange, static_cast<std::uint8_t>(p.controller),
                                 static_cast<std::uint8_t>(std::lround(p.value * 127.0f))});
        else
            model.PushParameterChange(p.index, p.value, p.offset);
    }
}

// Output silence flags are always cleared: never claiming silence is always correct, and the
// filters ring on after the input falls silent. Anything but one stereo pair of channels
// (setBusArrangements refuses other buses; a host may still pass null channels) is not
// processed: the parameter changes still apply and any output channels given are zeroed.
tresult VST3_API Processor::process(ProcessData& data) {
    if (data.symbolicSampleSize != kSample32) return kInvalidArgument;
    // Render's model calls report to the block's output changes through these.
    outputChanges = data.outputParameterChanges;
    blockFrames = data.numSamples;
    const tresult result = Render(data);
    outputChanges = nullptr;
    return result;
}

tresult Processor::Render(ProcessData& data) {
    ReadChanges(data.inputParameterChanges);
    const int32 frames = data.numSamples;
    const bool stereo =
        frames > 0 && data.numInputs >= 1 && data.numOutputs >= 1 && data.inputs != nullptr &&
        data.outputs != nullptr && data.inputs[0].numChannels == kChannels &&
        data.outputs[0].numChannels == kChannels && data.inputs[0].channelBuffers32 != nullptr &&
        data.outputs[0].channelBuffers32 != nullptr && data.inputs[0].channelBuffers32[0] &&
        data.inputs[0].channelBuffers32[1] && data.outputs[0].channelBuffers32[0] &&
        data.outputs[0].channelBuffers32[1];
    if (!stereo) {
        model.ProcessBlock(nullptr, nullptr, 0);
        for (int32 b = 0; frames > 0 && data.outputs != nullptr && b < data.numOutputs; ++b) {
            AudioBusBuffers& bus = data.outputs[b];
            for (int32 c = 0; bus.channelBuffers32 != nullptr && c < bus.numChannels; ++c)
                if (bus.channelBuffers32[c] != nullptr)
                    std::fill_n(bus.channelBuffers32[c], frames, 0.0f);
        }
        return kResultOk;
    }
    float** in = data.inputs[0].channelBuffers32;
    float** out = data.outputs[0].channelBuffers32;
    data.outputs[0].silenceFlags = 0;
    if (fade.IsProcessing()) {
        model.ProcessBlock(in, out, frames);
        return kResultOk;
    }
    // A block longer than announced has no room for a fade: the input passes as it is, and the
    // parameter changes apply without rendering.
    if (static_cast<std::size_t>(frames) > dry[0].size()) {
        model.ProcessBlock(nullptr, nullptr, 0);
        for (int c = 0; c < kChannels; ++c)
            if (in[c] != out[c]) std::memmove(out[c], in[c], sizeof(float) * frames);
        return kResultOk;
    }
    // The input is kept first: the host may process in place.
    float* dryChannels[kChannels];
    for (int c = 0; c < kChannels; ++c) {
        std::memcpy(dry[c].data(), in[c], sizeof(float) * frames);
        dryChannels[c] = dry[c].data();
    }
    model.ProcessBlock(dryChannels, out, frames);
    fade.Mix(dryChannels, out, kChannels, frames);
    return kResultOk;
}

}  // namespace

int DiscreteIndex(double value, int stepCount) {
    if (!(value > 0.0)) return 0;
    if (value >= 1.0) return stepCount;
    return std::min(stepCount, static_cast<int>(value * (stepCount + 1)));
}

double LearnedValue(int controllerNumber, int parameter) {
    return (controllerNumber * 128 + parameter) / 16383.0;
}

bool ReadLearnedValue(double value, int& controllerNumber, int& parameter) {
    if (!(value >= 0.0 && value <= 1.0)) return false;
    const long code = std::lround(value * 16383.0);
    controllerNumber = static_cast<int>(code / 128);
    parameter = static_cast<int>(code % 128);
    return true;
}

FUnknown* CreateProcessor() {
    return static_cast<IComponent*>(new Processor());
}

}  // namespace QuellinCorvane::Vst3Plugin
