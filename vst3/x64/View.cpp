// IPlugView over the editor. Every call comes on the host's user-interface thread.
//
// The panel has one size, the editor's: resizing is refused and any size asked for is answered
// with it. On Linux nothing calls the editor's idle as VST 2.x hosts do; the host's run loop,
// found through the frame given in setFrame, does instead: on a timer, for what the server sent
// while the editor was talking to it, and whenever the editor's X connection has input.
#include "vst3/x64/View.h"

#include <cstring>

#include "vst3/ComObject.h"

#if !defined(_WIN32)
#include "vst/x64/QuellinCorvaneEditor.h"
#endif

namespace QuellinCorvane::Vst3Plugin {
namespace {

using namespace Vst3;

#if defined(_WIN32)
constexpr FIDString kPlatformType = kPlatformTypeHWND;
using ViewBase = ComObject<class View, IPlugView>;
#else
constexpr FIDString kPlatformType = kPlatformTypeX11EmbedWindowID;
using ViewBase = ComObject<class View, IPlugView, ITimerHandler, IEventHandler>;
// Often enough for a drag to look smooth; input on the connection is handled at once anyway.
constexpr TimerInterval kIdleMilliseconds = 20;
#endif

bool isOurPlatform(FIDString type) {
    return type != nullptr && std::strcmp(type, kPlatformType) == 0;
}

class View final : public ViewBase {
public:
    View(AEffEditor* panel, ViewOwner* viewOwner) : editor(panel), owner(viewOwner) {
        owner->Object()->addRef();
    }
    ~View() {
        removed();
        setFrame(nullptr);
        owner->OnViewDestroyed();
        owner->Object()->release();
    }

    tresult VST3_API isPlatformTypeSupported(FIDString type) override {
        return isOurPlatform(type) ? kResultTrue : kResultFalse;
    }
    tresult VST3_API attached(void* parent, FIDString type) override {
        if (parent == nullptr || !isOurPlatform(type)) return kInvalidArgument;
        if (isAttached || !editor->open(parent)) return kResultFalse;
        isAttached = true;
        Listen();
        return kResultOk;
    }
    tresult VST3_API removed() override {
        StopListening();
        editor->close();
        isAttached = false;
        return kResultOk;
    }
    tresult VST3_API onWheel(float) override { return kResultFalse; }
    tresult VST3_API onKeyDown(char16, int16, int16) override { return kResultFalse; }
    tresult VST3_API onKeyUp(char16, int16, int16) override { return kResultFalse; }
    tresult VST3_API getSize(ViewRect* size) override {
        if (size == nullptr) return kInvalidArgument;
        ERect* rect = nullptr;
        if (!editor->getRect(&rect) || rect == nullptr) return kResultFalse;
        *size = {rect->left, rect->top, rect->right, rect->bottom};
        return kResultOk;
    }
    // The panel stays as it is, whatever size the host gives its window.
    tresult VST3_API onSize(ViewRect* newSize) override {
        return newSize != nullptr ? kResultOk : kInvalidArgument;
    }
    tresult VST3_API onFocus(TBool) override { return kResultOk; }
    tresult VST3_API setFrame(IPlugFrame* newFrame) override {
        if (newFrame != nullptr) newFrame->addRef();
        if (frame != nullptr) frame->release();
        frame = newFrame;
        return kResultOk;
    }
    tresult VST3_API canResize() override { return kResultFalse; }
    // Any size asked for becomes the panel's, at the same top-left corner.
    tresult VST3_API checkSizeConstraint(ViewRect* rect) override {
        ViewRect size{};
        if (rect == nullptr || getSize(&size) != kResultOk) return kInvalidArgument;
        rect->right = rect->left + (size.right - size.left);
        rect->bottom = rect->top + (size.bottom - size.top);
        return kResultTrue;
    }

#if !defined(_WIN32)
    void VST3_API onTimer() override {
        editor->idle();
    }
    void VST3_API onFDIsSet(FileDescriptor) override {
        editor->idle();
    }
#endif

private:
#if defined(_WIN32)
    // Windows delivers the panel's messages itself.
    void Listen() {}
    void StopListening() {}
#else
    void Listen() {
        void* found = nullptr;
        if (frame == nullptr || frame->queryInterface(IRunLoop::iid.bytes, &found) != kResultOk ||
            found == nullptr)
            return;
        runLoop = static_cast<IRunLoop*>(found);
        runLoop->registerTimer(this, kIdleMilliseconds);
        const int descriptor = EditorConnectionDescriptor(editor);
        if (descriptor >= 0) runLoop->registerEventHandler(this, descriptor);
    }
    void StopListening() {
        if (runLoop == nullptr) return;
        runLoop->unregisterEventHandler(this);
        runLoop->unregisterTimer(this);
        runLoop->release();
        runLoop = nullptr;
    }

    IRunLoop* runLoop = nullptr;  // a reference held while attached
#endif

    AEffEditor* editor;           // the controller's
    ViewOwner* owner;             // its object referenced
    IPlugFrame* frame = nullptr;  // a reference held
    bool isAttached = false;
};

}  // namespace

IPlugView* CreateView(AEffEditor* editor, ViewOwner* owner) {
    return new View(editor, owner);
}

}  // namespace QuellinCorvane::Vst3Plugin
