// The x64 build's editor in real windows: the shipped DLL loaded by the test host, its editor
// opened in a top-level window of this thread, and driven with the mouse and keyboard messages
// a user's actions produce. Control state is read through the object each toolkit window is
// bound to (same headers, same compiler; the virtual calls run the DLL's code).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "WindowsToolkit/Knob.h"
#include "WindowsToolkit/Multiswitch.h"
#include "WindowsToolkit/StatusControl.h"
#include "tests/e2e/gui/EditorFixture.h"
#include "tests/support/ProductFacts.h"

namespace {

using namespace EditorHarness;
using WindowsToolkit::Knob;
using WindowsToolkit::Multiswitch;
using WindowsToolkit::ParameterControl;
using WindowsToolkit::StatusControl;

constexpr const char* kViewClass = "QuellinCorvaneWindowClass";

enum Parameter { kOutput = 0, kCutoff = 1, kSlope = 2, kSpread = 3, kBassAmp = 4 };

WindowsToolkit::Window* ObjectOf(HWND window) {
    return static_cast<WindowsToolkit::Window*>(GetPropA(window, "object"));
}

struct X64Build {
    static constexpr const char* kPath = QC_CORVANE_X64_PATH;
    static constexpr int kWidth = 512;
    static constexpr int kHeight = 224;
};

class CorvaneEditor : public EditorFixture<X64Build> {
protected:
    HWND View() const {
        const auto views = DescendantsOfClass(window->Handle(), kViewClass);
        return views.size() == 1 ? views[0] : nullptr;
    }

    ParameterControl* ControlFor(int parameter, const char* className) const {
        for (HWND w : DescendantsOfClass(window->Handle(), className)) {
            auto* control = static_cast<ParameterControl*>(ObjectOf(w));
            if (control != nullptr && control->GetParameterIndex() == parameter) return control;
        }
        return nullptr;
    }
    Knob* KnobFor(int parameter) const {
        return static_cast<Knob*>(ControlFor(parameter, Knob::kClassName));
    }
    Multiswitch* SwitchFor(int parameter) const {
        return static_cast<Multiswitch*>(ControlFor(parameter, Multiswitch::kClassName));
    }
    std::string StatusText() const {
        const auto found = DescendantsOfClass(window->Handle(), StatusControl::kClassName);
        if (found.size() != 1) return "<no status line>";
        return static_cast<StatusControl*>(ObjectOf(found[0]))->GetText();
    }

    using EditorFixture::Post;
    static void Post(ParameterControl* control, UINT message, WPARAM keys, LPARAM where) {
        Post(control->GetHwnd(), message, keys, where);
    }
    static void Wheel(ParameterControl* control, int clicks) {
        Post(control, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(clicks * WHEEL_DELTA)),
             At(0, 0));
    }

    // Right-clicks the control and answers its menu with the keys.
    Seen RightClickMenu(ParameterControl* control, std::vector<WPARAM> keys) {
        ModalScript script;
        script.Menu(std::move(keys));
        script.Start();
        PostMessageA(control->GetHwnd(), WM_RBUTTONDOWN, MK_RBUTTON, At(10, 10));
        PostMessageA(control->GetHwnd(), WM_RBUTTONUP, 0, At(10, 10));
        EXPECT_TRUE(script.PumpToEnd());
        return script.Step(0);
    }

    // Learns controller cc for the parameter through the control's menu.
    void Learn(ParameterControl* control, int cc) {
        const Seen menu = RightClickMenu(control, {VK_DOWN, VK_RETURN});
        ASSERT_TRUE(menu.appeared);
        ASSERT_FALSE(menu.items.empty());
        EXPECT_EQ(menu.items[0], "MIDI Learn");
        EXPECT_EQ(StatusText(), "Learning...");
        SendController(cc, 0);
    }

    // A controller change as the host delivers it: events, then the block they belong to; the
    // editor shows it on the host's next idle.
    void SendController(int cc, int value) {
        host.sendEvents({VstHost::makeControlChange(0, 0, cc, value)});
        std::vector<float> in(64, 0.0f), outL(64), outR(64);
        ASSERT_TRUE(
            host.processReplacing({in.data(), in.data()}, {outL.data(), outR.data()}, 64, 64));
        Idle();
    }

