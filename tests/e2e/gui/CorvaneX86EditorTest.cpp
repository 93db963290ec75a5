// The x86 build's editor in real windows (the shipped 32-bit DLL in the 32-bit tree, its x86-64
// twin in the x64 one): the DLL loaded by the test host, its dialog opened in a top-level window
// of this thread and driven with the messages a user's actions produce. Control state is read
// through the object each control window carries in GWLP_USERDATA (same headers, same compiler;
// only inline accessors are used).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SynthToolkit/Gui/AppMessages.h"
#include "SynthToolkit/Gui/Knob.h"
#include "SynthToolkit/Gui/StatusControl.h"
#include "SynthToolkit/Gui/VSwitch.h"
#include "resources/resource.h"
#include "tests/e2e/gui/EditorFixture.h"

namespace {

using namespace EditorHarness;
using SynthToolkit::Gui::CustomControl;
using SynthToolkit::Gui::floatFromBits;
using SynthToolkit::Gui::Knob;
using SynthToolkit::Gui::StatusControl;
using SynthToolkit::Gui::VSwitch;
using SynthToolkit::Gui::WM_APP_SET_VALUE;

constexpr const char* kAboutCaption = "About Quellin Corvane";

enum Parameter { kOutput = 0, kCutoff = 1, kSlope = 2, kSpread = 3, kBassAmp = 4 };
enum ControlId {
    kSpreadKnob = IDC_SPREAD_KNOB,
    kBassAmpKnob = IDC_BASS_AMP_KNOB,
    kCutoffKnob = IDC_CUTOFF_KNOB,
    kOutputSwitch = IDC_OUTPUT_SWITCH,
    kSlopeSwitch = IDC_SLOPE_SWITCH,
    kStatusLine = IDC_STATUS_LINE,
};

struct Binding {
    int id;
    int parameter;
};
constexpr Binding kBindings[] = {{kOutputSwitch, kOutput},
                                 {kCutoffKnob, kCutoff},
                                 {kSlopeSwitch, kSlope},
                                 {kSpreadKnob, kSpread},
                                 {kBassAmpKnob, kBassAmp}};

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// Points the plug-in module's import of ShellExecuteA at a recorder, so "Visit Website" opens
// no browser; the import is restored on destruction.
class ShellExecuteRecorder {
public:
    explicit ShellExecuteRecorder(HMODULE module) {
        slot = FindImport(module, "shell32.dll", "ShellExecuteA");
        if (slot == nullptr) return;
        original = *slot;
        Write(reinterpret_cast<ULONG_PTR>(&Record));
        urls().clear();
    }
    ~ShellExecuteRecorder() {
        if (slot != nullptr) Write(original);
    }
    ShellExecuteRecorder(const ShellExecuteRecorder&) = delete;
    ShellExecuteRecorder& operator=(const ShellExecuteRecorder&) = delete;

    bool Installed() const { return slot != nullptr; }
    static std::vector<std::string>& urls() {
        static std::vector<std::string> seen;
        return seen;
    }

private:
    static HINSTANCE WINAPI Record(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT) {
        urls().push_back(std::string(verb != nullptr ? verb : "") + " " +
                         (file != nullptr ? file : ""));
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));  // above 32: success
    }

    static ULONG_PTR* FindImport(HMODULE module, const char* dll, const char* function) {
        auto* base = reinterpret_cast<BYTE*>(module);
        if (base == nullptr) return nullptr;
        auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports =
            nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        if (imports.VirtualAddress == 0) return nullptr;
        for (auto* entry =
                 reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
             entry->Name != 0; ++entry) {
            if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), dll) != 0) continue;
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
                base +
                (entry->OriginalFirstThunk != 0 ? entry->OriginalFirstThunk : entry->FirstThunk));
            auto* bound = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
            for (; names->u1.AddressOfData != 0; ++names, ++bound) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                auto* byName =
                    reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                    return reinterpret_cast<ULONG_PTR*>(&bound->u1.Function);
            }
        }
        return nullptr;
    }

    void Write(ULONG_PTR value) {
        DWORD previous = 0;
        VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &previous);
        *slot = value;
        VirtualProtect(slot, sizeof(*slot), previous, &previous);
    }

    ULONG_PTR* slot = nullptr;
    ULONG_PTR original = 0;
};

struct X86Build {
    static constexpr const char* kPath = QC_CORVANE_X86_PATH;
    static constexpr int kWidth = 513;
    static constexpr int kHeight = 221;
};

