// Instance creation of the x64 build: the effect's model, owned by the Controller the host
// talks to.
#include "VstToolkit/Controller.h"
#include "effect/x64/QuellinCorvaneModel.h"
#include "vst/PluginMain.h"
#include "vst/platform/Trace.h"

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    Platform::Trace("createEffectInstance\r\n");
    auto* model = new QuellinCorvane::QuellinCorvaneModel();
    return new VstToolkit::Controller(audioMaster, model);
}
