// The panel's binary as hosts drive it: loaded with dlopen, instantiated through
// lv2ui_descriptor with a fake host's write_function, touch and resize, in a window of the
// test's X connection (Xvfb), driven by its idle interface and by XTest input.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <lv2/atom/forge.h>
#include <lv2/atom/util.h>
#include <lv2/ui/ui.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/gui/X11Harness.h"
#include "tests/lv2/Lv2Host.h"

namespace {

using namespace Lv2Test;
using X11Harness::Screen;

constexpr int kCutoff = kFirstParameterPort + 1;
constexpr const char* kViewClass = "QuellinCorvaneWindowClass";
constexpr const char* kStatusClass = "QuellinLinuxToolkitStatusControl";
constexpr const char* kMenuClass = "QuellinLinuxToolkitMenu";
constexpr const char* kItemClass = "QuellinLinuxToolkitMenuItem";

const LV2UI_Descriptor* uiDescriptor() {
    static const auto* loaded =
        loadDescriptor<LV2UI_Descriptor>(QC_LV2_UI_PATH, "lv2ui_descriptor");
    return loaded;
}

// What the panel told the host, in order: port writes, touches and resizes.
struct Call {
    std::string what;  // "write", "touch", "resize"
    std::uint32_t port = 0;
    std::uint32_t format = 0;
    std::vector<unsigned char> bytes;
    int a = 0, b = 0;  // touch: grabbed; resize: width, height

