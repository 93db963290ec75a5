// The VST3 plug-in's editor in a real window, as a host shows it: the view made by the
// controller, attached to a window of the test's (an X window on the Xvfb display; an HWND
// under Wine), driven by the user's input, and on Linux by a host run loop whose timer and
// descriptor callbacks the test fires as a host's event loop would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/vst3/Vst3TestHost.h"

#if defined(_WIN32)
#include "tests/e2e/gui/EditorHarness.h"
#else
#include <malloc.h>
#include <poll.h>

#include <functional>

#include "tests/e2e/gui/X11Harness.h"
#endif

namespace {

using namespace Vst3TestHost;

constexpr int kCutoff = 1;

#if defined(_WIN32)
constexpr FIDString kOurPlatform = kPlatformTypeHWND;
constexpr FIDString kOtherPlatform = kPlatformTypeX11EmbedWindowID;
#else
constexpr FIDString kOurPlatform = kPlatformTypeX11EmbedWindowID;
constexpr FIDString kOtherPlatform = kPlatformTypeHWND;
#endif

// The kinds of calls of one parameter's edits, "bppe" for a drag of two steps.
std::string editsOf(const Handler& handler, ParamID id) {
    std::string kinds;
    for (const auto& call : handler.calls)
        if (call.id == id && call.kind != 'r') kinds += call.kind;
    return kinds;
}

// What every host asks before and around attaching, on either platform.
void checkSizeAndPlatform(IEditController* controller, IPlugView* view) {
    EXPECT_EQ(view->isPlatformTypeSupported(kOurPlatform), kResultTrue);
    EXPECT_EQ(view->isPlatformTypeSupported(kOtherPlatform), kResultFalse);
    EXPECT_EQ(view->isPlatformTypeSupported(nullptr), kResultFalse);
    ViewRect size{};
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right - size.left, 512);
    EXPECT_EQ(size.bottom - size.top, 224);
    EXPECT_EQ(view->canResize(), kResultFalse);
    ViewRect asked{10, 20, 800, 600};
    EXPECT_EQ(view->checkSizeConstraint(&asked), kResultTrue);
    EXPECT_EQ(asked.left, 10);
    EXPECT_EQ(asked.right, 522);
    EXPECT_EQ(asked.bottom, 244);
    EXPECT_EQ(view->onSize(&asked), kResultOk);
    EXPECT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right - size.left, 512) << "the panel keeps its size";
    EXPECT_EQ(controller->createView(ViewType::kEditor), nullptr) << "one view at a time";
    EXPECT_EQ(controller->createView("other"), nullptr);
    EXPECT_EQ(view->attached(nullptr, kOurPlatform), kInvalidArgument);
}

#if defined(_WIN32)

using EditorHarness::Pump;

// The cutoff's knob: the one 194 pixels from the panel's left.
HWND cutoffKnob(HWND frame) {
    for (HWND knob : EditorHarness::DescendantsOfClass(frame, "QuellinWindowsToolkitKnob")) {
        POINT corner{0, 0};
        MapWindowPoints(knob, GetParent(knob), &corner, 1);
        if (corner.x == 194) return knob;
    }
    return nullptr;
}

void post(HWND control, UINT message, WPARAM keys, int x, int y) {
    PostMessageA(control, message, keys, MAKELPARAM(x, y));
    Pump();
}

TEST(Vst3WindowsEditor, OpensInAWindowAgainAndAgainAndADragIsOneGesture) {
    ASSERT_NE(factory(), nullptr) << QC_VST3_PATH;
    EditorHarness::HostWindow frame(512, 224);
    Plugin plugin;
    IPlugView* view = plugin.controller->createView(ViewType::kEditor);
    ASSERT_NE(view, nullptr);
    checkSizeAndPlatform(plugin.controller, view);
    for (int opening = 0; opening < 3; ++opening) {
        SCOPED_TRACE(opening);
        ASSERT_EQ(view->attached(frame.Handle(), kOurPlatform), kResultOk);
        Pump();
        HWND knob = cutoffKnob(frame.Handle());
        ASSERT_NE(knob, nullptr);
        // Up 5 pixels a step, twice, and back to where the drag started.
        post(knob, WM_LBUTTONDOWN, MK_LBUTTON, 33, 40);
        for (int y : {35, 30, 40}) post(knob, WM_MOUSEMOVE, MK_LBUTTON, 33, y);
        post(knob, WM_LBUTTONUP, 0, 33, 40);
        EXPECT_EQ(editsOf(plugin.handler, kCutoff), "bpppe");
        plugin.handler.calls.clear();
        // A host change moves the knob without coming back.
        EXPECT_EQ(plugin.controller->setParamNormalized(kCutoff, 0.5), kResultOk);
        Pump();
        EXPECT_TRUE(plugin.handler.calls.empty());
        ASSERT_EQ(view->removed(), kResultOk);
        Pump();
        EXPECT_TRUE(EditorHarness::Descendants(frame.Handle()).empty());
        EXPECT_EQ(plugin.controller->setParamNormalized(kCutoff, 0.1), kResultOk);
    }
    view->release();
}

