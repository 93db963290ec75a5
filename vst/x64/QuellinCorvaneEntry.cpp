// Instance creation of the x64 build: the effect's model, owned by the Controller the host
// talks to, and the platform's editor, owned by the Controller's AudioEffect base.
#include "VstToolkit/Controller.h"
#include "effect/x64/QuellinCorvaneModel.h"
#include "vst/PluginMain.h"
#include "vst/platform/Trace.h"

#include <new>

#if defined(_WIN32)
#include "VstToolkit/Windows/Editor.h"
#include "effect/x64/QuellinCorvaneView.h"
#include "vst/x64/Module.h"
#else
#include "VstToolkit/Linux/LinuxEditor.h"
#include "effect/x64/QuellinCorvaneLinuxView.h"
#endif

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    Platform::Trace("createEffectInstance\r\n");
    auto* model = new QuellinCorvane::QuellinCorvaneModel();
    auto* controller = new VstToolkit::Controller(audioMaster, model);
    // Without an editor the instance still works; the host just sees none.
#if defined(_WIN32)
    auto* editor = new (std::nothrow)
        VstToolkit::Editor<QuellinCorvane::QuellinCorvaneView>(controller, model, ModuleHandle());
#else
    // Whether an X server is there is found out when the host opens the editor.
    auto* editor = new (std::nothrow)
        VstToolkit::LinuxEditor<QuellinCorvane::QuellinCorvaneLinuxView>(controller, model);
#endif
    if (editor != nullptr) controller->setEditor(editor);
    return controller;
}
