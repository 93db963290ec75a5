// The x64 build's editor on Linux: the shipped .so loaded by the test host, its editor opened in
// a window of the test's own X connection and driven with XTest, so the plug-in sees what a
// real mouse and keyboard produce. What the editor shows is read back from the X server: the
// window tree, the names it gives its windows (the status text, menu items, buttons) and pixels.
#include <cairo/cairo.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/gui/X11Harness.h"
#include "tests/support/ProductFacts.h"
#include "tools/host/Host.h"

namespace {

using X11Harness::OpenFiles;
using X11Harness::Screen;
using X11Harness::Until;

const char* const kPath = QC_CORVANE_X64_PATH;
const char* const kWindowsScreenshot = QC_WINDOWS_SCREENSHOT;
constexpr const char* kViewClass = "QuellinCorvaneWindowClass";
constexpr const char* kKnobClass = "QuellinLinuxToolkitKnob";
constexpr const char* kSwitchClass = "QuellinLinuxToolkitMultiswitch";
constexpr const char* kStatusClass = "QuellinLinuxToolkitStatusControl";
constexpr const char* kMenuClass = "QuellinLinuxToolkitMenu";
constexpr const char* kItemClass = "QuellinLinuxToolkitMenuItem";
constexpr const char* kBoxClass = "QuellinLinuxToolkitBox";
constexpr const char* kButtonClass = "QuellinLinuxToolkitButton";

enum Parameter { kOutput = 0, kCutoff = 1, kSlope = 2, kSpread = 3, kBassAmp = 4 };

// The bank chunk's fixed part: header and 32 programs; the bindings follow, one entry per
// parameter (0, or 1 and the controller number).
constexpr std::size_t kBindingsOffset = TestSupport::Product::kBindingsOffset;

// Control origins on the panel.
struct Place {
    int x, y;
};
const std::map<int, Place> kPlaces = {{kCutoff, {194, 117}},
                                      {kSpread, {295, 117}},
                                      {kBassAmp, {396, 117}},
                                      {kOutput, {73, 117}},
                                      {kSlope, {136, 117}}};

class LinuxEditor : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        library = std::make_unique<VstHost::PluginLibrary>();
        loaded = library->load(kPath);
    }
    static void TearDownTestSuite() { library.reset(); }

    void SetUp() override {
        ASSERT_NE(screen.Get(), nullptr) << "no X display";
        ASSERT_TRUE(loaded) << library->error();
        ASSERT_TRUE(host.open(*library)) << host.error();
        frame = screen.MakeHostWindow(512, 224);
        screen.MoveTo(screen.Root(), 1200, 1000);  // the pointer stays off the panel
        ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(frame)), 1);
        Idle();
        host.clearCalls();
    }

    void TearDown() override {
        if (screen.Get() == nullptr) return;
        screen.Button(1, false);
        host.dispatch(effEditClose);
        host.close();
        XDestroyWindow(screen.Get(), frame);
        XSync(screen.Get(), False);
    }

    // A few of the host's idle calls, with time for the server's events to arrive between them.
    void Idle(int times = 6) {
        for (int i = 0; i < times; ++i) {
            XSync(screen.Get(), False);
            host.dispatch(effEditIdle);
            usleep(1500);
        }
    }
    bool IdleUntil(const std::function<bool()>& done) {
        return Until([this] { Idle(1); }, done);
    }

    Window View() const {
        const auto views = screen.OfClass(frame, kViewClass);
        return views.size() == 1 ? views[0] : 0;
    }
    std::string StatusText() const {
        const auto found = screen.OfClass(frame, kStatusClass);
        return found.size() == 1 ? screen.NameOf(found[0]) : "<no status line>";
    }
    // Top-level windows the editor opened: menus and boxes.
    Window TopLevel(const char* className) const {
        for (Window w : screen.OfClass(screen.Root(), className))
            if (screen.IsMapped(w)) return w;
        return 0;
    }

    // Presses at a point of the panel, moves by the steps (idling after each) and releases.
    void Drag(Place at, std::vector<int> ys, std::vector<KeySym> held = {}) {
        for (KeySym key : held) screen.Key(key, true);
        screen.MoveTo(View(), at.x, at.y);
        screen.Button(1, true);
        Idle();
        for (int y : ys) {
            screen.MoveTo(View(), at.x, y);
            Idle();
        }
        screen.Button(1, false);
        for (KeySym key : held) screen.Key(key, false);
        Idle();
    }

    // Opens a menu with a click and answers it by item text; returns the items offered.
    std::vector<std::string> ChooseFromMenu(Place at, unsigned button, const std::string& item) {
        screen.Click(View(), at.x, at.y, button);
        Window menu = 0;
        EXPECT_TRUE(IdleUntil([&] { return (menu = TopLevel(kMenuClass)) != 0; })) << "no menu";
        std::vector<std::string> items;
        if (menu == 0) return items;
        for (Window w : screen.OfClass(menu, kItemClass)) items.push_back(screen.NameOf(w));
        const Window chosen = screen.Named(menu, kItemClass, item);
        if (chosen != 0) {
            const auto g = screen.GeometryOf(chosen);
            screen.Click(chosen, g.w / 2, g.h / 2);
        } else {
            screen.Click(screen.Root(), 1000, 900);  // outside: dismissed
        }
        EXPECT_TRUE(IdleUntil([&] { return TopLevel(kMenuClass) == 0; })) << "menu stays";
        return items;
    }

    bool PressBoxButton(Window box, const std::string& caption) {
        const Window button = screen.Named(box, kButtonClass, caption);
        if (button == 0) return false;
        screen.Click(button, 10, 10);
        Idle();
        return true;
    }

    void SendController(int cc, int value) {
        host.sendEvents({VstHost::makeControlChange(0, 0, cc, value)});
        std::vector<float> in(64, 0.0f), outL(64), outR(64);
        ASSERT_TRUE(
            host.processReplacing({in.data(), in.data()}, {outL.data(), outR.data()}, 64, 64));
        Idle();
    }

    std::map<int, int> Bindings() {
        void* data = nullptr;
        const VstIntPtr size = host.dispatch(effGetChunk, 0, 0, &data);
        std::map<int, int> bound;
        if (data == nullptr || size < static_cast<VstIntPtr>(kBindingsOffset)) return bound;
        const auto* bytes = static_cast<const unsigned char*>(data);
        std::size_t at = kBindingsOffset;
        for (int parameter = 0; parameter < 5 && at < static_cast<std::size_t>(size); ++parameter) {
            if (bytes[at++] == 0) continue;
            if (at < static_cast<std::size_t>(size)) bound[parameter] = bytes[at++];
        }
        return bound;
    }

    static inline std::unique_ptr<VstHost::PluginLibrary> library;
    static inline bool loaded = false;
    Screen screen;
    Window frame = 0;
    VstHost::Host host;
};