#else

using X11Harness::Screen;

constexpr const char* kViewClass = "QuellinCorvaneWindowClass";
constexpr const char* kStatusClass = "QuellinLinuxToolkitStatusControl";
constexpr const char* kMenuClass = "QuellinLinuxToolkitMenu";
constexpr const char* kItemClass = "QuellinLinuxToolkitMenuItem";
constexpr X11Harness::Geometry kCutoffKnob{227, 150, 0, 0};

// A host's frame with its run loop: registrations are recorded, and run() does what a host's
// event loop does, firing the timers and the handlers whose descriptors are readable.
class Frame final : public IPlugFrame, public IRunLoop {
public:
    tresult VST3_API queryInterface(const TUID id, void** obj) override {
        if (uidEquals(id, IPlugFrame::iid) || uidEquals(id, FUnknown::iid))
            *obj = static_cast<IPlugFrame*>(this);
        else if (uidEquals(id, IRunLoop::iid))
            *obj = static_cast<IRunLoop*>(this);
        else
            *obj = nullptr;
        return *obj != nullptr ? kResultOk : kNoInterface;
    }
    uint32 VST3_API addRef() override { return 1; }
    uint32 VST3_API release() override { return 1; }
    tresult VST3_API resizeView(IPlugView*, ViewRect*) override { return kResultOk; }
    tresult VST3_API registerEventHandler(IEventHandler* handler, FileDescriptor fd) override {
        handlers.push_back({handler, fd});
        return kResultOk;
    }
    tresult VST3_API unregisterEventHandler(IEventHandler* handler) override {
        return drop(handlers, handler);
    }
    tresult VST3_API registerTimer(ITimerHandler* handler, TimerInterval ms) override {
        timers.push_back({handler, ms});
        return kResultOk;
    }
    tresult VST3_API unregisterTimer(ITimerHandler* handler) override {
        return drop(timers, handler);
    }
    void run() {
        for (const auto& [handler, fd] : handlers) {
            pollfd watched{fd, POLLIN, 0};
            if (poll(&watched, 1, 0) > 0) handler->onFDIsSet(fd);
        }
        for (const auto& timer : timers) timer.first->onTimer();
    }
    std::vector<std::pair<IEventHandler*, FileDescriptor> > handlers;
    std::vector<std::pair<ITimerHandler*, TimerInterval> > timers;

private:
    template <typename List, typename Handler>
    static tresult drop(List& list, Handler* handler) {
        for (auto at = list.begin(); at != list.end(); ++at)
            if (at->first == handler) {
                list.erase(at);
                return kResultOk;
            }
        return kInvalidArgument;
    }
};

// One plug-in with its view attached to a window of the test's.
struct Editor {
    explicit Editor(Screen& display, int y = 0) : screen(display) {
        window = screen.MakeHostWindow(512, 224);
        XMoveWindow(screen.Get(), window, 0, y);
        XSync(screen.Get(), False);
        view = plugin.controller->createView(ViewType::kEditor);
        if (view == nullptr) return;
        view->setFrame(&frame);
        attached = view->attached(reinterpret_cast<void*>(window), kOurPlatform) == kResultOk;
        Run();
    }
    ~Editor() {
        if (view != nullptr) {
            view->removed();
            view->setFrame(nullptr);
            view->release();
        }
        XDestroyWindow(screen.Get(), window);
        XSync(screen.Get(), False);
    }
    // A few turns of the host's event loop, with time for the server's events to arrive.
    void Run(int turns = 6) {
        for (int i = 0; i < turns; ++i) {
            XSync(screen.Get(), False);
            frame.run();
            usleep(1500);
        }
    }
    bool RunUntil(const std::function<bool()>& done) {
        return X11Harness::Until([this] { Run(1); }, done);
    }
    Window Panel() const {
        const auto views = screen.OfClass(window, kViewClass);
        return views.size() == 1 ? views[0] : 0;
    }
    std::string StatusText() const {
        const auto found = screen.OfClass(window, kStatusClass);
        return found.size() == 1 ? screen.NameOf(found[0]) : "<no status line>";
    }
    Window OpenMenu() const {
        for (Window w : screen.OfClass(screen.Root(), kMenuClass))
            if (screen.IsMapped(w)) return w;
        return 0;
    }
    // Right-clicks the cutoff knob and chooses the item; answers the items offered.
    std::vector<std::string> ChooseOnCutoff(const std::string& item) {
        screen.Click(Panel(), kCutoffKnob.x, kCutoffKnob.y, 3);
        Window menu = 0;
        EXPECT_TRUE(RunUntil([&] { return (menu = OpenMenu()) != 0; })) << "no menu";
        std::vector<std::string> items;
        if (menu == 0) return items;
        for (Window w : screen.OfClass(menu, kItemClass)) items.push_back(screen.NameOf(w));
        const Window chosen = screen.Named(menu, kItemClass, item);
        EXPECT_NE(chosen, 0u) << item;
        const auto g = screen.GeometryOf(chosen);
        screen.Click(chosen, g.w / 2, g.h / 2);
        EXPECT_TRUE(RunUntil([&] { return OpenMenu() == 0; })) << "the menu stays";
        return items;
    }

