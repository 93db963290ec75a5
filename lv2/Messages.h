// What the plug-in and its panel say to each other over the atom ports, and the keys of the
// plug-in's state. Every message is an atom:Object (id 0) whose type is one of the URIs below.
//
// Panel -> plug-in, on the control port, in frame order with the MIDI events (a message acts
// before MIDI events of its own frame):
//   StartLearning { parameter: Int }   the next controller moved binds to parameter 0..4
//   CancelLearning {}                  stop learning, nothing bound
//   Forget { controller: Int }         unbind controller 0..127; ends learning
//   ClearAll {}                        unbind every controller; ends learning
//   GetBindings {}                     ask for Bindings
// Plug-in -> panel, on the notify port, at the frame where each happened:
//   Learned { controller: Int, parameter: Int }   learning bound a controller
//   Moved { parameter: Int, value: Float }        a learned controller moved a parameter; value
//                                                 in the port's units, for the panel to write
//                                                 to that port (the plug-in cannot)
//   Bindings { bindings: Vector of 128 Int }      by controller: its parameter, or -1; the
//                                                 answer to GetBindings, Forget and ClearAll
// Anything else, and values out of range, are ignored.
//
// State (flags POD | PORTABLE): stateVersion (Int, kStateVersion) and midiBindings (Vector of
// 128 Int, as in Bindings). The port values are the host's to keep.
#pragma once

#include <lv2/atom/atom.h>
#include <lv2/midi/midi.h>
#include <lv2/urid/urid.h>

namespace QuellinCorvane::Lv2 {

#define QC_LV2_URI "https://quellin.example/plugins/corvane"
inline constexpr const char* kStartLearningUri = QC_LV2_URI "#StartLearning";
inline constexpr const char* kCancelLearningUri = QC_LV2_URI "#CancelLearning";
inline constexpr const char* kForgetUri = QC_LV2_URI "#Forget";
inline constexpr const char* kClearAllUri = QC_LV2_URI "#ClearAll";
inline constexpr const char* kGetBindingsUri = QC_LV2_URI "#GetBindings";
inline constexpr const char* kLearnedUri = QC_LV2_URI "#Learned";
inline constexpr const char* kMovedUri = QC_LV2_URI "#Moved";
inline constexpr const char* kBindingsUri = QC_LV2_URI "#Bindings";
inline constexpr const char* kParameterKeyUri = QC_LV2_URI "#parameter";
inline constexpr const char* kControllerKeyUri = QC_LV2_URI "#controller";
inline constexpr const char* kValueKeyUri = QC_LV2_URI "#value";
inline constexpr const char* kBindingsKeyUri = QC_LV2_URI "#bindings";
inline constexpr const char* kStateVersionUri = QC_LV2_URI "#stateVersion";
inline constexpr const char* kMidiBindingsUri = QC_LV2_URI "#midiBindings";
#undef QC_LV2_URI

inline constexpr int kStateVersion = 1;
inline constexpr int kBindingCount = 128;  // MIDI controllers 0..127
inline constexpr int kUnbound = -1;

struct Urids {
    LV2_URID atomInt, atomFloat, atomVector, atomObject, atomSequence, midiEvent;
    LV2_URID startLearning, cancelLearning, forget, clearAll, getBindings;
    LV2_URID learned, moved, bindings;
    LV2_URID parameterKey, controllerKey, valueKey, bindingsKey;
    LV2_URID stateVersion, midiBindings;

    explicit Urids(const LV2_URID_Map& map) {
        auto id = [&map](const char* uri) { return map.map(map.handle, uri); };
        atomInt = id(LV2_ATOM__Int);
        atomFloat = id(LV2_ATOM__Float);
        atomVector = id(LV2_ATOM__Vector);
        atomObject = id(LV2_ATOM__Object);
        atomSequence = id(LV2_ATOM__Sequence);
        midiEvent = id(LV2_MIDI__MidiEvent);
        startLearning = id(kStartLearningUri);
        cancelLearning = id(kCancelLearningUri);
        forget = id(kForgetUri);
        clearAll = id(kClearAllUri);
        getBindings = id(kGetBindingsUri);
        learned = id(kLearnedUri);
        moved = id(kMovedUri);
        bindings = id(kBindingsUri);
        parameterKey = id(kParameterKeyUri);
        controllerKey = id(kControllerKeyUri);
        valueKey = id(kValueKeyUri);
        bindingsKey = id(kBindingsKeyUri);
        stateVersion = id(kStateVersionUri);
        midiBindings = id(kMidiBindingsUri);
    }
};

}  // namespace QuellinCorvane::Lv2