TEST_F(LinuxEditor, AnswersLikeTheWindowsBuildBeforeAndAfterOpening) {
    EXPECT_EQ(host.effect()->flags, 0x31);
    ERect* rect = nullptr;
    ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 224);
    EXPECT_EQ(rect->right, 512);
}

TEST_F(LinuxEditor, TheWindowTreeMatchesThePanelLayout) {
    const auto views = screen.OfClass(frame, kViewClass);
    ASSERT_EQ(views.size(), 1u);
    const auto g = screen.GeometryOf(views[0]);
    EXPECT_EQ(g.x, 0);
    EXPECT_EQ(g.y, 0);
    EXPECT_EQ(g.w, 512);
    EXPECT_EQ(g.h, 224);
    struct Expected {
        const char* className;
        int x, y, w, h;
    };
    const Expected expected[] = {
        {kKnobClass, 194, 117, 67, 67},   {kKnobClass, 295, 117, 67, 67},
        {kKnobClass, 396, 117, 67, 67},   {kSwitchClass, 73, 117, 20, 66},
        {kSwitchClass, 136, 117, 20, 66}, {kStatusClass, 320, 15, 200, 30},
    };
    const auto children = screen.Children(views[0]);
    ASSERT_EQ(children.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        const auto c = screen.GeometryOf(children[i]);
        EXPECT_EQ(screen.ClassOf(children[i]), expected[i].className) << i;
        EXPECT_EQ(c.x, expected[i].x) << i;
        EXPECT_EQ(c.y, expected[i].y) << i;
        EXPECT_EQ(c.w, expected[i].w) << i;
        EXPECT_EQ(c.h, expected[i].h) << i;
        EXPECT_TRUE(screen.IsMapped(children[i])) << i;
    }
    EXPECT_EQ(StatusText(), "");
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u) << "opening reports nothing";
}

