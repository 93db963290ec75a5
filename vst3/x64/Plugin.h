// What the VST3 module's parts share: class IDs, parameter IDs, and the two constructors the
// factory calls.
#pragma once

#include "effect/x64/QuellinCorvaneModel.h"
#include "vst3/Vst3Interface.h"

namespace QuellinCorvane::Vst3Plugin {

// The IDs that let hosts open projects saved with the VST 2.x plug-in.
inline constexpr Vst3::Uid kProcessorUid =
    Vst3::vst2ReplacementUid(kUniqueId, "Quellin Corvane", Vst3::Vst2ReplacementClass::Processor);
inline constexpr Vst3::Uid kControllerUid =
    Vst3::vst2ReplacementUid(kUniqueId, "Quellin Corvane", Vst3::Vst2ReplacementClass::Controller);

// The effect's parameters keep their VST 2.x indices as IDs for good; these two follow.
constexpr Vst3::ParamID kBypassId = 100;
constexpr Vst3::ParamID kProgramId = 101;
constexpr Vst3::ProgramListID kProgramListId = 1;

// MIDI learn. Hosts turn MIDI controllers into parameter changes (IMidiMapping): controller cc
// arrives as a change of the hidden parameter kFirstControllerId + cc, which the processor
// plays to its model as the controller message. What the processor's model learned goes back
// to the controller as a change of the hidden, read-only kLearnedId, and the editor's MIDI
// learn actions go to the processor as kMidiLearnMessage messages.
constexpr Vst3::ParamID kLearnedId = 102;
constexpr Vst3::ParamID kFirstControllerId = 1000;
constexpr int kControllerIdCount = 128;
constexpr const char* kMidiLearnMessage = "MidiLearn";
constexpr const char* kCommandKindAttribute = "kind";
constexpr const char* kCommandValueAttribute = "value";

// kLearnedId's value for controller cc bound to a parameter (both 0..127), and back; false
// for NaN and values outside 0..1.
double LearnedValue(int controllerNumber, int parameter);
bool ReadLearnedValue(double value, int& controllerNumber, int& parameter);

// A list parameter's entry for a normalised value: value x (steps + 1) truncated, the last one
// for 1.0; NaN and values outside 0..1 count as the nearest end.
int DiscreteIndex(double value, int stepCount);

// The module's one factory, with a reference added for the caller.
Vst3::IPluginFactory* TheFactory();
Vst3::FUnknown* CreateProcessor();
Vst3::FUnknown* CreateController();

}  // namespace QuellinCorvane::Vst3Plugin
