// The effect's editor, made the same way for the VST 2.x and the VST3 plug-in: the panel in a
// window of the host's (an HWND on Windows, an X window on Linux).
#pragma once

#include "VstToolkit/Controller.h"
#include "effect/x64/QuellinCorvaneModel.h"
#include "vst/AEffEditor.h"

namespace QuellinCorvane {

// Null when there is no memory for it; the instance works on without an editor then.
AEffEditor* CreateEditor(VstToolkit::Controller* controller, QuellinCorvaneModel* model);

#if !defined(_WIN32)
// The descriptor of the open editor's X connection, whose input the editor's idle handles;
// -1 while the editor is closed. For an editor made by CreateEditor only.
int EditorConnectionDescriptor(AEffEditor* editor);
// The open editor's view window (an X window id), 0 while the editor is closed.
unsigned long EditorViewWindow(AEffEditor* editor);
#endif

}  // namespace QuellinCorvane