// Pixels of the panel against the committed Windows screenshot, except the status line (its
// text is drawn by each platform's fonts).
TEST_F(LinuxEditor, LooksLikeTheWindowsEditor) {
    cairo_surface_t* reference = cairo_image_surface_create_from_png(kWindowsScreenshot);
    ASSERT_EQ(cairo_surface_status(reference), CAIRO_STATUS_SUCCESS) << kWindowsScreenshot;
    ASSERT_EQ(cairo_image_surface_get_width(reference), 512);
    ASSERT_EQ(cairo_image_surface_get_height(reference), 224);
    // Painted once the server's first exposures have reached the editor.
    std::vector<unsigned> shown;
    IdleUntil([&] {
        shown = screen.Pixels(View(), 512, 224);
        return !shown.empty() && shown.front() != 0 && shown.back() != 0;
    });
    ASSERT_EQ(shown.size(), 512u * 224u);
    const unsigned char* data = cairo_image_surface_get_data(reference);
    const int stride = cairo_image_surface_get_stride(reference);
    int worst = 0;
    std::size_t differing = 0, compared = 0;
    for (int y = 0; y < 224; ++y) {
        for (int x = 0; x < 512; ++x) {
            if (x >= 320 && y >= 15 && y < 45) continue;
            const unsigned want =
                *reinterpret_cast<const unsigned*>(data + y * stride + x * 4) & 0xFFFFFF;
            const unsigned got =
                shown[static_cast<std::size_t>(y) * 512 + static_cast<std::size_t>(x)];
            int pixelWorst = 0;
            for (int shift : {0, 8, 16})
                pixelWorst =
                    std::max(pixelWorst, std::abs(static_cast<int>((want >> shift) & 0xFF) -
                                                  static_cast<int>((got >> shift) & 0xFF)));
            worst = std::max(worst, pixelWorst);
            if (pixelWorst > 2) ++differing;
            ++compared;
        }
    }
    cairo_surface_destroy(reference);
    RecordProperty("worst_channel_difference", worst);
    RecordProperty("differing_pixels", static_cast<int>(differing));
    std::printf("screenshot: %zu of %zu pixels differ by more than 2, worst channel %d\n",
                differing, compared, worst);
    EXPECT_LE(worst, 8);
    EXPECT_LE(differing, compared / 1000);
}

TEST_F(LinuxEditor, DraggingAKnobAutomatesEveryStepInsideOneGesture) {
    // From the cutoff's default 0.1: up 5 pixels a step, then far beyond the top.
    Drag({227, 150}, {145, 140, 135, 150, -200});
    const auto automations = host.automations();
    const float expected[] = {0.15f, 0.2f, 0.25f, 0.1f, 1.0f};
    ASSERT_EQ(automations.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(automations[i].index, kCutoff) << i;
        EXPECT_NEAR(automations[i].value, expected[i], 1e-6f) << i;
    }
    EXPECT_EQ(host.getParameter(kCutoff), 1.0f);
    // The press and the release frame the steps, so hosts can record touch automation.
    const auto calls = host.calls();
    std::vector<VstInt32> edits;
    for (const auto& call : calls)
        if (call.opcode != audioMasterGetTime) edits.push_back(call.opcode);
    ASSERT_GE(edits.size(), 2u);
    EXPECT_EQ(edits.front(), audioMasterBeginEdit);
    EXPECT_EQ(edits.back(), audioMasterEndEdit);
    EXPECT_EQ(host.countCalls(audioMasterBeginEdit), 1u);
    host.clearCalls();
    screen.MoveTo(View(), 227, 100);
    Idle();
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u) << "moving without the button";
}