    Screen& screen;
    Window window = 0;
    Plugin plugin;
    Frame frame;
    IPlugView* view = nullptr;
    bool attached = false;
};

class Vst3Editor : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(screen.Get(), nullptr) << "no X display";
        ASSERT_NE(factory(), nullptr) << QC_VST3_PATH;
        screen.MoveTo(screen.Root(), 1200, 1000);  // the pointer stays off the panel
    }
    void TearDown() override { screen.Button(1, false); }
    Screen screen;
};

TEST_F(Vst3Editor, ShowsThePanelFromTheHostsRunLoopAndLeavesWhenRemoved) {
    Editor editor(screen);
    ASSERT_NE(editor.view, nullptr);
    ASSERT_TRUE(editor.attached);
    checkSizeAndPlatform(editor.plugin.controller, editor.view);
    ASSERT_NE(editor.Panel(), 0u);
    ASSERT_EQ(editor.frame.timers.size(), 1u);
    ASSERT_EQ(editor.frame.handlers.size(), 1u);
    EXPECT_GE(editor.frame.handlers[0].second, 0);
    EXPECT_EQ(editor.view->attached(reinterpret_cast<void*>(editor.window), kOurPlatform),
              kResultFalse)
        << "already attached";
    // Hovering shows the status text only when the run loop turns.
    screen.MoveTo(editor.Panel(), kCutoffKnob.x, kCutoffKnob.y);
    EXPECT_TRUE(editor.RunUntil([&] { return editor.StatusText() == "Cutoff Freq.: 100.00 Hz"; }))
        << editor.StatusText();

    ASSERT_EQ(editor.view->removed(), kResultOk);
    EXPECT_TRUE(editor.frame.timers.empty());
    EXPECT_TRUE(editor.frame.handlers.empty());
    XSync(screen.Get(), False);
    EXPECT_TRUE(screen.Children(editor.window).empty());
    ASSERT_EQ(editor.view->attached(reinterpret_cast<void*>(editor.window), kOurPlatform),
              kResultOk);
    editor.Run();
    EXPECT_NE(editor.Panel(), 0u);
}

TEST_F(Vst3Editor, ADragIsOneGestureOfEditsAndHostChangesReachThePanel) {
    Editor editor(screen);
    ASSERT_TRUE(editor.attached);
    Handler& handler = editor.plugin.handler;
    // From the cutoff's default 0.1, up 5 pixels a step.
    screen.MoveTo(editor.Panel(), kCutoffKnob.x, kCutoffKnob.y);
    screen.Button(1, true);
    editor.Run();
    for (int y : {145, 140}) {
        screen.MoveTo(editor.Panel(), kCutoffKnob.x, y);
        editor.Run();
    }
    screen.Button(1, false);
    editor.Run();
    ASSERT_EQ(editsOf(handler, kCutoff), "bppe");
    EXPECT_NEAR(handler.calls[1].value, 0.15, 1e-6);
    EXPECT_NEAR(handler.calls[2].value, 0.2, 1e-6);
    EXPECT_NEAR(editor.plugin.controller->getParamNormalized(kCutoff), 0.2, 1e-6);

    // Automation from the host moves the panel, and its text follows: the status line shows
    // the new value when the pointer comes back.
    handler.calls.clear();
    ASSERT_EQ(editor.plugin.controller->setParamNormalized(kCutoff, 1.0), kResultOk);
    String128 shown{};
    editor.plugin.controller->getParamStringByValue(kCutoff, 1.0, shown);
    std::string expected = "Cutoff Freq.: ";
    for (int i = 0; shown[i] != 0; ++i) expected += static_cast<char>(shown[i]);
    expected += " Hz";
    screen.MoveTo(editor.Panel(), 250, 60);
    editor.Run();
    screen.MoveTo(editor.Panel(), kCutoffKnob.x, kCutoffKnob.y);
    EXPECT_TRUE(editor.RunUntil([&] { return editor.StatusText() == expected; }))
        << editor.StatusText() << " instead of " << expected;
    EXPECT_TRUE(handler.calls.empty()) << "host changes are not echoed";
}

