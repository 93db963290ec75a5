// Every template instantiation the effect uses, compiled here on its own, so a break in a
// template definition shows in the native test build before the 32-bit DLL is built.
#include <gtest/gtest.h>

#include "SynthToolkit/Effects/CorvaneParameterGroup.h"
#include "SynthToolkit/ServiceDispatcher.h"

namespace SynthToolkit::Parameters {
template class ParameterBase<Effects::Corvane, 32>;
template class SelectionParameter<Effects::Corvane, 32>;
template class Parameter<Effects::Corvane, 32, Effects::Corvane::CutoffFrequencyTransform,
                         FloatDisplay, FrequencyLabel>;
template class SmoothParameter<Effects::Corvane, 32, LinearTransform, ScaledFloatDisplay,
                               NullLabel>;
template class SmoothParameter<Effects::Corvane, 32, LevelTransform<10>, LevelDisplay,
                               DecibelLabel>;
template class ParameterGroupBase<Effects::Corvane, 32>;
}  // namespace SynthToolkit::Parameters

namespace SynthToolkit::Effects {
template class Corvane::ParameterGroup<32>;
}  // namespace SynthToolkit::Effects

TEST(TemplateInstantiation, TheEffectsGroupBuildsOnTheServices) {
    SynthToolkit::ServiceDispatcher services;
    SynthToolkit::Effects::Corvane::ParameterGroup<32> group("C", "Corvane", &services);
    EXPECT_EQ(group.parameterCount(), 5);
    EXPECT_EQ(group.programCount(), 32);
}