    float Value() const {
        float value = 0.0f;
        if (bytes.size() == sizeof value) std::memcpy(&value, bytes.data(), sizeof value);
        return value;
    }
};

class Lv2Panel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(screen.Get(), nullptr) << "no X display";
        ASSERT_NE(uiDescriptor(), nullptr) << dlerror();
        frame = screen.MakeHostWindow(512, 224);
        screen.MoveTo(screen.Root(), 1200, 1000);  // the pointer stays off the panel
    }
    void TearDown() override {
        Close();
        screen.Button(3, false);
        screen.Button(1, false);
        XDestroyWindow(screen.Get(), frame);
        XSync(screen.Get(), False);
    }

    void Open(bool embedded = true) {
        parentFeature.data = reinterpret_cast<void*>(static_cast<std::uintptr_t>(frame));
        std::vector<const LV2_Feature*> list = {&mapFeature, &resizeFeature, &touchFeature};
        if (embedded) list.push_back(&parentFeature);
        list.push_back(nullptr);
        handle = uiDescriptor()->instantiate(uiDescriptor(), kPluginUri, "", Write, this, &widget,
                                             list.data());
        ASSERT_NE(handle, nullptr);
        idle = static_cast<const LV2UI_Idle_Interface*>(
            uiDescriptor()->extension_data(LV2_UI__idleInterface));
        ASSERT_NE(idle, nullptr);
        Idle();
    }
    void Close() {
        if (handle != nullptr) uiDescriptor()->cleanup(handle);
        handle = nullptr;
    }

    void Idle(int times = 6) {
        for (int i = 0; i < times; ++i) {
            XSync(screen.Get(), False);
            EXPECT_EQ(idle->idle(handle), 0);
            usleep(1500);
        }
    }
    bool IdleUntil(const std::function<bool()>& done) {
        return X11Harness::Until([this] { Idle(1); }, done);
    }
    Window View() const { return static_cast<Window>(reinterpret_cast<std::uintptr_t>(widget)); }
    std::string StatusText() const {
        const auto found = screen.OfClass(View(), kStatusClass);
        return found.size() == 1 ? screen.NameOf(found[0]) : "<no status line>";
    }
    std::string StatusOver(int x, int y) {
        screen.MoveTo(View(), x, y);
        Idle();
        return StatusText();
    }

    void SetPort(std::uint32_t port, float value) {
        uiDescriptor()->port_event(handle, port, sizeof value, 0, &value);
        Idle();
    }
    void Notify(LV2_URID type, std::vector<std::pair<LV2_URID, int>> ints,
                std::vector<std::pair<LV2_URID, float>> floats = {},
                const std::vector<std::int32_t>& vector = {}) {
        alignas(LV2_Atom) unsigned char buffer[1024];
        LV2_Atom_Forge forge;
        lv2_atom_forge_init(&forge, &urids.map);
        lv2_atom_forge_set_buffer(&forge, buffer, sizeof buffer);
        LV2_Atom_Forge_Frame object;
        lv2_atom_forge_object(&forge, &object, 0, type);
        for (auto [key, value] : ints) {
            lv2_atom_forge_key(&forge, key);
            lv2_atom_forge_int(&forge, value);
        }
        for (auto [key, value] : floats) {
            lv2_atom_forge_key(&forge, key);
            lv2_atom_forge_float(&forge, value);
        }
        if (!vector.empty()) {
            lv2_atom_forge_key(&forge, ids.bindingsKey);
            lv2_atom_forge_vector(&forge, sizeof(std::int32_t), ids.atomInt,
                                  static_cast<std::uint32_t>(vector.size()), vector.data());
        }
        lv2_atom_forge_pop(&forge, &object);
        const auto* atom = reinterpret_cast<const LV2_Atom*>(buffer);
        uiDescriptor()->port_event(handle, kNotifyPort, lv2_atom_total_size(atom), eventTransfer,
                                   atom);
        Idle();
    }

    // The messages written to the control port, as "Type" or "Type value".
    std::vector<std::string> Messages() const {
        std::vector<std::string> found;
        for (const Call& call : calls) {
            if (call.what != "write" || call.port != kControlPort) continue;
            EXPECT_EQ(call.format, eventTransfer);
            const auto* object = reinterpret_cast<const LV2_Atom_Object*>(call.bytes.data());
            std::string text = object->body.otype == ids.startLearning    ? "StartLearning"
                               : object->body.otype == ids.forget         ? "Forget"
                               : object->body.otype == ids.getBindings    ? "GetBindings"
                               : object->body.otype == ids.cancelLearning ? "CancelLearning"
                                                                          : "other";
            LV2_ATOM_OBJECT_FOREACH(object, property) {
                text += " " + std::to_string(
                                  reinterpret_cast<const LV2_Atom_Int*>(&property->value)->body);
            }
            found.push_back(text);
        }
        return found;
    }

    std::vector<std::string> ChooseFromMenu(int x, int y, const std::string& item) {
        screen.Click(View(), x, y, 3);
        Window menu = 0;
        EXPECT_TRUE(IdleUntil([&] {
            for (Window w : screen.OfClass(screen.Root(), kMenuClass))
                if (screen.IsMapped(w)) menu = w;
            return menu != 0;
        })) << "no menu";
        std::vector<std::string> items;
        if (menu == 0) return items;
        for (Window w : screen.OfClass(menu, kItemClass)) items.push_back(screen.NameOf(w));
        const Window chosen = screen.Named(menu, kItemClass, item);
        const auto g = screen.GeometryOf(chosen);
        screen.Click(chosen, g.w / 2, g.h / 2);
        Idle();
        return items;
    }

    static void Write(LV2UI_Controller self, uint32_t port, uint32_t size, uint32_t format,
                      const void* buffer) {
        const auto* bytes = static_cast<const unsigned char*>(buffer);
        static_cast<Lv2Panel*>(self)->calls.push_back(
            {"write", port, format, std::vector<unsigned char>(bytes, bytes + size)});
    }

    Screen screen;
    Window frame = 0;
    UridMap urids;
    Urids ids{urids.map};
    const LV2_URID eventTransfer = urids(LV2_ATOM__eventTransfer);
    std::vector<Call> calls;
    LV2UI_Resize resize{
        this, [](LV2UI_Feature_Handle self, int w, int h) {
            static_cast<Lv2Panel*>(self)->calls.push_back({"resize", 0, 0, {}, w, h});
            return 0;
        }};
    LV2UI_Touch touch{
        this, [](LV2UI_Feature_Handle self, uint32_t port, bool grabbed) {
            static_cast<Lv2Panel*>(self)->calls.push_back({"touch", port, 0, {}, grabbed ? 1 : 0});
        }};
    LV2_Feature mapFeature{LV2_URID__map, &urids.map};
    LV2_Feature resizeFeature{LV2_UI__resize, &resize};
    LV2_Feature touchFeature{LV2_UI__touch, &touch};
    LV2_Feature parentFeature{LV2_UI__parent, nullptr};
    LV2UI_Handle handle = nullptr;
    LV2UI_Widget widget = nullptr;
    const LV2UI_Idle_Interface* idle = nullptr;
};