    // The bank chunk's bindings: parameter to controller.
    std::map<int, int> Bindings() {
        void* data = nullptr;
        const VstIntPtr size = host.dispatch(effGetChunk, 0, 0, &data);
        std::map<int, int> bound;
        const std::size_t offset = TestSupport::Product::kBindingsOffset;
        if (data == nullptr || size < static_cast<VstIntPtr>(offset)) {
            ADD_FAILURE() << "no bank chunk";
            return bound;
        }
        const auto* bytes = static_cast<const unsigned char*>(data);
        std::size_t at = offset;
        for (int parameter = 0; parameter < 5 && at < static_cast<std::size_t>(size); ++parameter) {
            if (bytes[at++] == 0) continue;
            if (at < static_cast<std::size_t>(size)) bound[parameter] = bytes[at++];
        }
        EXPECT_EQ(at, static_cast<std::size_t>(size)) << "bytes after the bindings";
        return bound;
    }

    // Left-clicks the view and runs the script against what opens.
    void ClickView(int x, int y, ModalScript& script) {
        script.Start();
        PostMessageA(View(), WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
        script.PumpToEnd();
    }
};

TEST_F(CorvaneEditor, TheWindowTreeAndTheFirstFrames) {
    const auto views = DescendantsOfClass(window->Handle(), kViewClass);
    ASSERT_EQ(views.size(), 1u);
    const HWND view = views[0];
    EXPECT_EQ(GetParent(view), window->Handle());
    const RECT viewRect = RectInParent(view);
    EXPECT_EQ(viewRect.left, 0);
    EXPECT_EQ(viewRect.top, 0);
    EXPECT_EQ(viewRect.right - viewRect.left, 512);
    EXPECT_EQ(viewRect.bottom - viewRect.top, 224);
    EXPECT_TRUE(IsWindowVisible(view));

    // The controls, and the parameter each one is bound to (-1: the status line).
    const std::vector<Placement> expected = {
        {Knob::kClassName, 194, 117, 67, 67},        {Knob::kClassName, 295, 117, 67, 67},
        {Knob::kClassName, 396, 117, 67, 67},        {Multiswitch::kClassName, 73, 117, 20, 66},
        {Multiswitch::kClassName, 136, 117, 20, 66}, {StatusControl::kClassName, 320, 15, 200, 30},
    };
    const int parameters[] = {kCutoff, kSpread, kBassAmp, kOutput, kSlope, -1};
    ASSERT_EQ(Descendants(window->Handle()).size(), 1 + expected.size());
    const std::vector<HWND> controls = ExpectChildren(view, expected);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i] == nullptr || parameters[i] < 0) continue;
        EXPECT_EQ(static_cast<ParameterControl*>(ObjectOf(controls[i]))->GetParameterIndex(),
                  parameters[i]);
    }
    ExpectEditorRect();

    // Defaults: cutoff 0.1, spread 0, bass amp 0.5; both switches in their bottom position.
    EXPECT_EQ(KnobFor(kCutoff)->GetFrame(), 8);
    EXPECT_EQ(KnobFor(kSpread)->GetFrame(), 0);
    EXPECT_EQ(KnobFor(kBassAmp)->GetFrame(), 45);
    EXPECT_EQ(SwitchFor(kOutput)->GetFrame(), 0);
    EXPECT_EQ(SwitchFor(kSlope)->GetFrame(), 0);
    EXPECT_EQ(StatusText(), "");
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u) << "opening reports nothing";
}