TEST_F(LinuxEditor, ModifiersAndTheWheel) {
    struct Case {
        const char* what;
        int parameter;
        std::function<void()> act;
        float expected;
    };
    const Case cases[] = {
        {"shift drag", kSpread,
         [&] {
             Drag({328, 150}, {130}, {XK_Shift_L});
         },
         0.02f},
        {"ctrl click resets, then drags", kBassAmp,
         [&] {
             host.setParameter(kBassAmp, 0.9f);
             Drag({429, 150}, {140}, {XK_Control_L});
         },
         0.6f},
        {"wheel up twice", kCutoff,
         [&] {
             screen.Click(View(), 227, 150, 4);
             screen.Click(View(), 227, 150, 4);
             Idle();
         },
         0.12f},
        {"shift wheel down", kCutoff,
         [&] {
             screen.Key(XK_Shift_L, true);
             screen.Click(View(), 227, 150, 5);
             screen.Key(XK_Shift_L, false);
             Idle();
         },
         0.119f},
        {"wheel on a switch", kSlope,
         [&] {
             screen.Click(View(), 146, 150, 4);
             Idle();
         },
         1.0f / 3.0f},
        {"click a switch's top slice", kOutput,
         [&] {
             screen.Click(View(), 83, 122);
             Idle();
         },
         1.0f},
        {"ctrl click a switch", kOutput,
         [&] {
             screen.Key(XK_Control_L, true);
             screen.Click(View(), 83, 122);
             screen.Key(XK_Control_L, false);
             Idle();
         },
         0.0f},
    };
    for (const Case& c : cases) {
        host.clearCalls();
        c.act();
        EXPECT_NEAR(host.getParameter(c.parameter), c.expected, 1e-5f) << c.what;
        ASSERT_FALSE(host.automations().empty()) << c.what;
        EXPECT_EQ(host.automations().back().index, c.parameter) << c.what;
        EXPECT_NEAR(host.automations().back().value, c.expected, 1e-5f) << c.what;
    }
}

TEST_F(LinuxEditor, HoverShowsTheValueAndLeavingClearsIt) {
    struct Case {
        Place at;
        const char* text;
    };
    const Case cases[] = {{{227, 150}, "Cutoff Freq.: 100.00 Hz"},
                          {{429, 150}, "Bass Amp: 0.00 dB"},
                          {{83, 150}, "Output: Off "},
                          {{250, 60}, ""}};
    for (const Case& c : cases) {
        screen.MoveTo(View(), c.at.x, c.at.y);
        EXPECT_TRUE(IdleUntil([&] { return StatusText() == c.text; }))
            << c.text << " but shows " << StatusText();
    }
}

TEST_F(LinuxEditor, AHostChangeMovesTheControlWithoutAutomation) {
    host.setParameter(kCutoff, 0.5f);
    Idle();
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0u);
    EXPECT_EQ(StatusText(), "");
    // The knob shows it: a one-step wheel move goes on from there.
    screen.Click(View(), 227, 150, 4);
    Idle();
    EXPECT_NEAR(host.getParameter(kCutoff), 0.51f, 1e-6f);
}