class CorvaneX86Editor : public EditorFixture<X86Build> {
protected:
    HWND Dialog() const {
        const auto dialogs = DescendantsOfClass(window->Handle(), kDialogClass);
        return dialogs.size() == 1 ? dialogs[0] : nullptr;
    }
    HWND Item(int id) const { return GetDlgItem(Dialog(), id); }
    template <typename Control>
    Control* ObjectOf(int id) const {
        auto* object = reinterpret_cast<CustomControl*>(GetWindowLongPtrA(Item(id), GWLP_USERDATA));
        return static_cast<Control*>(object);
    }
    Knob* KnobOf(int id) const { return ObjectOf<Knob>(id); }
    VSwitch* SwitchOf(int id) const { return ObjectOf<VSwitch>(id); }
    std::string StatusText() const {
        StatusControl* status = ObjectOf<StatusControl>(kStatusLine);
        return status != nullptr ? status->text() : "<no status line>";
    }

    static void Click(HWND control, int x, int y, WPARAM keys = 0) {
        Post(control, WM_LBUTTONDOWN, MK_LBUTTON | keys, At(x, y));
        Post(control, WM_LBUTTONUP, keys, At(x, y));
    }

    // Clicks the dialog surface and runs the script against what opens.
    void ClickDialog(int x, int y, ModalScript& script) {
        script.Start();
        PostMessageA(Dialog(), WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
        script.PumpToEnd();
    }
};

TEST_F(CorvaneX86Editor, TheDialogAndItsControlsSitWhereThePanelDrawsThem) {
    const HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetParent(dialog), window->Handle());
    EXPECT_EQ(GetDlgCtrlID(dialog), 0);
    EXPECT_TRUE(IsWindowVisible(dialog));
    const RECT dialogRect = RectInParent(dialog);
    EXPECT_EQ(dialogRect.left, 0);
    EXPECT_EQ(dialogRect.top, 0);

    const std::vector<Placement> expected = {
        {"VSwitch", 73, 117, 15, 70}, {"VSwitch", 136, 117, 15, 70},
        {"Knob", 194, 117, 70, 70},   {"Knob", 295, 117, 70, 70},
        {"Knob", 396, 117, 70, 70},   {"StatusControl", 320, 15, 200, 30},
    };
    const int ids[] = {kOutputSwitch, kSlopeSwitch, kCutoffKnob,
                       kSpreadKnob,   kBassAmpKnob, kStatusLine};
    ASSERT_EQ(Descendants(window->Handle()).size(), 1 + expected.size());
    const std::vector<HWND> controls = ExpectChildren(dialog, expected);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(controls[i], Item(ids[i])) << "control " << ids[i];
        EXPECT_NE(GetWindowLongPtrA(Item(ids[i]), GWLP_USERDATA), 0) << "no control object";
    }
    ExpectEditorRect();

    // The controls start at the model's values: cutoff 0.1, spread 0, bass amp 0.5, both
    // switches at 0 (their bottom slot).
    EXPECT_NEAR(KnobOf(kCutoffKnob)->position(), 10.0f, 1e-4f);
    EXPECT_EQ(KnobOf(kSpreadKnob)->position(), 0.0f);
    EXPECT_NEAR(KnobOf(kBassAmpKnob)->position(), 50.0f, 1e-4f);
    EXPECT_EQ(SwitchOf(kOutputSwitch)->thumbTop(), 51);
    EXPECT_EQ(SwitchOf(kSlopeSwitch)->thumbTop(), 51);
    EXPECT_EQ(StatusText(), "");
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u) << "opening reports nothing";
}

