// Definition of Corvane::ParameterGroup, included by its header.
namespace SynthToolkit::Effects {

template <int Programs>
Corvane::ParameterGroup<Programs>::ParameterGroup(const char* shortName, const char* longName,
                                                  IServiceProvider* services)
    : Parameters::ParameterGroupBase<Corvane, Programs>(shortName, longName) {
    namespace P = CorvaneParameters;
    this->addParameter(new P::Selection<Programs>("Out", "Output", P::kOutputLabel, 0.0f,
                                                  P::kChoiceCount, P::kOutputChoices,
                                                  &Corvane::setOutputMode));
    this->addParameter(
        new P::Cutoff<Programs>("CutFrq", "Cutoff Freq.", 0.1f, &Corvane::setCutoff));
    this->addParameter(new P::Selection<Programs>("Slope", "Filter Slope", P::kSlopeLabel, 0.0f,
                                                  P::kChoiceCount, P::kSlopeChoices,
                                                  &Corvane::setSlope));
    this->addParameter(new P::Spread<Programs>("Spread", "Stereo Spread", 0.0f,
                                               &Corvane::setSpreadValues, services));
    this->addParameter(
        new P::BassAmp<Programs>("Amp", "Bass Amp", 0.5f, &Corvane::setGainValues, services));
}

}  // namespace SynthToolkit::Effects