TEST_F(LinuxEditor, MidiLearnForgetAndClearAllThroughTheMenus) {
    EXPECT_EQ(ChooseFromMenu({227, 150}, 3, "MIDI Learn"), std::vector<std::string>{"MIDI Learn"});
    EXPECT_EQ(StatusText(), "Learning...");
    SendController(7, 64);
    EXPECT_EQ(StatusText(), "") << "learning done";
    EXPECT_EQ(Bindings(), (std::map<int, int>{{kCutoff, 7}}));
    SendController(7, 127);
    EXPECT_EQ(host.getParameter(kCutoff), 1.0f);

    const std::vector<std::string> withForget = {"MIDI Learn", "Forget CC: 7"};
    EXPECT_EQ(ChooseFromMenu({227, 150}, 3, "Forget CC: 7"), withForget);
    EXPECT_TRUE(Bindings().empty());

    // Dismissing a control's menu stops learning.
    ChooseFromMenu({429, 150}, 3, "MIDI Learn");
    ChooseFromMenu({83, 150}, 3, "");
    EXPECT_EQ(StatusText(), "");
    SendController(9, 10);
    EXPECT_TRUE(Bindings().empty());

    // The view menu over the logo: Cancel only while learning; Clear All asks first.
    ChooseFromMenu({429, 150}, 3, "MIDI Learn");
    const std::vector<std::string> learning = {"About", "Cancel MIDI Learn",
                                               "Clear All MIDI Learn"};
    EXPECT_EQ(ChooseFromMenu({150, 30}, 1, "Cancel MIDI Learn"), learning);
    ChooseFromMenu({429, 150}, 3, "MIDI Learn");
    SendController(11, 10);
    ASSERT_EQ(Bindings(), (std::map<int, int>{{kBassAmp, 11}}));
    for (const char* answer : {"Cancel", "OK"}) {
        const std::vector<std::string> idle = {"About", "Clear All MIDI Learn"};
        EXPECT_EQ(ChooseFromMenu({150, 30}, 1, "Clear All MIDI Learn"), idle);
        Window box = 0;
        ASSERT_TRUE(IdleUntil([&] { return (box = TopLevel(kBoxClass)) != 0; }));
        EXPECT_EQ(screen.NameOf(box), "Warning!");
        ASSERT_TRUE(PressBoxButton(box, answer));
        EXPECT_TRUE(IdleUntil([&] { return TopLevel(kBoxClass) == 0; }));
        EXPECT_EQ(Bindings().empty(), std::string(answer) == "OK") << answer;
    }
    // Outside the logo nothing opens.
    screen.Click(View(), 300, 30);
    Idle();
    EXPECT_EQ(TopLevel(kMenuClass), 0u);
}

