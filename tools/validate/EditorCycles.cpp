// The editor as hosts treat it: opened and closed over and over in a host window, and while
// another thread keeps processing. Windows binaries, under a display.
#include <windows.h>

#include <atomic>
#include <thread>

#include "tools/validate/Checks.h"
#include "tools/validate/Instance.h"

namespace Validate {
namespace {

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

HWND hostWindow() {
    static const ATOM registered = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuellinValidateHost";
        return RegisterClassExA(&windowClass);
    }();
    (void)registered;
    return CreateWindowExA(0, "QuellinValidateHost", "Validate", WS_POPUP | WS_VISIBLE, 0, 0, 600,
                           300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

Result EditorCycles(const VstHost::PluginLibrary& library, const Options& options) {
    Instance instance(library);
    if ((instance.effect()->flags & effFlagsHasEditor) == 0) return {true, "no editor"};
    HWND window = hostWindow();
    if (window == nullptr) return {false, "no host window (no display?)"};
    const int cycles = options.thorough ? 1000 : 100;
    for (int i = 0; i < cycles; ++i) {
        if (instance.Dispatch(effEditOpen, 0, 0, window) != 1) {
            DestroyWindow(window);
            return {false, "open " + std::to_string(i) + " refused"};
        }
        pump();
        instance.Dispatch(effEditIdle);
        instance.Dispatch(effEditClose);
        pump();
    }
    // The same while the audio thread renders and a learned controller could move knobs.
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        Stereo signal = TestSignal(256, 12), out(256);
        while (!stop.load()) instance.Process(signal.Channels(), out.Channels(), 256);
    });
    for (int i = 0; i < cycles / 4; ++i) {
        instance.SetParameter(i % 5, static_cast<float>(i % 10) / 10.0f);
        instance.Dispatch(effEditOpen, 0, 0, window);
        pump();
        instance.Dispatch(effEditIdle);
        instance.Dispatch(effEditClose);
        pump();
    }
    stop.store(true);
    audio.join();
    DestroyWindow(window);
    pump();
    return {true, std::to_string(cycles) + " cycles, " + std::to_string(cycles / 4) +
                      " while processing"};
}

#if QC_WITH_VST3
Result Vst3EditorCycles(const Vst3Host::Module& module, const Options& options) {
    HWND window = hostWindow();
    if (window == nullptr) return {true, "no host window (no display?)", true};
    const Result result =
        Vst3ViewCycles(module, options, window, Vst3::kPlatformTypeHWND, [] { pump(); });
    DestroyWindow(window);
    pump();
    return result;
}
#endif

}  // namespace Validate