TEST_F(CorvaneEditor, DraggingAKnobAutomatesEveryMoveInsideOneGesture) {
    Knob* knob = KnobFor(kCutoff);
    ASSERT_NE(knob, nullptr);
    Post(knob, WM_LBUTTONDOWN, MK_LBUTTON, At(33, 40));
    EXPECT_EQ(GetCapture(), knob->GetHwnd());
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u) << "a press alone changes nothing";
    EXPECT_EQ(host.countCalls(audioMasterBeginEdit), 1u) << "but starts the gesture";
    for (int y : {35, 30, 25}) Post(knob, WM_MOUSEMOVE, MK_LBUTTON, At(33, y));

    const auto automations = host.automations();
    ASSERT_EQ(automations.size(), 3u);
    const float expected[] = {0.15f, 0.2f, 0.25f};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(automations[i].index, kCutoff);
        EXPECT_NEAR(automations[i].value, expected[i], 1e-6f);
    }
    EXPECT_NEAR(host.getParameter(kCutoff), 0.25f, 1e-6f);
    EXPECT_EQ(knob->GetFrame(), 22);
    EXPECT_EQ(StatusText(), "Cutoff Freq.: 625.00 Hz");

    // Back down to where it started.
    Post(knob, WM_MOUSEMOVE, MK_LBUTTON, At(33, 40));
    EXPECT_NEAR(host.getParameter(kCutoff), 0.1f, 1e-6f);
    EXPECT_EQ(knob->GetFrame(), 8);
    EXPECT_EQ(StatusText(), "Cutoff Freq.: 100.00 Hz");

    // Far beyond the top: the value stops at 1.
    Post(knob, WM_MOUSEMOVE, MK_LBUTTON, At(33, -300));
    EXPECT_EQ(host.getParameter(kCutoff), 1.0f);
    EXPECT_EQ(knob->GetFrame(), 90);
    EXPECT_EQ(host.automations().back().value, 1.0f);

    Post(knob, WM_LBUTTONUP, 0, At(33, -300));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(host.countCalls(audioMasterEndEdit), 1u);
    host.clearCalls();
    Post(knob, WM_MOUSEMOVE, 0, At(33, 10));
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u) << "moving without the button";
    EXPECT_EQ(host.getParameter(kCutoff), 1.0f);
}

TEST_F(CorvaneEditor, ShiftDragMovesATenthAsFar) {
    Knob* knob = KnobFor(kSpread);
    ASSERT_NE(knob, nullptr);
    ExpectShiftDragMovesATenthAsFar(knob->GetHwnd(), kSpread, 33);
    EXPECT_EQ(knob->GetFrame(), 10);  // 90 x 0.12
}

TEST_F(CorvaneEditor, CtrlClickResetsToTheDefaultAndDragsOnFromThere) {
    Knob* knob = KnobFor(kBassAmp);
    ASSERT_NE(knob, nullptr);
    Post(knob, WM_LBUTTONDOWN, MK_LBUTTON, At(33, 50));
    Post(knob, WM_MOUSEMOVE, MK_LBUTTON, At(33, 30));
    Post(knob, WM_LBUTTONUP, 0, At(33, 30));
    ASSERT_NEAR(host.getParameter(kBassAmp), 0.7f, 1e-6f);
    host.clearCalls();

    Post(knob, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, At(33, 50));
    ASSERT_EQ(host.automations().size(), 1u);
    EXPECT_EQ(host.automations()[0].index, kBassAmp);
    EXPECT_EQ(host.automations()[0].value, 0.5f);
    EXPECT_EQ(host.getParameter(kBassAmp), 0.5f);
    EXPECT_EQ(knob->GetFrame(), 45);
    EXPECT_EQ(StatusText(), "Bass Amp: 0.00 dB");

    Post(knob, WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, At(33, 40));
    Post(knob, WM_LBUTTONUP, 0, At(33, 40));
    EXPECT_NEAR(host.getParameter(kBassAmp), 0.6f, 1e-6f);
}

TEST_F(CorvaneEditor, TheWheelTurnsAKnobOnlyWhileTheMouseIsOverIt) {
    Knob* knob = KnobFor(kCutoff);
    ASSERT_NE(knob, nullptr);
    Post(knob, WM_MOUSEHOVER, 0, At(30, 30));
    EXPECT_EQ(StatusText(), "Cutoff Freq.: 100.00 Hz");
    EXPECT_EQ(GetFocus(), knob->GetHwnd()) << "hovering takes the focus for the wheel";

    Wheel(knob, 1);
    EXPECT_NEAR(host.getParameter(kCutoff), 0.11f, 1e-6f);
    Wheel(knob, -1);
    Wheel(knob, -1);
    EXPECT_NEAR(host.getParameter(kCutoff), 0.09f, 1e-6f);
    EXPECT_EQ(host.automations().size(), 3u);
    EXPECT_EQ(StatusText(), "Cutoff Freq.: 81.00 Hz");

    Post(knob, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(StatusText(), "");
    EXPECT_EQ(GetFocus(), window->Handle()) << "leaving hands the focus back";
    host.clearCalls();
    Wheel(knob, 1);
    EXPECT_NEAR(host.getParameter(kCutoff), 0.09f, 1e-6f);
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u);

    // Back over it, the wheel works again.
    Post(knob, WM_MOUSEHOVER, 0, At(30, 30));
    Wheel(knob, 1);
    EXPECT_NEAR(host.getParameter(kCutoff), 0.1f, 1e-6f);
}

