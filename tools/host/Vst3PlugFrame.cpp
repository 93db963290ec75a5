#include "tools/host/Vst3PlugFrame.h"

#include <algorithm>

#if !defined(_WIN32)
#include <poll.h>
#endif

namespace Vst3Host {

tresult PlugFrame::queryInterface(const TUID id, void** obj) {
    if (obj == nullptr) return kInvalidArgument;
    *obj = nullptr;
    if (uidEquals(id, IPlugFrame::iid) || uidEquals(id, FUnknown::iid))
        *obj = static_cast<IPlugFrame*>(this);
#if !defined(_WIN32)
    else if (uidEquals(id, IRunLoop::iid))
        *obj = static_cast<IRunLoop*>(this);
#endif
    return *obj != nullptr ? kResultOk : kNoInterface;
}

tresult PlugFrame::resizeView(IPlugView* view, ViewRect* newSize) {
    if (view == nullptr || newSize == nullptr) return kInvalidArgument;
    ++resizeCount;
    return view->onSize(newSize);
}

tresult PlugFrame::registerEventHandler(IEventHandler* handler, FileDescriptor fd) {
    if (handler == nullptr) return kInvalidArgument;
    handlers.emplace_back(handler, fd);
    return kResultOk;
}

tresult PlugFrame::unregisterEventHandler(IEventHandler* handler) {
    const auto before = handlers.size();
    handlers.erase(std::remove_if(handlers.begin(), handlers.end(),
                                  [&](const auto& h) { return h.first == handler; }),
                   handlers.end());
    return handlers.size() < before ? kResultOk : kInvalidArgument;
}

tresult PlugFrame::registerTimer(ITimerHandler* handler, TimerInterval) {
    if (handler == nullptr) return kInvalidArgument;
    timers.push_back(handler);
    return kResultOk;
}

tresult PlugFrame::unregisterTimer(ITimerHandler* handler) {
    const auto found = std::find(timers.begin(), timers.end(), handler);
    if (found == timers.end()) return kInvalidArgument;
    timers.erase(found);
    return kResultOk;
}

void PlugFrame::idle() {
    // Copies: a callback may unregister itself.
    for (ITimerHandler* timer : std::vector<ITimerHandler*>(timers)) timer->onTimer();
#if !defined(_WIN32)
    for (const auto& [handler, fd] :
         std::vector<std::pair<IEventHandler*, FileDescriptor>>(handlers)) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 0) > 0) handler->onFDIsSet(fd);
    }
#endif
}

}  // namespace Vst3Host
