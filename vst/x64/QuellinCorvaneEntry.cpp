// Instance creation of the x64 build: the effect's model, owned by the Controller the host
// talks to, and the platform's editor, owned by the Controller's AudioEffect base.
#include "VstToolkit/Controller.h"
#include "effect/x64/QuellinCorvaneModel.h"
#include "vst/PluginMain.h"
#include "vst/platform/Trace.h"
#include "vst/x64/QuellinCorvaneEditor.h"

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    Platform::Trace("createEffectInstance\r\n");
    auto* model = new QuellinCorvane::QuellinCorvaneModel();
    auto* controller = new VstToolkit::Controller(audioMaster, model);
    // Without an editor the instance still works; the host just sees none.
    if (AEffEditor* editor = QuellinCorvane::CreateEditor(controller, model))
        controller->setEditor(editor);
    return controller;
}