TEST_F(CorvaneX86Editor, DraggingAKnobReportsEveryMoveAndStopsAtTheTop) {
    const HWND knob = Item(kSpreadKnob);
    Post(knob, WM_LBUTTONDOWN, MK_LBUTTON, At(35, 60));
    EXPECT_EQ(GetCapture(), knob);
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u) << "a press alone changes nothing";
    for (int y = 50; y >= 10; y -= 10) Post(knob, WM_MOUSEMOVE, MK_LBUTTON, At(35, y));
    const std::vector<float> steps = AutomatedValues(kSpread);
    ASSERT_EQ(steps.size(), 5u) << "one report per move";
    for (std::size_t i = 0; i < steps.size(); ++i)
        EXPECT_NEAR(steps[i], 0.1f * static_cast<float>(i + 1), 1e-6f);
    EXPECT_NEAR(host.getParameter(kSpread), 0.5f, 1e-6f);
    EXPECT_NEAR(KnobOf(kSpreadKnob)->position(), 50.0f, 1e-4f);

    // Beyond the top every further move still reports, at 1.
    host.clearCalls();
    for (int y : {-40, -90, -300}) Post(knob, WM_MOUSEMOVE, MK_LBUTTON, At(35, y));
    EXPECT_EQ(AutomatedValues(kSpread), (std::vector<float>{1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(host.getParameter(kSpread), 1.0f);
    EXPECT_EQ(KnobOf(kSpreadKnob)->position(), 100.0f);
    // And the way back down starts at once, not after the overshoot.
    Post(knob, WM_MOUSEMOVE, MK_LBUTTON, At(35, -290));
    EXPECT_NEAR(host.getParameter(kSpread), 0.9f, 1e-6f);

    Post(knob, WM_LBUTTONUP, 0, At(35, -290));
    EXPECT_EQ(GetCapture(), nullptr);
    host.clearCalls();
    Post(knob, WM_MOUSEMOVE, 0, At(35, 20));
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u) << "moving without the button";
}

TEST_F(CorvaneX86Editor, ShiftDragMovesATenthAsFar) {
    ExpectShiftDragMovesATenthAsFar(Item(kSpreadKnob), kSpread, 35);
}

TEST_F(CorvaneX86Editor, CtrlClickResetsTheParameterAndTheKnobFollowsOnIdle) {
    const HWND knob = Item(kBassAmpKnob);
    Post(knob, WM_LBUTTONDOWN, MK_LBUTTON, At(35, 60));
    Post(knob, WM_MOUSEMOVE, MK_LBUTTON, At(35, 40));
    Post(knob, WM_LBUTTONUP, 0, At(35, 40));
    ASSERT_NEAR(host.getParameter(kBassAmp), 0.7f, 1e-6f);
    host.clearCalls();

    Post(knob, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, At(35, 60));
    EXPECT_EQ(AutomatedValues(kBassAmp), (std::vector<float>{0.5f}));
    EXPECT_EQ(host.getParameter(kBassAmp), 0.5f);
    EXPECT_EQ(GetCapture(), knob) << "the press still starts a drag";
    EXPECT_NEAR(KnobOf(kBassAmpKnob)->position(), 70.0f, 1e-4f) << "moved before the idle";
    Idle();
    EXPECT_NEAR(KnobOf(kBassAmpKnob)->position(), 50.0f, 1e-4f);

    Post(knob, WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, At(35, 50));
    Post(knob, WM_LBUTTONUP, 0, At(35, 50));
    EXPECT_NEAR(host.getParameter(kBassAmp), 0.6f, 1e-6f);
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 2u);
}

TEST_F(CorvaneX86Editor, ASwitchClickSelectsTheSlotUnderTheMouse) {
    const HWND output = Item(kOutputSwitch);
    VSwitch* control = SwitchOf(kOutputSwitch);
    Click(output, 7, 69);
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u) << "the bottom slot is already selected";

    Click(output, 7, 5);
    EXPECT_EQ(control->thumbTop(), 0);
    EXPECT_EQ(GetCapture(), nullptr);
    Click(output, 7, 69);
    EXPECT_EQ(control->thumbTop(), 51);
    const std::vector<float> values = AutomatedValues(kOutput);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_NEAR(values[0], 1.0f - 5.0f / 70.0f, 1e-6f);
    EXPECT_NEAR(values[1], 0.014f, 0.001f);

    host.clearCalls();
    Click(output, 7, 53);  // the same bottom slot
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u);
    EXPECT_EQ(control->thumbTop(), 51);

    // Slots of 17 rows from the top; the two rows left at the bottom belong to the last one.
    const struct {
        int y;
        int top;
    } slots[] = {{17, 0}, {18, 17}, {34, 17}, {35, 34}, {52, 34}, {53, 51}, {70, 51}};
    VSwitch* slope = SwitchOf(kSlopeSwitch);
    for (const auto& slot : slots) {
        Click(Item(kSlopeSwitch), 7, slot.y);
        EXPECT_EQ(slope->thumbTop(), slot.top) << "y " << slot.y;
    }
    // Dragging is not a switch gesture.
    host.clearCalls();
    Post(Item(kSlopeSwitch), WM_LBUTTONDOWN, MK_LBUTTON, At(7, 60));
    Post(Item(kSlopeSwitch), WM_MOUSEMOVE, MK_LBUTTON, At(7, 5));
    Post(Item(kSlopeSwitch), WM_LBUTTONUP, 0, At(7, 5));
    EXPECT_EQ(slope->thumbTop(), 51);
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u);
}