TEST_F(LinuxEditor, TheAboutBoxOpensTheWebsiteAndStaysUntilOk) {
    // A stand-in for the desktop's opener records the address it was given.
    const auto dir =
        std::filesystem::temp_directory_path() / ("qc-opener-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto opened = dir / "opened";
    {
        std::ofstream script(dir / "xdg-open");
        script << "#!/bin/sh\necho \"$1\" > '" << opened.string() << "'\n";
    }
    chmod((dir / "xdg-open").c_str(), 0755);
    const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", (dir.string() + ":" + path).c_str(), 1);

    ChooseFromMenu({150, 30}, 1, "About");
    Window box = 0;
    ASSERT_TRUE(IdleUntil([&] { return (box = TopLevel(kBoxClass)) != 0; }));
    EXPECT_EQ(screen.NameOf(box), "About Quellin Corvane");
    const auto g = screen.GeometryOf(box);
    EXPECT_EQ(g.w, 303);
    EXPECT_EQ(g.h, 296);
    ASSERT_TRUE(PressBoxButton(box, "Visit Website"));
    EXPECT_TRUE(Until([] {}, [&] { return std::filesystem::exists(opened); }));
    std::ifstream result(opened);
    std::string address;
    std::getline(result, address);
    EXPECT_EQ(address, "https://quellin.example/");
    EXPECT_NE(TopLevel(kBoxClass), 0u) << "Visit Website leaves the box open";
    ASSERT_TRUE(PressBoxButton(box, "OK"));
    EXPECT_TRUE(IdleUntil([&] { return TopLevel(kBoxClass) == 0; }));
    setenv("PATH", path.c_str(), 1);
    std::filesystem::remove_all(dir);
}

TEST_F(LinuxEditor, TwoHundredOpeningsLeaveNothingBehind) {
    const auto cycle = [&] {
        host.dispatch(effEditClose);
        ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(frame)), 1);
        host.dispatch(effEditIdle);
    };
    for (int i = 0; i < 5; ++i) cycle();  // caches that fill once (fonts, cairo's pools)
    host.dispatch(effEditClose);
    XSync(screen.Get(), False);
    const std::size_t files = OpenFiles();
    const std::size_t heap = mallinfo2().uordblks;
    for (int i = 0; i < 200; ++i) cycle();
    host.dispatch(effEditClose);
    XSync(screen.Get(), False);
    const long heapGrowth = static_cast<long>(mallinfo2().uordblks) - static_cast<long>(heap);
    std::printf("200 openings: %zd open files more, heap %+ld bytes, %zu windows left\n",
                static_cast<std::ptrdiff_t>(OpenFiles() - files), heapGrowth,
                screen.Children(frame).size());
    EXPECT_EQ(OpenFiles(), files) << "every connection closed";
    EXPECT_TRUE(screen.Children(frame).empty());
    EXPECT_LT(heapGrowth, 16 * 1024);
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(frame)), 1);  // for TearDown
}

TEST_F(LinuxEditor, TwoInstancesKeepTheirOwnPanels) {
    VstHost::Host second;
    ASSERT_TRUE(second.open(*library));
    const Window otherFrame = screen.MakeHostWindow(512, 224);
    XMoveWindow(screen.Get(), otherFrame, 0, 300);
    XSync(screen.Get(), False);
    ASSERT_EQ(second.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(otherFrame)), 1);
    second.dispatch(effEditIdle);
    const auto otherViews = screen.OfClass(otherFrame, kViewClass);
    ASSERT_EQ(otherViews.size(), 1u);

    screen.Click(otherViews[0], 227, 150, 4);
    Until(
        [&] {
            second.dispatch(effEditIdle);
            host.dispatch(effEditIdle);
        },
        [&] { return second.automations().size() == 1; });
    EXPECT_NEAR(second.getParameter(kCutoff), 0.11f, 1e-6f);
    EXPECT_NEAR(host.getParameter(kCutoff), 0.1f, 1e-6f);
    EXPECT_TRUE(host.automations().empty());

    // The first one still answers while the second stays open.
    screen.Click(View(), 227, 150, 4);
    Idle();
    EXPECT_NEAR(host.getParameter(kCutoff), 0.11f, 1e-6f);

    // effClose with the editor still open takes the panel with it.
    second.close();
    XSync(screen.Get(), False);
    EXPECT_TRUE(screen.Children(otherFrame).empty());
    XDestroyWindow(screen.Get(), otherFrame);
}

TEST(LinuxEditorWithoutDisplay, OpeningFailsAndAudioGoesOn) {
    const char* saved = std::getenv("DISPLAY");
    const std::string display = saved != nullptr ? saved : "";
    setenv("DISPLAY", ":4095", 1);  // nothing listens there
    VstHost::PluginLibrary library;
    ASSERT_TRUE(library.load(kPath)) << library.error();
    VstHost::Host host;
    ASSERT_TRUE(host.open(library));
    EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{1})), 0);
    host.dispatch(effEditIdle);
    host.dispatch(effEditClose);
    std::vector<float> in(64, 0.5f), outL(64), outR(64);
    EXPECT_TRUE(host.processReplacing({in.data(), in.data()}, {outL.data(), outR.data()}, 64, 64));
    EXPECT_NE(outL[63], 0.0f);
    host.close();
    if (saved != nullptr)
        setenv("DISPLAY", display.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

}  // namespace