TEST_F(Lv2Panel, EmbedsAtAFixedSizeAndAsksForTheBindings) {
    Open();
    const auto views = screen.OfClass(frame, kViewClass);
    ASSERT_EQ(views.size(), 1u);
    EXPECT_EQ(views[0], View());
    const auto g = screen.GeometryOf(View());
    EXPECT_EQ(std::vector<int>({g.x, g.y, g.w, g.h}), std::vector<int>({0, 0, 512, 224}));
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_NE(XGetWMNormalHints(screen.Get(), View(), &hints, &supplied), 0);
    EXPECT_EQ(hints.flags & (PMinSize | PMaxSize), PMinSize | PMaxSize);
    EXPECT_EQ(
        std::vector<int>({hints.min_width, hints.min_height, hints.max_width, hints.max_height}),
        std::vector<int>({512, 224, 512, 224}));
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].what, "resize");
    EXPECT_EQ(std::vector<int>({calls[0].a, calls[0].b}), std::vector<int>({512, 224}));
    EXPECT_EQ(Messages(), std::vector<std::string>{"GetBindings"});
}

TEST_F(Lv2Panel, ShowsPortValuesAndWritesADragInUnitsInsideATouch) {
    Open();
    SetPort(kCutoff, 1600.0f);
    SetPort(kFirstParameterPort + 4, -6.0f);
    EXPECT_EQ(StatusOver(227, 150), "Cutoff Freq.: 1600.00 Hz");
    EXPECT_EQ(StatusOver(429, 150), "Bass Amp: -6.00 dB");
    // Ports other than the parameters', other sizes and null buffers are ignored.
    const float one = 1.0f;
    uiDescriptor()->port_event(handle, kEnabledPort, sizeof one, 0, &one);
    uiDescriptor()->port_event(handle, kCutoff, 2, 0, &one);
    uiDescriptor()->port_event(handle, kCutoff, sizeof one, 0, nullptr);
    EXPECT_EQ(StatusOver(227, 150), "Cutoff Freq.: 1600.00 Hz");

    calls.clear();
    screen.MoveTo(View(), 227, 150);
    screen.Button(1, true);
    Idle();
    for (int y : {140, 130, 120}) {
        screen.MoveTo(View(), 227, y);
        Idle();
    }
    screen.Button(1, false);
    Idle();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(
        calls.front().what + std::to_string(calls.front().port) + std::to_string(calls.front().a),
        "touch" + std::to_string(kCutoff) + "1");
    EXPECT_EQ(
        calls.back().what + std::to_string(calls.back().port) + std::to_string(calls.back().a),
        "touch" + std::to_string(kCutoff) + "0");
    float last = 1600.0f;
    for (std::size_t i = 1; i + 1 < calls.size(); ++i) {
        EXPECT_EQ(calls[i].what + std::to_string(calls[i].port) + std::to_string(calls[i].format),
                  "write" + std::to_string(kCutoff) + "0");
        EXPECT_GT(calls[i].Value(), last) << "an upward drag raises the cutoff, in Hz";
        last = calls[i].Value();
    }
    EXPECT_EQ(StatusText().rfind("Cutoff Freq.: ", 0), 0u);
    EXPECT_NE(StatusText(), "Cutoff Freq.: 1600.00 Hz");
}

