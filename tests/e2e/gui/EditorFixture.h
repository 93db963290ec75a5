// What the Windows editor suites of both builds share: the DLL loaded once per suite, one host
// window standing in for a host's editor frame, the editor opened in it before every test and
// closed after, and the checks whose outcome both editors promise alike. Build names the DLL
// and the editor's size.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/gui/EditorHarness.h"
#include "tools/host/Host.h"

namespace EditorHarness {

// A point in a window's client area as mouse messages carry it, negative coordinates included.
inline LPARAM At(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)),
                      static_cast<WORD>(static_cast<short>(y)));
}

// Where a child window sits in its parent, and of which class.
struct Placement {
    const char* className;
    int x, y, w, h;
};

template <typename Build>
class EditorFixture : public ::testing::Test {
protected:
    // One host window serves the whole suite, as a host's editor frame serves many openings:
    // without a window manager Wine waits two seconds for every top-level window it unmaps.
    static void SetUpTestSuite() {
        library = std::make_unique<VstHost::PluginLibrary>();
        loaded = library->load(Build::kPath);
        window = std::make_unique<HostWindow>(Build::kWidth, Build::kHeight);
    }
    static void TearDownTestSuite() {
        window.reset();
        library.reset();
    }

    void SetUp() override {
        ASSERT_TRUE(loaded) << library->error();
        ASSERT_TRUE(host.open(*library)) << host.error();
        // The real pointer stays off the editor unless a test moves it there.
        SetCursorPos(1200, 1000);
        ASSERT_NE(window->Handle(), nullptr);
        ASSERT_TRUE(Descendants(window->Handle()).empty()) << "left over from the last test";
        // The host's frame has the keyboard, as it would when the user opens the editor.
        SetFocus(window->Handle());
        ASSERT_TRUE(Open());
        host.clearCalls();
    }

    void TearDown() override {
        Close();
        host.close();
    }

    bool Open() {
        const bool opened = host.dispatch(effEditOpen, 0, 0, window->Handle()) == 1;
        Pump();
        return opened;
    }
    void Close() {
        host.dispatch(effEditClose);
        Pump();
    }
    void Reopen() {
        Close();
        ASSERT_TRUE(Open());
    }
    void Idle() {
        host.dispatch(effEditIdle);
        Pump();
    }

    // Posts and handles the messages of one user action.
    static void Post(HWND control, UINT message, WPARAM keys, LPARAM where) {
        PostMessageA(control, message, keys, where);
        Pump();
    }

    // The values the host was told of, all of them for the parameter.
    std::vector<float> AutomatedValues(int parameter) const {
        std::vector<float> values;
        for (const auto& a : host.automations()) {
            EXPECT_EQ(a.index, parameter);
            values.push_back(a.value);
        }
        return values;
    }

    // Checks each placement against the children of parent (matched by class and left edge)
    // and returns the matches in the same order, null where none was found.
    static std::vector<HWND> ExpectChildren(HWND parent, const std::vector<Placement>& expected) {
        const std::vector<HWND> children = Descendants(parent);
        EXPECT_EQ(children.size(), expected.size());
        std::vector<HWND> found;
        for (const Placement& e : expected) {
            SCOPED_TRACE(std::string(e.className) + " at x " + std::to_string(e.x));
            HWND match = nullptr;
            for (HWND child : children)
                if (ClassOf(child) == e.className && RectInParent(child).left == e.x) match = child;
            found.push_back(match);
            if (match == nullptr) {
                ADD_FAILURE() << "not found";
                continue;
            }
            EXPECT_EQ(GetParent(match), parent);
            EXPECT_TRUE(IsWindowVisible(match));
            const RECT r = RectInParent(match);
            EXPECT_EQ(r.top, e.y);
            EXPECT_EQ(r.right - r.left, e.w);
            EXPECT_EQ(r.bottom - r.top, e.h);
        }
        return found;
    }

    // The editor's size as the host asks for it, before and after opening.
    void ExpectEditorRect() {
        ERect* rect = nullptr;
        ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->top, 0);
        EXPECT_EQ(rect->left, 0);
        EXPECT_EQ(rect->bottom, Build::kHeight);
        EXPECT_EQ(rect->right, Build::kWidth);
    }

    // A knob's full range is 100 pixels of vertical drag; with Shift held, 1000.
    void ExpectShiftDragMovesATenthAsFar(HWND knob, int parameter, int x) {
        ASSERT_EQ(host.getParameter(parameter), 0.0f);
        Post(knob, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, At(x, 50));
        Post(knob, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, At(x, 30));
        EXPECT_NEAR(host.getParameter(parameter), 0.02f, 1e-6f);
        // Shift let go during the drag: whole steps again.
        Post(knob, WM_MOUSEMOVE, MK_LBUTTON, At(x, 20));
        EXPECT_NEAR(host.getParameter(parameter), 0.12f, 1e-6f);
        Post(knob, WM_LBUTTONUP, 0, At(x, 20));
        const std::vector<float> values = AutomatedValues(parameter);
        ASSERT_EQ(values.size(), 2u) << "one report per move";
        EXPECT_NEAR(values[0], 0.02f, 1e-6f);
        EXPECT_NEAR(values[1], 0.12f, 1e-6f);
    }

    // Opens, paints, idles and closes the editor many times: the process ends up holding the
    // windows and GDI and USER objects it held before.
    void ExpectOpeningAndClosingLeavesNoObjectsBehind(int rounds) {
        if (!GdiReportedBySystem())
            std::printf("GetGuiResources answers 0 here; counting handle table slots instead\n");
        // One round first, so what is made once per process (GDI+ caches, fonts) is made.
        Reopen();
        Close();
        const std::size_t gdi = GdiObjectsInUse();
        const std::size_t user = UserObjectsInUse();
        const std::size_t windows = CountProcessWindows();

        for (int i = 0; i < rounds; ++i) {
            ASSERT_TRUE(Open());  // the pump paints every control, texts and fonts included
            host.dispatch(effEditIdle);
            Close();
        }
        EXPECT_EQ(CountProcessWindows(), windows);
        EXPECT_EQ(GdiObjectsInUse(), gdi);
        EXPECT_EQ(UserObjectsInUse(), user);
        // The fixture's tear-down closes again; it must find the editor open.
        ASSERT_TRUE(Open());
    }

    static inline std::unique_ptr<VstHost::PluginLibrary> library;
    static inline bool loaded = false;
    static inline std::unique_ptr<HostWindow> window;
    VstHost::Host host;
};

}  // namespace EditorHarness