TEST_F(CorvaneX86Editor, HostChangesReachTheControlsOnlyThroughIdle) {
    MessageSpy cutoff(Item(kCutoffKnob), WM_APP_SET_VALUE);
    host.setParameter(kCutoff, 0.2f);
    host.setParameter(kCutoff, 0.4f);
    host.setParameter(kCutoff, 0.6f);
    Pump();
    EXPECT_TRUE(cutoff.Received().empty()) << "a window was touched before the idle";
    EXPECT_NEAR(KnobOf(kCutoffKnob)->position(), 10.0f, 1e-4f);
    Idle();
    ASSERT_EQ(cutoff.Received().size(), 1u) << "three changes, one update";
    EXPECT_NEAR(floatFromBits(cutoff.Received()[0]), 0.6f, 1e-6f);
    EXPECT_NEAR(KnobOf(kCutoffKnob)->position(), 60.0f, 1e-4f);
    Idle();
    EXPECT_EQ(cutoff.Received().size(), 1u) << "nothing left to send";
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u);

    // A switch follows the same way: 1 selects the top slot.
    host.setParameter(kSlope, 1.0f);
    Pump();
    EXPECT_EQ(SwitchOf(kSlopeSwitch)->thumbTop(), 51);
    Idle();
    EXPECT_EQ(SwitchOf(kSlopeSwitch)->thumbTop(), 0);
}

TEST_F(CorvaneX86Editor, AProgramChangeUpdatesEveryControlOnceOnIdle) {
    // Program 0 away from its defaults, then program 1.
    for (const Binding& b : kBindings) host.setParameter(b.parameter, 0.77f);
    Idle();
    std::vector<std::unique_ptr<MessageSpy>> spies;
    for (const Binding& b : kBindings)
        spies.push_back(std::make_unique<MessageSpy>(Item(b.id), WM_APP_SET_VALUE));

    host.dispatch(effSetProgram, 0, 1);
    Pump();
    for (const auto& spy : spies) EXPECT_TRUE(spy->Received().empty());
    Idle();
    for (std::size_t i = 0; i < std::size(kBindings); ++i) {
        SCOPED_TRACE("parameter " + std::to_string(kBindings[i].parameter));
        ASSERT_EQ(spies[i]->Received().size(), 1u);
        EXPECT_EQ(floatFromBits(spies[i]->Received()[0]),
                  host.getParameter(kBindings[i].parameter));
    }
    EXPECT_NE(host.getParameter(kCutoff), 0.77f) << "program 1 is a program of its own";
    EXPECT_NEAR(KnobOf(kCutoffKnob)->position(), host.getParameter(kCutoff) * 100.0f, 1e-4f);
    EXPECT_NEAR(KnobOf(kBassAmpKnob)->position(), host.getParameter(kBassAmp) * 100.0f, 1e-4f);
    EXPECT_EQ(SwitchOf(kOutputSwitch)->value(), host.getParameter(kOutput));
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u);
}

