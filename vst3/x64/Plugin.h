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

// A list parameter's entry for a normalised value: value x (steps + 1) truncated, the last one
// for 1.0; NaN and values outside 0..1 count as the nearest end.
int DiscreteIndex(double value, int stepCount);

// The module's one factory, with a reference added for the caller.
Vst3::IPluginFactory* TheFactory();
Vst3::FUnknown* CreateProcessor();
Vst3::FUnknown* CreateController();

}  // namespace QuellinCorvane::Vst3Plugin