TEST_F(Vst3Editor, MidiLearnFromTheMenusThroughTheProcessorAndBack) {
    Editor editor(screen);
    ASSERT_TRUE(editor.attached);
    Plugin& plugin = editor.plugin;
    editor.ChooseOnCutoff("MIDI Learn");
    EXPECT_EQ(editor.StatusText(), "Learning...");
    ASSERT_EQ(plugin.application.messagesMade, 1);

    // The processor learns the next controller, and reports it as the host relays it.
    const Changes report = plugin.sendController(20, 5, 33);
    const auto learned = report.of(kLearnedId);
    ASSERT_EQ(learned.size(), 1u);
    EXPECT_EQ(learned[0].first, 33);
    ASSERT_EQ(plugin.controller->setParamNormalized(kLearnedId, learned[0].second), kResultOk);
    editor.Run();
    EXPECT_EQ(editor.StatusText(), "");

    // The controller knows the binding: its menu offers to forget it, which the processor does.
    const auto items = editor.ChooseOnCutoff("Forget CC: 20");
    EXPECT_EQ(items, (std::vector<std::string>{"MIDI Learn", "Forget CC: 20"}));
    EXPECT_EQ(plugin.application.messagesMade, 2);
    EXPECT_TRUE(plugin.sendController(20, 127).of(kCutoff).empty()) << "no longer bound";
}

TEST_F(Vst3Editor, OpeningsAndClosingsLeaveNothingBehind) {
    Editor editor(screen);
    ASSERT_TRUE(editor.attached);
    const auto cycle = [&] {
        editor.view->removed();
        editor.view->setFrame(nullptr);
        editor.view->release();
        editor.view = editor.plugin.controller->createView(ViewType::kEditor);
        ASSERT_NE(editor.view, nullptr);
        editor.view->setFrame(&editor.frame);
        ASSERT_EQ(editor.view->attached(reinterpret_cast<void*>(editor.window), kOurPlatform),
                  kResultOk);
        editor.frame.run();
    };
    for (int i = 0; i < 5; ++i) cycle();  // caches that fill once (fonts, cairo's pools)
    editor.view->removed();
    XSync(screen.Get(), False);
    const std::size_t files = X11Harness::OpenFiles();
    const std::size_t heap = mallinfo2().uordblks;
    ASSERT_EQ(editor.view->attached(reinterpret_cast<void*>(editor.window), kOurPlatform),
              kResultOk);
    for (int i = 0; i < 100; ++i) cycle();
    editor.view->removed();
    XSync(screen.Get(), False);
    const long heapGrowth = static_cast<long>(mallinfo2().uordblks) - static_cast<long>(heap);
    std::printf("100 openings: %zd open files more, heap %+ld bytes\n",
                static_cast<std::ptrdiff_t>(X11Harness::OpenFiles() - files), heapGrowth);
    EXPECT_EQ(X11Harness::OpenFiles(), files);
    EXPECT_LT(heapGrowth, 16 * 1024);
    EXPECT_TRUE(screen.Children(editor.window).empty());
    EXPECT_TRUE(editor.frame.timers.empty());
    EXPECT_TRUE(editor.frame.handlers.empty());
}

TEST_F(Vst3Editor, TwoInstancesKeepTheirOwnPanels) {
    Editor first(screen);
    Editor second(screen, 300);
    ASSERT_TRUE(first.attached);
    ASSERT_TRUE(second.attached);
    screen.Click(second.Panel(), kCutoffKnob.x, kCutoffKnob.y, 4);  // the wheel, one step up
    EXPECT_TRUE(second.RunUntil([&] { return editsOf(second.plugin.handler, kCutoff) == "p"; }));
    first.Run();
    EXPECT_TRUE(first.plugin.handler.calls.empty());
    EXPECT_NEAR(second.plugin.controller->getParamNormalized(kCutoff), 0.11, 1e-6);
    EXPECT_NEAR(first.plugin.controller->getParamNormalized(kCutoff), 0.1, 1e-6);
    screen.Click(first.Panel(), kCutoffKnob.x, kCutoffKnob.y, 4);
    EXPECT_TRUE(first.RunUntil([&] { return editsOf(first.plugin.handler, kCutoff) == "p"; }));
}

#endif

}  // namespace
