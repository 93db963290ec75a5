// Instance creation of the x64 build: the effect's model, owned by the Controller the host
// talks to, and on Windows the editor, owned by the Controller's AudioEffect base.
#include "VstToolkit/Controller.h"
#include "effect/x64/QuellinCorvaneModel.h"
#include "vst/PluginMain.h"
#include "vst/platform/Trace.h"

#if defined(_WIN32)
#include <new>

#include "VstToolkit/Editor.h"
#include "effect/x64/QuellinCorvaneView.h"
#include "vst/x64/Module.h"
#endif

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    Platform::Trace("createEffectInstance\r\n");
    auto* model = new QuellinCorvane::QuellinCorvaneModel();
    auto* controller = new VstToolkit::Controller(audioMaster, model);
#if defined(_WIN32)
    // Without an editor the instance still works; the host just sees none.
    auto* editor = new (std::nothrow)
        VstToolkit::Editor<QuellinCorvane::QuellinCorvaneView>(controller, model, ModuleHandle());
    if (editor != nullptr) controller->setEditor(editor);
#endif
    return controller;
}
