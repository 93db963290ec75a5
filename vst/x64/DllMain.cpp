// The DLL's entry: it keeps the module handle and registers the editor's window classes for
// the life of the process. A class that cannot be registered fails the load.
#include "WindowsToolkit/Knob.h"
#include "WindowsToolkit/Multiswitch.h"
#include "WindowsToolkit/StatusControl.h"
#include "effect/x64/QuellinCorvaneView.h"
#include "vst/platform/Trace.h"
#include "vst/x64/Module.h"

namespace {

HINSTANCE moduleHandle = nullptr;

// In registration order; unregistered in the same order.
const char* const kClassNames[] = {
    QuellinCorvane::QuellinCorvaneView::kClassName,
    WindowsToolkit::Knob::kClassName,
    WindowsToolkit::Multiswitch::kClassName,
    WindowsToolkit::StatusControl::kClassName,
};

}  // namespace

HINSTANCE ModuleHandle() {
    return moduleHandle;
}

BOOL ProcessAttach(HINSTANCE module) {
    Platform::Trace("ProcessAttach\r\n");
    for (const char* name : kClassNames) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = WindowsToolkit::Window::WindowProcedure;
        windowClass.hInstance = module;
        windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = name;
        if (RegisterClassExA(&windowClass) == 0) return FALSE;
    }
    return TRUE;
}

void ProcessDetach() {
    Platform::Trace("ProcessDetach\r\n");
    for (const char* name : kClassNames) UnregisterClassA(name, moduleHandle);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    moduleHandle = module;
    if (reason == DLL_PROCESS_ATTACH) return ProcessAttach(module);
    if (reason == DLL_PROCESS_DETACH) ProcessDetach();
    return TRUE;
}
