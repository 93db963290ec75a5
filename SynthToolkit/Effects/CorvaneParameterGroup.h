// The effect's five parameters as one group, in the order of their global indices.
#pragma once

#include "SynthToolkit/Effects/Corvane.h"
#include "SynthToolkit/Parameters/FloatDisplay.h"
#include "SynthToolkit/Parameters/Labels.h"
#include "SynthToolkit/Parameters/LevelDisplay.h"
#include "SynthToolkit/Parameters/LevelTransform.h"
#include "SynthToolkit/Parameters/LinearTransform.h"
#include "SynthToolkit/Parameters/Parameter.h"
#include "SynthToolkit/Parameters/ParameterGroupBase.h"
#include "SynthToolkit/Parameters/ScaledFloatDisplay.h"
#include "SynthToolkit/Parameters/SelectionParameter.h"
#include "SynthToolkit/Parameters/SmoothParameter.h"

namespace SynthToolkit::Effects {

namespace CorvaneParameters {

enum Index : int { kOutput = 0, kCutoffFrequency, kFilterSlope, kStereoSpread, kBassAmp, kCount };

constexpr int kChoiceCount = 4;
// The tables live as long as the program: the selections keep a pointer to their label.
inline const char* const kOutputChoices[kChoiceCount] = {"Off", "Low", "High", "Both"};
inline const char* const kSlopeChoices[kChoiceCount] = {"-6", "-12", "-18", "-24"};
inline const char* const kOutputLabel = "";
inline const char* const kSlopeLabel = "dB";
// The group's short name is the initial of its long name; the host sees it before every
// parameter's short name.
inline const char* const kGroupShortName = "C";
inline const char* const kGroupLongName = "Corvane";

template <int Programs>
using Selection = Parameters::SelectionParameter<Corvane, Programs>;
template <int Programs>
using Cutoff = Parameters::Parameter<Corvane, Programs, Corvane::CutoffFrequencyTransform,
                                     Parameters::FloatDisplay, Parameters::FrequencyLabel>;
template <int Programs>
using Spread = Parameters::SmoothParameter<Corvane, Programs, Parameters::LinearTransform,
                                           Parameters::ScaledFloatDisplay, Parameters::NullLabel>;
template <int Programs>
using BassAmp = Parameters::SmoothParameter<Corvane, Programs, Parameters::LevelTransform<10>,
                                            Parameters::LevelDisplay, Parameters::DecibelLabel>;

}  // namespace CorvaneParameters

template <int Programs>
class Corvane::ParameterGroup : public Parameters::ParameterGroupBase<Corvane, Programs> {
public:
    // The smoothed parameters register their smoothers with services.
    ParameterGroup(const char* shortName, const char* longName, IServiceProvider* services);
};

}  // namespace SynthToolkit::Effects

#include "SynthToolkit/Effects/CorvaneParameterGroup.inl"
