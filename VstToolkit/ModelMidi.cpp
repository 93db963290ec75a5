// MIDI handling of the Model: the block renderer that replays queued events at their sample
// offsets, channel-message decoding, and MIDI learn over the 128-entry controller map.
#include <algorithm>

#include "VstToolkit/Model.h"
#include "vst/platform/Trace.h"

using Platform::Trace;

namespace VstToolkit {
namespace {

// The single-precision value nearest to 1/127 (bits 0x3C010204): 127 maps to exactly 1.0.
constexpr float kControllerStep = 0x1.020408p-7f;
constexpr VstInt32 kSustainController = 64;

bool isDataByte(std::uint8_t byte) {
    return byte < 0x80;
}

}  // namespace

void Model::PushMidiEvent(const MidiEvent& event) {
    Trace("Model::PushMidiEvent\r\n");
    midiEvents.PushBack(event);
}

void Model::PushParameterChange(VstInt32 index, float value, VstInt32 deltaFrames) {
    if (index < 0 || index >= parameterCount) return;
    parameterChanges.PushBack({deltaFrames, index, value});
}

void Model::SelectProgramFromAudio(VstInt32 index) {
    if (index < 0 || index >= programCount) return;
    {
        ChangeGroup group(audioChanges);
        const VstInt32 previous = GetSelectedProgramIndex();
        selectedProgram.store(index, std::memory_order_release);
        OnSelectedProgramChanged(previous, index);
    }
    ApplyProgramChange();
    for (VstInt32 i = 0; i < parameterCount; ++i) ApplyParameterValue(i, ProgramValue(index, i));
}

bool Model::DispatchNext() {
    const bool midiFirst = parameterChanges.Empty() ||
                           (!midiEvents.Empty() &&
                            midiEvents.Front().deltaFrames <= parameterChanges.Front().deltaFrames);
    if (midiFirst) {
        if (midiEvents.Empty()) return false;
        DispatchEvent(midiEvents.PopFront());
    } else {
        const ParameterChange change = parameterChanges.PopFront();
        SetParameterValueFromAudio(change.index, change.value);
    }
    return true;
}

void Model::ProcessBlock(float** inputs, float** outputs, VstInt32 sampleFrames) {
    // While the user-interface thread is in the middle of a change, the block is rendered with
    // the state of the previous one; the change arrives with a later block.
    SyncRenderState();
    if (sampleFrames <= 0) {
        // A block without audio is how VST3 hosts send parameter changes on their own: those
        // take effect now. MIDI events wait for the next block.
        while (!parameterChanges.Empty()) {
            const ParameterChange change = parameterChanges.PopFront();
            SetParameterValueFromAudio(change.index, change.value);
        }
        return;
    }
    VstInt32 rendered = 0;
    while ((!midiEvents.Empty() || !parameterChanges.Empty()) && rendered < sampleFrames) {
        const VstInt32 next =
            midiEvents.Empty() ? parameterChanges.Front().deltaFrames
            : parameterChanges.Empty()
                ? midiEvents.Front().deltaFrames
                : std::min(midiEvents.Front().deltaFrames, parameterChanges.Front().deltaFrames);
        // An offset behind the previous one plays where the block already is, so no frame is
        // rendered twice; one beyond the block plays at its end.
        const VstInt32 offset = std::min(std::max(next, rendered), sampleFrames);
        Process(inputs, outputs, rendered, offset - rendered);
        DispatchNext();
        rendered = offset;
    }
    if (rendered < sampleFrames) Process(inputs, outputs, rendered, sampleFrames - rendered);
    // Whatever is left lies at or beyond the end: it is played now, never in the next block.
    while (DispatchNext()) {
    }
}

void Model::DispatchEvent(const MidiEvent& event) {
    const std::uint8_t status = event.status;
    if (status < 0x80 || status >= 0xF0) return;
    const VstInt32 d = event.deltaFrames;
    const VstInt32 channel = status & 0x0F;
    const VstInt32 data1 = event.data1;
    const VstInt32 data2 = event.data2;
    switch (status & 0xF0) {
        case 0x80: OnNoteOff(d, channel, data1, data2); break;
        case 0x90:
            if (data2 != 0)
                OnNoteOn(d, channel, data1, data2);
            else
                OnNoteOff(d, channel, data1, data2);
            break;
        case 0xA0: OnPolyPressure(d, channel, data1, data2); break;
        case 0xB0:
            // A controller message with a data byte above 127 is malformed: it would name a
            // controller the map does not have, or a value beyond 1.0.
            if (!isDataByte(event.data1) || !isDataByte(event.data2)) return;
            DispatchController(d, channel, data1, data2);
            OnControlChange(d, channel, data1, data2);
            break;
        case 0xC0: OnProgramChange(d, channel, data1); break;
        case 0xD0: OnChannelPressure(d, channel, data1); break;
        case 0xE0: OnPitchBend(d, channel, data2 * 128 + data1); break;
        default: break;
    }
}

bool Model::IsLearningMidi() const {
    Trace("Model::IsLearningMidi\r\n");
    return learningParameter.load(std::memory_order_acquire) != kNotLearning;
}

void Model::StartLearningMidi(VstInt32 parameter) {
    Trace("Model::StartLearningMidi\r\n");
    learningParameter.store(parameter, std::memory_order_release);
}

void Model::StopLearningMidi() {
    Trace("Model::StopLearningMidi\r\n");
    learningParameter.store(kNotLearning, std::memory_order_release);
}

VstInt32 Model::ControllerToParameter(VstInt32 controllerNumber) const {
    Trace("Model::ControllerToParameter\r\n");
    const VstInt32 parameter = midiControllerMap[controllerNumber].load(std::memory_order_acquire);
    return parameter == kUnmapped ? 0 : parameter;
}

VstInt32 Model::ParameterToController(VstInt32 parameter) const {
    Trace("Model::ParameterToController\r\n");
    for (VstInt32 c = 0; c < kControllerCount; ++c)
        if (midiControllerMap[c].load(std::memory_order_acquire) == parameter) return c;
    return kControllerCount;
}

bool Model::IsControllerMapped(VstInt32 controllerNumber) const {
    return controllerNumber >= 0 && controllerNumber < kControllerCount &&
           midiControllerMap[controllerNumber].load(std::memory_order_acquire) != kUnmapped;
}

void Model::RegisterMidiControllerMapping(VstInt32 controllerNumber, VstInt32 parameter) {
    Trace("Model::RegisterMidiControllerMapping\r\n");
    if (controllerNumber < 0 || controllerNumber >= kControllerCount || parameter < 0) return;
    midiControllerMap[controllerNumber].store(parameter, std::memory_order_release);
}

void Model::UnregisterMidiControllerMapping(VstInt32 controllerNumber) {
    Trace("Model::UnregisterMidiControllerMapping\r\n");
    if (controllerNumber < 0 || controllerNumber >= kControllerCount) return;
    midiControllerMap[controllerNumber].store(kUnmapped, std::memory_order_release);
}

void Model::ClearMidiControllerMap() {
    Trace("Model::ClearMidiControllerMap\r\n");
    for (auto& entry : midiControllerMap) entry.store(kUnmapped, std::memory_order_release);
}

void Model::BindLearnedController(VstInt32 controllerNumber, VstInt32 parameter) {
    const VstInt32 previous = ParameterToController(parameter);
    if (previous < kControllerCount) UnregisterMidiControllerMapping(previous);
    RegisterMidiControllerMapping(controllerNumber, parameter);
}

void Model::ApplyMidiLearnCommand(const MidiLearnCommand& command) {
    switch (command.kind) {
        case MidiLearnCommand::kStart: StartLearningMidi(command.value); break;
        case MidiLearnCommand::kCancel: StopLearningMidi(); break;
        case MidiLearnCommand::kForget:
            StopLearningMidi();
            UnregisterMidiControllerMapping(command.value);
            break;
        case MidiLearnCommand::kClearAll:
            ClearMidiControllerMap();
            StopLearningMidi();
            break;
        default: return;  // not a command: nothing to pass on
    }
    if (observer != nullptr) observer->OnModelMidiLearnCommand(command);
}

void Model::DispatchController(VstInt32 deltaFrames, VstInt32 channel, VstInt32 controllerNumber,
                               VstInt32 value) {
    Trace("Model::DispatchController\r\n");
    if (controllerNumber < 0 || controllerNumber >= kControllerCount) return;
    VstInt32 learned = learningParameter.load(std::memory_order_acquire);
    // Ending the learning first means a menu that starts or cancels learning at this moment
    // either comes before this message (and is ended by it) or after it (and stays).
    if (learned != kNotLearning && learningParameter.compare_exchange_strong(
                                       learned, kNotLearning, std::memory_order_acq_rel)) {
        {
            ChangeGroup group(audioChanges);
            BindLearnedController(controllerNumber, learned);
        }
        if (observer != nullptr)
            observer->OnModelMidiLearned(controllerNumber, learned, deltaFrames);
    } else if (observer != nullptr && IsControllerMapped(controllerNumber)) {
        const VstInt32 parameter = ControllerToParameter(controllerNumber);
        if (parameter < parameterCount) {
            const float normalised = static_cast<float>(value) * kControllerStep;
            SetParameterValueFromAudio(parameter, normalised);
            observer->OnModelParameterValueChanged(parameter, normalised, deltaFrames);
        }
    }
    if (controllerNumber == kSustainController) {
        if (value >= 64)
            OnSustainOn(deltaFrames, channel);
        else
            OnSustainOff(deltaFrames, channel);
    }
}

}  // namespace VstToolkit
