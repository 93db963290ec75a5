#include "lv2/Plugin.h"

#include <algorithm>
#include <cstring>

#include "VstToolkit/BypassedBlock.h"
#include "dsp/DenormalGuard.h"

namespace QuellinCorvane::Lv2 {
namespace {

// Room a notification needs in the notify sequence: event header, object and properties.
constexpr std::uint32_t kSmallMessageBytes = 128;
constexpr std::uint32_t kBindingsMessageBytes = 128 + kBindingCount * sizeof(std::int32_t);
// More MIDI events than the model's queue holds from the start would make it grow: the rest of
// a run's events at one frame are dropped instead.
constexpr std::uint32_t kMaxQueuedMidi =
    static_cast<std::uint32_t>(VstToolkit::MidiEventQueue::kInitialCapacity);

std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The atom that ends an item's header; the item's body follows it.
const LV2_Atom& headAtom(const LV2_Atom_Event& event) {
    return event.body;
}
const LV2_Atom& headAtom(const LV2_Atom_Property_Body& property) {
    return property.value;
}

// Calls visit for each item (event or property) of a container's body that lies wholly within
// the size the container claims, in order, until visit returns false. An item whose header or
// body runs past that end ends the walk: the host's buffer may end there.
template <typename Item, typename Visit>
void forEachItem(const void* body, std::uint64_t size, std::uint64_t firstItem, Visit visit) {
    const auto* bytes = static_cast<const std::uint8_t*>(body);
    for (std::uint64_t at = firstItem; at + sizeof(Item) <= size;) {
        const auto* item = reinterpret_cast<const Item*>(bytes + at);
        const std::uint64_t end = at + sizeof(Item) + headAtom(*item).size;
        if (end > size || !visit(*item)) return;
        at = (end + 7) & ~std::uint64_t{7};  // items are 64-bit aligned
    }
}

// An Int property of a message, when it is there, of that type and wholly inside the message.
bool intProperty(const LV2_Atom_Object& message, LV2_URID key, LV2_URID intType, int& value) {
    bool found = false;
    forEachItem<LV2_Atom_Property_Body>(
        &message.body, message.atom.size, sizeof(LV2_Atom_Object_Body),
        [&](const LV2_Atom_Property_Body& property) {
            if (property.key != key) return true;
            found = property.value.type == intType && property.value.size >= sizeof(std::int32_t);
            if (found) std::memcpy(&value, &property + 1, sizeof(std::int32_t));
            return false;
        });
    return found;
}

template <typename Visit>
void forEachEvent(const LV2_Atom_Sequence& sequence, Visit visit) {
    forEachItem<LV2_Atom_Event>(&sequence.body, sequence.atom.size, sizeof(LV2_Atom_Sequence_Body),
                                [&](const LV2_Atom_Event& event) {
                                    visit(event);
                                    return true;
                                });
}

}  // namespace

Plugin::Plugin(double sampleRate, const LV2_URID_Map& map) : urids(map) {
    model.SetSampleRate(static_cast<float>(sampleRate));
    model.SetObserver(this);
    fade.SetSampleRate(sampleRate);
    lv2_atom_forge_init(&forge, const_cast<LV2_URID_Map*>(&map));
    std::fill(std::begin(lastSeen), std::end(lastSeen), kNeverSeen);  // the first Run applies all
}

void Plugin::Connect(std::uint32_t port, void* data) {
    if (port == kInputLeft || port == kInputRight)
        audioIn[port - kInputLeft] = static_cast<const float*>(data);
    else if (port == kOutputLeft || port == kOutputRight)
        audioOut[port - kOutputLeft] = static_cast<float*>(data);
    else if (port >= kFirstParameterPort && port < kEnabledPort)
        parameterPorts[port - kFirstParameterPort] = static_cast<const float*>(data);
    else if (port == kEnabledPort)
        enabledPort = static_cast<const float*>(data);
    else if (port == kControlPort)
        controlPort = static_cast<const LV2_Atom_Sequence*>(data);
    else if (port == kNotifyPort)
        notifyPort = static_cast<LV2_Atom_Sequence*>(data);
}

void Plugin::Activate() {
    model.ApplyProgramChange();
    settleFade = true;
}

bool Plugin::AudioConnected() const {
    return audioIn[0] && audioIn[1] && audioOut[0] && audioOut[1];
}

// A port whose bits changed since the last run goes to the model at the block's start, in the
// model's terms: out-of-range values and NaN are limited as the VST builds limit them.
void Plugin::ReadControlPorts() {
    for (int i = 0; i < kParameterCount; ++i) {
        if (parameterPorts[i] == nullptr) continue;
        const float value = *parameterPorts[i];
        if (bitsOf(value) == lastSeen[i]) continue;
        lastSeen[i] = bitsOf(value);
        model.PushParameterChange(i, NormalisedFromUnits(kParameterRows[i], value), 0);
    }
    // lv2:enabled: 0 bypasses, anything above 0.5 processes; NaN keeps the state.
    if (enabledPort != nullptr && *enabledPort == *enabledPort)
        fade.SetBypassed(!(*enabledPort > 0.5f));
    if (settleFade) fade.Settle(fade.IsBypassed());
    settleFade = false;
}

void Plugin::Run(std::uint32_t frames) {
    const Dsp::DenormalGuard flushDenormals;
    notifying = false;
    lastNotified = 0;
    if (notifyPort != nullptr) {
        // The host gives the capacity in the atom's size.
        lv2_atom_forge_set_buffer(&forge, reinterpret_cast<std::uint8_t*>(notifyPort),
                                  notifyPort->atom.size);
        notifying = lv2_atom_forge_sequence_head(&forge, &notifyFrame, 0) != 0;
    }
    ReadControlPorts();
    const bool audio = AudioConnected();
    rendered = 0;
    if (controlPort != nullptr) {
        forEachEvent(*controlPort, [&](const LV2_Atom_Event& event) {
            // Events at or past the end play on the last frame.
            const std::uint32_t frame = static_cast<std::uint32_t>(
                std::clamp<std::int64_t>(event.time.frames, 0, frames > 0 ? frames - 1 : 0));
            if (event.body.type == urids.midiEvent) {
                const auto* bytes = reinterpret_cast<const std::uint8_t*>(&event + 1);
                if (!audio || event.body.size == 0 || queuedMidi >= kMaxQueuedMidi) return;
                RenderUntil(frame);
                model.PushMidiEvent({0, bytes[0], event.body.size > 1 ? bytes[1] : std::uint8_t{0},
                                     event.body.size > 2 ? bytes[2] : std::uint8_t{0}});
                ++queuedMidi;
            } else if (event.body.type == urids.atomObject &&
                       event.body.size >= sizeof(LV2_Atom_Object_Body)) {
                if (audio) RenderUntil(frame);
                HandleMessage(*reinterpret_cast<const LV2_Atom_Object*>(&event.body));
            }
        });
    }
    if (audio && frames > 0) {
        RenderUntil(frames);
    } else {
        // The settings apply all the same; MIDI waits for frames to play on.
        model.ProcessBlock(nullptr, nullptr, 0);
        for (float* out : audioOut)
            if (out != nullptr) std::fill_n(out, frames, 0.0f);
    }
    if (notifying) lv2_atom_forge_pop(&forge, &notifyFrame);
}

void Plugin::RenderUntil(std::uint32_t end) {
    while (rendered < end) {
        const std::uint32_t count =
            fade.IsProcessing() ? end - rendered : std::min(end - rendered, kScratchFrames);
        RenderPiece(rendered, count);
        rendered += count;
        queuedMidi = 0;
    }
}

void Plugin::RenderPiece(std::uint32_t offset, std::uint32_t count) {
    float* in[2] = {const_cast<float*>(audioIn[0]) + offset,
                    const_cast<float*>(audioIn[1]) + offset};  // the model only reads them
    float* out[2] = {audioOut[0] + offset, audioOut[1] + offset};
    float* const kept[2] = {dry[0], dry[1]};
    pieceStart = offset;
    VstToolkit::RenderBypassedBlock(model, fade, in, out, kept, static_cast<VstInt32>(count));
}

// The panel's actions do what the VST builds' menus do (Forget and ClearAll also end
// learning); Forget and ClearAll answer with the map.
void Plugin::HandleMessage(const LV2_Atom_Object& message) {
    using Command = VstToolkit::MidiLearnCommand;
    const LV2_URID type = message.body.otype;
    int value = 0;
    Command command{};
    if (type == urids.startLearning) {
        if (!intProperty(message, urids.parameterKey, urids.atomInt, value) || value < 0 ||
            value >= kParameterCount)
            return;
        command = {Command::kStart, value};
    } else if (type == urids.cancelLearning) {
        command = {Command::kCancel, 0};
    } else if (type == urids.forget) {
        if (!intProperty(message, urids.controllerKey, urids.atomInt, value)) return;
        command = {Command::kForget, value};  // numbers outside 0..127 unbind nothing
    } else if (type == urids.clearAll) {
        command = {Command::kClearAll, 0};
    } else {
        if (type == urids.getBindings) NotifyBindings();
        return;
    }
    {
        VstToolkit::ChangeGroup group(bindingEdits);
        model.ApplyMidiLearnCommand(command);
    }
    if (command.kind == Command::kForget || command.kind == Command::kClearAll) NotifyBindings();
}

bool Plugin::BeginNotification(LV2_Atom_Forge_Frame& frame, LV2_URID type, std::uint32_t bytes,
                               std::int64_t time) {
    if (!notifying || forge.offset + bytes > forge.size) return false;
    lastNotified = std::max(lastNotified, time);
    lv2_atom_forge_frame_time(&forge, lastNotified);
    lv2_atom_forge_object(&forge, &frame, 0, type);
    return true;
}

void Plugin::OnModelMidiLearned(VstInt32 controllerNumber, VstInt32 parameter,
                                VstInt32 deltaFrames) {
    LV2_Atom_Forge_Frame frame;
    if (!BeginNotification(frame, urids.learned, kSmallMessageBytes, pieceStart + deltaFrames))
        return;
    lv2_atom_forge_key(&forge, urids.controllerKey);
    lv2_atom_forge_int(&forge, controllerNumber);
    lv2_atom_forge_key(&forge, urids.parameterKey);
    lv2_atom_forge_int(&forge, parameter);
    lv2_atom_forge_pop(&forge, &frame);
}

void Plugin::OnModelParameterValueChanged(VstInt32 index, float value, VstInt32 deltaFrames) {
    LV2_Atom_Forge_Frame frame;
    if (index < 0 || index >= kParameterCount ||
        !BeginNotification(frame, urids.moved, kSmallMessageBytes, pieceStart + deltaFrames))
        return;
    lv2_atom_forge_key(&forge, urids.parameterKey);
    lv2_atom_forge_int(&forge, index);
    lv2_atom_forge_key(&forge, urids.valueKey);
    lv2_atom_forge_float(&forge, UnitsFor(kParameterRows[index], value));
    lv2_atom_forge_pop(&forge, &frame);
}

void Plugin::NotifyBindings() {
    LV2_Atom_Forge_Frame frame;
    if (!BeginNotification(frame, urids.bindings, kBindingsMessageBytes, rendered)) return;
    std::int32_t bindings[kBindingCount];
    SnapshotBindings(bindings);
    lv2_atom_forge_key(&forge, urids.bindingsKey);
    lv2_atom_forge_vector(&forge, sizeof(std::int32_t), urids.atomInt, kBindingCount, bindings);
    lv2_atom_forge_pop(&forge, &frame);
}

void Plugin::SnapshotBindings(std::int32_t (&bindings)[kBindingCount]) const {
    for (;;) {
        const std::uint32_t learning = model.BeginStableRead();
        const std::uint32_t edits = bindingEdits.ReadBegin();
        for (int c = 0; c < kBindingCount; ++c)
            bindings[c] = model.IsControllerMapped(c) ? model.ControllerToParameter(c) : kUnbound;
        if (model.EndStableRead(learning) && bindingEdits.ReadValid(edits)) return;
    }
}

LV2_State_Status Plugin::Save(LV2_State_Store_Function store, LV2_State_Handle handle) {
    struct {
        LV2_Atom_Vector_Body head;
        std::int32_t bindings[kBindingCount];
    } vector{};
    vector.head = {sizeof(std::int32_t), urids.atomInt};
    SnapshotBindings(vector.bindings);
    const std::int32_t version = kStateVersion;
    const std::uint32_t flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    LV2_State_Status status =
        store(handle, urids.stateVersion, &version, sizeof version, urids.atomInt, flags);
    if (status == LV2_STATE_SUCCESS)
        status = store(handle, urids.midiBindings, &vector, sizeof vector, urids.atomVector, flags);
    return status;
}

LV2_State_Status Plugin::Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle) {
    std::size_t size = 0;
    std::uint32_t type = 0, flags = 0;
    const void* version = retrieve(handle, urids.stateVersion, &size, &type, &flags);
    std::int32_t number = 0;
    if (version != nullptr) {
        if (type != urids.atomInt || size != sizeof number) return LV2_STATE_ERR_BAD_TYPE;
        std::memcpy(&number, version, sizeof number);
        if (number < 1 || number > kStateVersion) return LV2_STATE_ERR_BAD_TYPE;
    }
    const void* value = retrieve(handle, urids.midiBindings, &size, &type, &flags);
    if (value == nullptr) return LV2_STATE_SUCCESS;
    const auto* head = static_cast<const LV2_Atom_Vector_Body*>(value);
    if (type != urids.atomVector || size != sizeof *head + kBindingCount * sizeof(std::int32_t) ||
        head->child_type != urids.atomInt || head->child_size != sizeof(std::int32_t))
        return LV2_STATE_ERR_BAD_TYPE;
    const auto* bytes = static_cast<const unsigned char*>(value) + sizeof *head;
    for (int c = 0; c < kBindingCount; ++c) {
        std::int32_t parameter = kUnbound;
        std::memcpy(&parameter, bytes + c * sizeof parameter, sizeof parameter);
        if (parameter >= 0 && parameter < kParameterCount)
            model.RegisterMidiControllerMapping(c, parameter);
        else
            model.UnregisterMidiControllerMapping(c);
    }
    return LV2_STATE_SUCCESS;
}

}  // namespace QuellinCorvane::Lv2