TEST_F(CorvaneX86Editor, HoveringAControlShowsItsParameterAndLeavingClearsIt) {
    Post(Item(kCutoffKnob), WM_MOUSEHOVER, 0, At(35, 35));
    EXPECT_TRUE(StartsWith(StatusText(), "Cutoff Freq.: ")) << StatusText();
    EXPECT_GT(StatusText().size(), std::strlen("Cutoff Freq.: ")) << "no value shown";
    Post(Item(kCutoffKnob), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(StatusText(), "");

    // With the real pointer: a move over the knob asks for the hover, which comes 200 ms later.
    POINT centre = {35, 35};
    ClientToScreen(Item(kCutoffKnob), &centre);
    SetCursorPos(centre.x, centre.y);
    EXPECT_TRUE(PumpUntil([&] { return StartsWith(StatusText(), "Cutoff Freq.: "); }))
        << "status line: \"" << StatusText() << '"';
    SetCursorPos(1200, 1000);
    EXPECT_TRUE(PumpUntil([&] { return StatusText().empty(); }))
        << "status line: \"" << StatusText() << '"';
}

TEST_F(CorvaneX86Editor, TheAboutBoxOpensFromTheLogoAreaOnly) {
    const std::function<void(HWND)> ignore = [](HWND) {};
    for (const POINT outside : {POINT{290, 30}, POINT{150, 60}, POINT{10, 30}}) {
        ModalScript script;
        script.Dialog(kAboutCaption, ignore, 1000);
        ClickDialog(outside.x, outside.y, script);
        EXPECT_FALSE(script.Step(0).appeared) << "(" << outside.x << ", " << outside.y << ")";
    }

    const struct {
        POINT at;
        std::function<void(HWND)> close;
    } openings[] = {
        {{11, 11}, [](HWND about) { PostMessageA(GetDlgItem(about, IDOK), BM_CLICK, 0, 0); }},
        {{289, 59}, [](HWND about) { PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {{150, 30}, [](HWND about) { PostMessageA(about, WM_CLOSE, 0, 0); }},
    };
    for (const auto& opening : openings) {
        SCOPED_TRACE("(" + std::to_string(opening.at.x) + ", " + std::to_string(opening.at.y) +
                     ")");
        ModalScript script;
        script.Dialog(kAboutCaption, opening.close);
        ClickDialog(opening.at.x, opening.at.y, script);
        ASSERT_TRUE(script.Step(0).appeared);
        EXPECT_TRUE(script.Step(0).closed);
        EXPECT_EQ(script.Step(0).buttons, (std::vector<std::string>{"OK", "Visit Website"}));
        EXPECT_EQ(FindWindowA(kDialogClass, kAboutCaption), nullptr);
    }
    EXPECT_NE(Dialog(), nullptr) << "the editor stays open";
}

TEST_F(CorvaneX86Editor, VisitWebsiteOpensTheAddressAndKeepsTheBoxOpen) {
    // The module's file name: the shipped DLL's in the 32-bit tree, the twin's elsewhere.
    const std::string path = X86Build::kPath;
    ShellExecuteRecorder recorder(
        GetModuleHandleA(path.substr(path.find_last_of("/\\") + 1).c_str()));
    ASSERT_TRUE(recorder.Installed()) << "the DLL imports no ShellExecuteA";
    bool stillOpen = false;
    ModalScript script;
    script.Dialog(kAboutCaption, [&stillOpen](HWND about) {
        SendMessageA(GetDlgItem(about, IDC_VISIT_WEBSITE), BM_CLICK, 0, 0);
        Sleep(200);
        stillOpen = IsWindow(about) && IsWindowVisible(about);
        PostMessageA(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    });
    ClickDialog(11, 11, script);
    ASSERT_TRUE(script.Step(0).appeared);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(script.Step(0).closed);
    EXPECT_EQ(ShellExecuteRecorder::urls(),
              (std::vector<std::string>{"open https://quellin.example/"}));
}

TEST_F(CorvaneX86Editor, ReopeningLeavesOneLiveStatusLineListening) {
    const std::vector<HWND> first = Descendants(window->Handle());
    Reopen();
    Reopen();
    for (HWND w : first) EXPECT_FALSE(IsWindow(w));
    ASSERT_EQ(Descendants(window->Handle()).size(), 7u);
    // Only a status line the model still calls shows a host change; one the model still called
    // after its window had gone would be written to after deletion.
    host.setParameter(kCutoff, 0.5f);
    EXPECT_TRUE(StartsWith(StatusText(), "Cutoff Freq.: ")) << StatusText();
    Idle();
    EXPECT_NEAR(KnobOf(kCutoffKnob)->position(), 50.0f, 1e-4f);

    // Closed, the model talks to nobody, and reopening shows the change made meanwhile.
    Close();
    EXPECT_TRUE(Descendants(window->Handle()).empty());
    host.setParameter(kBassAmp, 1.0f);
    host.dispatch(effEditIdle);
    ASSERT_TRUE(Open());
    EXPECT_EQ(KnobOf(kBassAmpKnob)->position(), 100.0f);
    EXPECT_EQ(StatusText(), "");
    host.setParameter(kSpread, 0.25f);
    EXPECT_NE(StatusText(), "");
}

TEST_F(CorvaneX86Editor, OpeningAndClosingTwoHundredTimesLeavesNoObjectsBehind) {
    ExpectOpeningAndClosingLeavesNoObjectsBehind(200);
}

}  // namespace
