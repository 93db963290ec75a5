// The host's side of an editor view: the frame it sits in, which on Linux is also the run loop
// the view's timers and X connection are served from.
#pragma once

#include <utility>
#include <vector>

#include "tools/host/Vst3HostObjects.h"

namespace Vst3Host {

class PlugFrame final : public IPlugFrame, public IRunLoop {
public:
    // Answers IPlugFrame, and IRunLoop too where views expect one (Linux).
    tresult VST3_API queryInterface(const TUID id, void** obj) override;
    uint32 VST3_API addRef() override { return 1; }
    uint32 VST3_API release() override { return 1; }

    // Takes any size: the host window follows the view.
    tresult VST3_API resizeView(IPlugView* view, ViewRect* newSize) override;

    tresult VST3_API registerEventHandler(IEventHandler* handler, FileDescriptor fd) override;
    tresult VST3_API unregisterEventHandler(IEventHandler* handler) override;
    tresult VST3_API registerTimer(ITimerHandler* handler, TimerInterval milliseconds) override;
    tresult VST3_API unregisterTimer(ITimerHandler* handler) override;

    // One turn of the loop: every timer fires once, and handlers whose descriptor has input
    // are called. UI thread.
    void idle();
    // Handlers still registered; a view that was removed should leave none.
    std::size_t registrations() const { return handlers.size() + timers.size(); }
    int resizes() const { return resizeCount; }

private:
    std::vector<std::pair<IEventHandler*, FileDescriptor>> handlers;
    std::vector<ITimerHandler*> timers;
    int resizeCount = 0;
};

}  // namespace Vst3Host
