#include "vst/x64/QuellinCorvaneEditor.h"

#include <new>

#if defined(_WIN32)
#include "VstToolkit/Windows/Editor.h"
#include "effect/x64/QuellinCorvaneView.h"
#include "vst/x64/Module.h"
#else
#include "VstToolkit/Linux/LinuxEditor.h"
#include "effect/x64/QuellinCorvaneLinuxView.h"
#endif

namespace QuellinCorvane {

#if defined(_WIN32)
using PlatformEditor = VstToolkit::Editor<QuellinCorvaneView>;

AEffEditor* CreateEditor(VstToolkit::Controller* controller, QuellinCorvaneModel* model) {
    return new (std::nothrow) PlatformEditor(controller, model, ModuleHandle());
}
#else
using PlatformEditor = VstToolkit::LinuxEditor<QuellinCorvaneLinuxView>;

// Whether an X server is there is found out when the host opens the editor.
AEffEditor* CreateEditor(VstToolkit::Controller* controller, QuellinCorvaneModel* model) {
    return new (std::nothrow) PlatformEditor(controller, model);
}

int EditorConnectionDescriptor(AEffEditor* editor) {
    return editor != nullptr ? static_cast<PlatformEditor*>(editor)->ConnectionDescriptor() : -1;
}

unsigned long EditorViewWindow(AEffEditor* editor) {
    const auto* view =
        editor != nullptr ? static_cast<PlatformEditor*>(editor)->GetView() : nullptr;
    return view != nullptr ? view->Id() : 0;
}
#endif

}  // namespace QuellinCorvane
