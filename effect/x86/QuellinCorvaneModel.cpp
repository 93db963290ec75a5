#include "effect/x86/QuellinCorvaneModel.h"

namespace QuellinCorvaneX86 {

namespace P = SynthToolkit::Effects::CorvaneParameters;

QuellinCorvaneModel::QuellinCorvaneModel(const char* effectName, const char* vendor,
                                         const char* product, int vendorVersion, int programCount,
                                         SynthToolkit::IServiceProvider* services)
    : Model(effectName, vendor, product, vendorVersion, programCount, services->messageProvider()),
      group(P::kGroupShortName, P::kGroupLongName, services),
      corvane(services) {
    addGroup(&group);
    // Each parameter delivers its value at once: mode, cutoff (coefficients for the services'
    // rate), slope and the two smoother buffers.
    group.addObserver(&corvane);
}

void QuellinCorvaneModel::process(float** inputs, float** outputs, int frames) {
    corvane.process(inputs[0], inputs[1], outputs[0], outputs[1], frames);
}

}  // namespace QuellinCorvaneX86
