// The editor as Linux hosts treat it: opened and closed over and over in a host window on
// $DISPLAY, idled in between, and the same while another thread keeps processing.
#include <X11/Xlib.h>

#include <atomic>
#include <cstdint>
#include <thread>

#include "tools/validate/Checks.h"
#include "tools/validate/Instance.h"

namespace Validate {

Result EditorCycles(const VstHost::PluginLibrary& library, const Options& options) {
    Instance instance(library);
    if ((instance.effect()->flags & effFlagsHasEditor) == 0) return {true, "no editor"};
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return {true, "no display: skipped"};
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 600, 300, 0, 0, 0);
    XMapWindow(display, window);
    XSync(display, False);
    void* parent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(window));
    const auto cycle = [&] {
        const bool opened = instance.Dispatch(effEditOpen, 0, 0, parent) == 1;
        instance.Dispatch(effEditIdle);
        instance.Dispatch(effEditClose);
        return opened;
    };
    const int cycles = options.thorough ? 1000 : 100;
    Result result{true, ""};
    for (int i = 0; i < cycles && result.passed; ++i)
        if (!cycle()) result = {false, "open " + std::to_string(i) + " refused"};
    // The same while the audio thread renders and a learned controller could move knobs.
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        Stereo signal = TestSignal(256, 12), out(256);
        while (!stop.load()) instance.Process(signal.Channels(), out.Channels(), 256);
    });
    for (int i = 0; i < cycles / 4 && result.passed; ++i) {
        instance.SetParameter(i % 5, static_cast<float>(i % 10) / 10.0f);
        if (!cycle()) result = {false, "open " + std::to_string(i) + " refused while processing"};
    }
    stop.store(true);
    audio.join();
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    if (!result.passed) return result;
    return {true, std::to_string(cycles) + " cycles, " + std::to_string(cycles / 4) +
                      " while processing"};
}

Result Vst3EditorCycles(const Vst3Host::Module& module, const Options& options) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return {true, "no display", true};
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 600, 300, 0, 0, 0);
    XMapWindow(display, window);
    XSync(display, False);
    const Result result = Vst3ViewCycles(
        module, options, reinterpret_cast<void*>(static_cast<std::uintptr_t>(window)),
        Vst3::kPlatformTypeX11EmbedWindowID, [display] {
            XSync(display, False);
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
            }
        });
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return result;
}

}  // namespace Validate
