// editor-shot DLL STOPFILE: opens the plug-in's editor (either build's) in a borderless window at
// the screen's top left corner, sized to the editor, prints "ready" once it has painted, and keeps
// it open until STOPFILE exists (or a minute has passed), so a screen grab can be taken meanwhile.
#include <windows.h>

#include <cstdio>

#include "tools/host/Host.h"

namespace {

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Shows a status line as the user would see it with the mouse over the cutoff knob.
BOOL CALLBACK hoverFirstKnob(HWND child, LPARAM) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof(name));
    RECT rect;
    GetWindowRect(child, &rect);
    // The x64 toolkit's knob class, or the x86 dialog's.
    const bool knob =
        lstrcmpA(name, "QuellinWindowsToolkitKnob") == 0 || lstrcmpA(name, "Knob") == 0;
    if (!knob || rect.left != 194) return TRUE;
    PostMessageA(child, WM_MOUSEHOVER, 0, MAKELPARAM(33, 33));
    return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: editor-shot DLL STOPFILE\n");
        return 2;
    }
    VstHost::PluginLibrary library;
    if (!library.load(argv[1])) {
        std::fprintf(stderr, "editor-shot: %s\n", library.error().c_str());
        return 1;
    }
    VstHost::Host host;
    if (!host.open(library)) {
        std::fprintf(stderr, "editor-shot: %s\n", host.error().c_str());
        return 1;
    }
    ERect* size = nullptr;
    if (host.dispatch(effEditGetRect, 0, 0, &size) == 0 || size == nullptr) {
        std::fprintf(stderr, "editor-shot: the plug-in has no editor\n");
        return 1;
    }
    WNDCLASSEXA frameClass{};
    frameClass.cbSize = sizeof(frameClass);
    frameClass.lpfnWndProc = DefWindowProcA;
    frameClass.hInstance = GetModuleHandleA(nullptr);
    frameClass.lpszClassName = "QuellinEditorShotFrame";
    RegisterClassExA(&frameClass);
    HWND frame =
        CreateWindowExA(0, frameClass.lpszClassName, "Quellin Corvane", WS_POPUP | WS_VISIBLE, 0, 0,
                        size->right - size->left, size->bottom - size->top, nullptr, nullptr,
                        frameClass.hInstance, nullptr);
    if (frame == nullptr || host.dispatch(effEditOpen, 0, 0, frame) == 0) {
        std::fprintf(stderr, "editor-shot: the editor did not open\n");
        return 1;
    }
    EnumChildWindows(frame, hoverFirstKnob, 0);
    for (int i = 0; i < 50; ++i) {
        pump();
        Sleep(10);
    }
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    std::printf("ready\n");
    std::fflush(stdout);
    for (int i = 0; i < 6000 && GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES; ++i) {
        pump();
        Sleep(10);
    }
    host.dispatch(effEditClose);
    pump();
    DestroyWindow(frame);
    host.close();
    return 0;
}