TEST_F(CorvaneEditor, TheRealPointerHoveringAControlShowsItsValue) {
    Knob* knob = KnobFor(kBassAmp);
    ASSERT_NE(knob, nullptr);
    POINT centre = {33, 33};
    ClientToScreen(knob->GetHwnd(), &centre);
    SetCursorPos(centre.x, centre.y);
    // The move over the control asks for hover and leave; the hover comes 50 ms later.
    EXPECT_TRUE(PumpUntil([&] { return StatusText() == "Bass Amp: 0.00 dB"; }))
        << "status line: \"" << StatusText() << '"';
    EXPECT_EQ(GetFocus(), knob->GetHwnd());

    SetCursorPos(1200, 1000);
    EXPECT_TRUE(PumpUntil([&] { return StatusText().empty(); }))
        << "status line: \"" << StatusText() << '"';
    EXPECT_EQ(GetFocus(), window->Handle());
}

TEST_F(CorvaneEditor, ASwitchSelectsTheSliceUnderTheMouse) {
    Multiswitch* output = SwitchFor(kOutput);
    ASSERT_NE(output, nullptr);
    auto click = [&](int y) {
        Post(output, WM_LBUTTONDOWN, MK_LBUTTON, At(10, y));
        Post(output, WM_LBUTTONUP, 0, At(10, y));
    };
    // 66 rows in four slices of 16, bottom up; the two rows left over at the top select nothing.
    click(5);
    EXPECT_EQ(output->GetFrame(), 3);
    EXPECT_EQ(host.getParameter(kOutput), 1.0f);
    EXPECT_EQ(StatusText(), "Output: Both ");
    click(60);
    EXPECT_EQ(output->GetFrame(), 0);
    EXPECT_EQ(host.getParameter(kOutput), 0.0f);
    ASSERT_EQ(host.automations().size(), 2u);
    EXPECT_EQ(host.automations()[0].index, kOutput);
    EXPECT_EQ(host.automations()[0].value, 1.0f);
    EXPECT_EQ(host.automations()[1].value, 0.0f);

    host.clearCalls();
    click(1);
    EXPECT_EQ(output->GetFrame(), 0) << "row 1 belongs to no position";
    click(60);
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u) << "the selected position again";

    const struct {
        int y;
        int position;
    } slices[] = {{2, 3}, {17, 3}, {18, 2}, {33, 2}, {34, 1}, {49, 1}, {50, 0}, {65, 0}};
    for (const auto& slice : slices) {
        click(slice.y);
        EXPECT_EQ(output->GetFrame(), slice.position) << "y " << slice.y;
    }

    // Dragging with the button down selects the slices it crosses.
    Post(output, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 60));
    Post(output, WM_MOUSEMOVE, MK_LBUTTON, At(10, 25));
    EXPECT_EQ(output->GetFrame(), 2);
    Post(output, WM_MOUSEMOVE, MK_LBUTTON, At(10, 10));
    Post(output, WM_LBUTTONUP, 0, At(10, 10));
    EXPECT_EQ(output->GetFrame(), 3);
    EXPECT_EQ(host.getParameter(kOutput), 1.0f);

    // The wheel steps one position while hovered and stops at the ends.
    Multiswitch* slope = SwitchFor(kSlope);
    ASSERT_NE(slope, nullptr);
    Post(slope, WM_MOUSEHOVER, 0, At(10, 10));
    host.clearCalls();
    Wheel(slope, -1);
    EXPECT_EQ(slope->GetFrame(), 0);
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u);
    Wheel(slope, 1);
    Wheel(slope, 1);
    EXPECT_EQ(slope->GetFrame(), 2);
    EXPECT_EQ(StatusText(), "Filter Slope: -18 dB");
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 2u);
}

TEST_F(CorvaneEditor, AHostChangeMovesTheControlWithoutAutomation) {
    host.setParameter(kCutoff, 0.5f);
    host.setParameter(kSlope, 1.0f);
    host.setParameter(kOutput, 0.4f);
    Pump();
    EXPECT_EQ(KnobFor(kCutoff)->GetFrame(), 45);
    EXPECT_EQ(KnobFor(kCutoff)->GetValue(), 0.5f);
    EXPECT_EQ(SwitchFor(kSlope)->GetFrame(), 3);
    EXPECT_EQ(SwitchFor(kOutput)->GetFrame(), 1);
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u);
    EXPECT_EQ(StatusText(), "");

    // A change while the editor is closed shows when it opens again.
    host.dispatch(effEditClose);
    host.setParameter(kBassAmp, 1.0f);
    ASSERT_TRUE(Open());
    EXPECT_EQ(KnobFor(kBassAmp)->GetFrame(), 90);
    EXPECT_EQ(KnobFor(kCutoff)->GetFrame(), 45);
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u);
}