TEST_F(Lv2Panel, MidiLearnGoesByMessagesAndTheNotificationsComeBack) {
    Open();
    calls.clear();
    EXPECT_EQ(ChooseFromMenu(227, 150, "MIDI Learn"), std::vector<std::string>{"MIDI Learn"});
    EXPECT_EQ(Messages(), std::vector<std::string>{"StartLearning 1"});
    EXPECT_EQ(StatusText(), "Learning...");

    Notify(ids.learned, {{ids.controllerKey, 7}, {ids.parameterKey, 1}});
    EXPECT_EQ(StatusText(), "") << "learning done";
    calls.clear();
    Notify(ids.moved, {{ids.parameterKey, 1}}, {{ids.valueKey, 2500.0f}});
    ASSERT_EQ(calls.size(), 1u) << "the moved value is written to its port";
    EXPECT_EQ(calls[0].port, static_cast<std::uint32_t>(kCutoff));
    EXPECT_EQ(calls[0].Value(), 2500.0f);
    EXPECT_EQ(StatusOver(227, 150), "Cutoff Freq.: 2500.00 Hz");

    // The map as the plug-in reports it: CC 9 on Spread, nothing on Cutoff any more.
    std::vector<std::int32_t> bindings(kBindingCount, kUnbound);
    bindings[9] = 3;
    Notify(ids.bindings, {}, {}, bindings);
    calls.clear();
    EXPECT_EQ(ChooseFromMenu(328, 150, "Forget CC: 9"),
              (std::vector<std::string>{"MIDI Learn", "Forget CC: 9"}));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Forget 9"});
    // Malformed notifications change nothing.
    Notify(ids.learned, {{ids.controllerKey, 7}, {ids.parameterKey, 99}});
    Notify(ids.moved, {{ids.parameterKey, 1}});
    EXPECT_EQ(ChooseFromMenu(227, 150, "MIDI Learn"), std::vector<std::string>{"MIDI Learn"});
}

TEST_F(Lv2Panel, WithoutAParentItOpensAWindowOfItsOwnAndCleanupFreesEverything) {
    const std::size_t files = X11Harness::OpenFiles();
    for (bool embedded : {true, false}) {
        Open(embedded);
        if (!embedded) {
            Window own = 0;
            for (Window w : screen.Children(screen.Root()))
                if (screen.NameOf(w) == "Quellin Corvane") own = w;
            ASSERT_NE(own, 0u) << "no top-level window";
            const auto g = screen.GeometryOf(own);
            EXPECT_EQ(std::vector<int>({g.w, g.h}), std::vector<int>({512, 224}));
            EXPECT_EQ(screen.OfClass(own, kViewClass), std::vector<Window>{View()});
        }
        Close();
        XSync(screen.Get(), False);
        EXPECT_EQ(X11Harness::OpenFiles(), files);
    }
    for (Window w : screen.Children(screen.Root())) EXPECT_NE(screen.NameOf(w), "Quellin Corvane");
}

TEST_F(Lv2Panel, RefusesAnotherPluginAndAHostWithoutAMap) {
    LV2UI_Widget made = nullptr;
    const LV2_Feature* none[] = {nullptr};
    EXPECT_EQ(uiDescriptor()->instantiate(uiDescriptor(), kPluginUri, "", Write, this, &made, none),
              nullptr);
    const LV2_Feature* mapOnly[] = {&mapFeature, nullptr};
    EXPECT_EQ(
        uiDescriptor()->instantiate(uiDescriptor(), "urn:other", "", Write, this, &made, mapOnly),
        nullptr);
}

}  // namespace