TEST_F(CorvaneEditor, MidiLearnFromAKnobMenuBindsTheNextController) {
    Knob* cutoff = KnobFor(kCutoff);
    ASSERT_NE(cutoff, nullptr);
    EXPECT_TRUE(Bindings().empty());
    Learn(cutoff, 7);
    EXPECT_EQ(StatusText(), "") << "the binding ends the learning";
    EXPECT_EQ(Bindings(), (std::map<int, int>{{kCutoff, 7}}));

    // The bound controller now moves the knob and the host hears of it.
    host.clearCalls();
    SendController(7, 127);
    EXPECT_EQ(host.getParameter(kCutoff), 1.0f);
    EXPECT_EQ(cutoff->GetFrame(), 90);
    ASSERT_EQ(host.automations().size(), 1u);
    EXPECT_EQ(host.automations()[0].index, kCutoff);
    SendController(8, 0);
    EXPECT_EQ(host.getParameter(kCutoff), 1.0f) << "an unbound controller";

    // The menu now offers to forget it; choosing that removes the binding.
    const Seen menu = RightClickMenu(cutoff, {VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(menu.appeared);
    EXPECT_EQ(menu.items, (std::vector<std::string>{"MIDI Learn", "Forget CC: 7"}));
    EXPECT_TRUE(Bindings().empty());
    SendController(7, 0);
    EXPECT_EQ(host.getParameter(kCutoff), 1.0f);

    // Other knobs' menus show only their own binding.
    Learn(KnobFor(kBassAmp), 9);
    const Seen spreadMenu = RightClickMenu(KnobFor(kSpread), {VK_ESCAPE});
    EXPECT_EQ(spreadMenu.items, (std::vector<std::string>{"MIDI Learn"}));
    EXPECT_EQ(Bindings(), (std::map<int, int>{{kBassAmp, 9}}));
}

TEST_F(CorvaneEditor, DismissingAControlMenuStopsLearning) {
    Knob* spread = KnobFor(kSpread);
    ASSERT_NE(spread, nullptr);
    const Seen chosen = RightClickMenu(spread, {VK_DOWN, VK_RETURN});
    ASSERT_TRUE(chosen.appeared);
    ASSERT_EQ(StatusText(), "Learning...");
    const Seen dismissed = RightClickMenu(spread, {VK_ESCAPE});
    ASSERT_TRUE(dismissed.appeared);
    EXPECT_TRUE(dismissed.closed);
    EXPECT_EQ(StatusText(), "");
    SendController(11, 100);
    EXPECT_TRUE(Bindings().empty());
    EXPECT_EQ(host.getParameter(kSpread), 0.0f);

    // A switch has the same menu.
    const Seen switchMenu = RightClickMenu(SwitchFor(kSlope), {VK_DOWN, VK_RETURN});
    EXPECT_EQ(switchMenu.items, (std::vector<std::string>{"MIDI Learn"}));
    SendController(12, 0);
    EXPECT_EQ(Bindings(), (std::map<int, int>{{kSlope, 12}}));
}

TEST_F(CorvaneEditor, TheViewMenuOffersCancelOnlyWhileLearning) {
    ModalScript idle;
    idle.Menu({VK_ESCAPE});
    ClickView(150, 30, idle);
    ASSERT_TRUE(idle.Step(0).appeared);
    EXPECT_EQ(idle.Step(0).items, (std::vector<std::string>{"About", "Clear All MIDI Learn"}));

    ASSERT_TRUE(RightClickMenu(KnobFor(kCutoff), {VK_DOWN, VK_RETURN}).appeared);
    ASSERT_EQ(StatusText(), "Learning...");
    ModalScript learning;
    learning.Menu({VK_DOWN, VK_DOWN, VK_RETURN});
    ClickView(150, 30, learning);
    ASSERT_TRUE(learning.Step(0).appeared);
    EXPECT_EQ(learning.Step(0).items,
              (std::vector<std::string>{"About", "Cancel MIDI Learn", "Clear All MIDI Learn"}));
    EXPECT_EQ(StatusText(), "");
    SendController(7, 64);
    EXPECT_TRUE(Bindings().empty()) << "learning was cancelled";
}

TEST_F(CorvaneEditor, ClearAllMidiLearnAsksFirst) {
    Learn(KnobFor(kCutoff), 7);
    Learn(SwitchFor(kOutput), 21);
    const std::map<int, int> bound = {{kCutoff, 7}, {kOutput, 21}};
    ASSERT_EQ(Bindings(), bound);

    ModalScript cancel;
    cancel.Menu({VK_DOWN, VK_DOWN, VK_RETURN}).Dialog("Warning!", [](HWND box) {
        PostKey(box, VK_ESCAPE);
    });
    ClickView(150, 30, cancel);
    ASSERT_TRUE(cancel.Step(1).appeared);
    EXPECT_TRUE(cancel.Step(1).closed);
    EXPECT_EQ(cancel.Step(1).statics,
              (std::vector<std::string>{"This will erase all MIDI Learn data for this bank. Are "
                                        "you sure you want to do this?"}));
    EXPECT_EQ(cancel.Step(1).buttons, (std::vector<std::string>{"OK", "Cancel"}));
    EXPECT_EQ(Bindings(), bound) << "Cancel keeps the bindings";

    ModalScript ok;
    ok.Menu({VK_DOWN, VK_DOWN, VK_RETURN}).Dialog("Warning!", [](HWND box) {
        PostKey(box, VK_RETURN);
    });
    ClickView(150, 30, ok);
    ASSERT_TRUE(ok.Step(1).appeared);
    EXPECT_TRUE(ok.Step(1).closed);
    EXPECT_TRUE(Bindings().empty());
    SendController(7, 127);
    EXPECT_NE(host.getParameter(kCutoff), 1.0f);
}

TEST_F(CorvaneEditor, TheAboutBoxOpensFromTheLogoAndClosesWithOkEscapeAndTheCloseBox) {
    // Outside the logo the click opens nothing.
    ModalScript outside;
    outside.Menu({VK_ESCAPE}, 1000);
    ClickView(300, 30, outside);
    EXPECT_FALSE(outside.Step(0).appeared);

    const std::function<void(HWND)> closers[] = {
        [](HWND about) { PostMessageA(GetDlgItem(about, IDOK), BM_CLICK, 0, 0); },
        [](HWND about) { PostKey(about, VK_ESCAPE); },
        [](HWND about) { PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto& close : closers) {
        ModalScript script;
        script.Menu({VK_DOWN, VK_RETURN}).Dialog("About Quellin Corvane", close);
        ClickView(150, 30, script);
        ASSERT_TRUE(script.Step(0).appeared);
        ASSERT_TRUE(script.Step(1).appeared);
        EXPECT_TRUE(script.Step(1).closed);
        const auto& buttons = script.Step(1).buttons;
        EXPECT_NE(std::find(buttons.begin(), buttons.end(), "OK"), buttons.end());
        EXPECT_NE(std::find(buttons.begin(), buttons.end(), "Visit Website"), buttons.end());
        EXPECT_EQ(FindWindowA(kDialogClass, "About Quellin Corvane"), nullptr);
    }
    EXPECT_NE(View(), nullptr) << "the editor stays open";
}

TEST_F(CorvaneEditor, CloseDestroysEveryWindow) {
    const std::vector<HWND> before = Descendants(window->Handle());
    ASSERT_EQ(before.size(), 7u);
    Close();
    EXPECT_TRUE(Descendants(window->Handle()).empty());
    for (HWND w : before) EXPECT_FALSE(IsWindow(w));
    // A host change after closing reaches no control.
    host.setParameter(kCutoff, 0.7f);
    Pump();
    EXPECT_EQ(host.getParameter(kCutoff), 0.7f);
}

TEST_F(CorvaneEditor, OpeningTwiceLeavesOneView) {
    const HWND first = View();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(Open());
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(DescendantsOfClass(window->Handle(), kViewClass).size(), 1u);
    EXPECT_EQ(Descendants(window->Handle()).size(), 7u);
    // The new view is the one the model talks to.
    host.setParameter(kSpread, 1.0f);
    Pump();
    EXPECT_EQ(KnobFor(kSpread)->GetFrame(), 90);
}

TEST_F(CorvaneEditor, OpeningAndClosingTwoHundredTimesLeavesNoObjectsBehind) {
    ExpectOpeningAndClosingLeavesNoObjectsBehind(200);
}

}  // namespace
