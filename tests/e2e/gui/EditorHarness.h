// What the editor tests need of Windows: a host window to open the editor in, a message pump,
// the editor's windows found by class, a helper thread that answers the modal menus and boxes
// the editor runs on the test's own thread, and counts of the process's GDI and USER objects.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace EditorHarness {

using Clock = std::chrono::steady_clock;

// Enough for a window to appear or a modal loop to start under a slow Wine.
constexpr DWORD kWaitMilliseconds = 5000;

// Runs every message this thread has, until the queue stayed empty a few times running.
inline void Pump() {
    MSG message;
    for (int idle = 0; idle < 3;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
            idle = 0;
        } else {
            ++idle;
            Sleep(2);
        }
    }
}

// Pumps until done answers true, or the time is up; false then.
inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = kWaitMilliseconds) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        Pump();
        if (done()) return true;
        if (Clock::now() > deadline) return false;
    }
}

// A plain top-level window standing in for a host's editor frame, client area at (0, 0).
class HostWindow {
public:
    HostWindow(int w, int h) {
        static const ATOM registered = [] {
            WNDCLASSEXA windowClass{};
            windowClass.cbSize = sizeof(windowClass);
            windowClass.lpfnWndProc = DefWindowProcA;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
            windowClass.lpszClassName = "QuellinTestHostWindow";
            return RegisterClassExA(&windowClass);
        }();
        (void)registered;
        hwnd = CreateWindowExA(0, "QuellinTestHostWindow", "Test host", WS_POPUP | WS_VISIBLE, 0, 0,
                               w, h, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        Pump();
    }
    ~HostWindow() {
        if (hwnd != nullptr) DestroyWindow(hwnd);
        Pump();
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Handle() const { return hwnd; }

private:
    HWND hwnd = nullptr;
};

inline std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

inline std::string TextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// Enumeration callbacks are named CALLBACK functions: on i686 a lambda converts only to a cdecl
// function pointer, not to the stdcall one the API takes.
inline BOOL CALLBACK AppendWindow(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

// Every descendant of parent, in the order Windows enumerates them.
inline std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, AppendWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

inline std::vector<HWND> DescendantsOfClass(HWND parent, const char* className) {
    std::vector<HWND> all = Descendants(parent);
    std::vector<HWND> matching;
    for (HWND w : all)
        if (ClassOf(w) == className) matching.push_back(w);
    return matching;
}

// The window's rectangle in its parent's client coordinates.
inline RECT RectInParent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

struct ProcessWindowCount {
    DWORD process;
    std::size_t count;
};

inline BOOL CALLBACK CountIfOwned(HWND top, LPARAM data) {
    auto* c = reinterpret_cast<ProcessWindowCount*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(top, &owner);
    if (owner == c->process) c->count += 1 + Descendants(top).size();
    return TRUE;
}

// Top-level windows of this process, with their children: USER's share of the editor.
inline std::size_t CountProcessWindows() {
    ProcessWindowCount context{GetCurrentProcessId(), 0};
    EnumWindows(CountIfOwned, reinterpret_cast<LPARAM>(&context));
    return context.count;
}

// Objects in use in a handle table that hands out freed slots before fresh ones: after taking
// more slots than can be free, the highest index taken exceeds the number taken by exactly the
// slots held by someone else. Used where GetGuiResources answers nothing (Wine's is a stub).
template <typename Make, typename Free, typename Slot>
std::size_t SlotsInUse(std::size_t probes, Make make, Free free, Slot slotOf) {
    std::vector<HANDLE> taken;
    taken.reserve(probes);
    unsigned top = 0;
    for (std::size_t i = 0; i < probes; ++i) {
        HANDLE h = make();
        if (h == nullptr) break;
        taken.push_back(h);
        top = std::max(top, slotOf(static_cast<unsigned>(LOWORD(reinterpret_cast<UINT_PTR>(h)))));
    }
    for (HANDLE h : taken) free(h);
    return top + 1 > taken.size() ? top + 1 - taken.size() : 0;
}

// GDI objects of the process: GetGuiResources where it works, else the handle table probed.
inline std::size_t GdiObjectsInUse() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) return reported;
    return SlotsInUse(
        20000, [] { return static_cast<HANDLE>(CreateSolidBrush(RGB(1, 2, 3))); },
        [](HANDLE h) { DeleteObject(static_cast<HGDIOBJ>(h)); }, [](unsigned low) { return low; });
}

// USER objects: GetGuiResources where it works, else the USER handle table probed with menus.
// Under Wine that table is the session's, so other Wine processes' objects count too.
inline std::size_t UserObjectsInUse() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (reported != 0) return reported;
    // User handles step by two from their first index, 0x20.
    return SlotsInUse(
        8000, [] { return static_cast<HANDLE>(CreatePopupMenu()); },
        [](HANDLE h) { DestroyMenu(static_cast<HMENU>(h)); },
        [](unsigned low) { return low >= 0x20 ? (low - 0x20) / 2 : 0; });
}

inline bool GdiReportedBySystem() {
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) != 0;
}

// Waits for a visible top-level window of the class (and caption, unless null).
inline HWND WaitForWindow(const char* className, const char* caption, DWORD milliseconds) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        HWND found = FindWindowA(className, caption);
        if (found != nullptr && IsWindowVisible(found)) return found;
        if (Clock::now() > deadline) return nullptr;
        Sleep(5);
    }
}

inline bool WaitForWindowGone(HWND window, DWORD milliseconds) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (Clock::now() > deadline) return false;
        Sleep(5);
    }
    return true;
}

// Stands in front of a window's procedure and keeps the wParam of every message of one kind
// the window receives, until destroyed. Same thread as the window.
class MessageSpy {
public:
    MessageSpy(HWND observed, UINT kind) : window(observed), message(kind) {
        SetPropA(window, kProperty, this);
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
    }
    ~MessageSpy() {
        if (!IsWindow(window)) return;
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(window, kProperty);
    }
    MessageSpy(const MessageSpy&) = delete;
    MessageSpy& operator=(const MessageSpy&) = delete;

    const std::vector<WPARAM>& Received() const { return received; }
    void Clear() { received.clear(); }

private:
    static constexpr const char* kProperty = "QuellinMessageSpy";
    static LRESULT CALLBACK Procedure(HWND w, UINT m, WPARAM wParam, LPARAM lParam) {
        auto* spy = static_cast<MessageSpy*>(GetPropA(w, kProperty));
        if (spy == nullptr) return DefWindowProcA(w, m, wParam, lParam);
        if (m == spy->message) spy->received.push_back(wParam);
        return CallWindowProcA(spy->original, w, m, wParam, lParam);
    }

    HWND window;
    UINT message;
    WNDPROC original = nullptr;
    std::vector<WPARAM> received;
};

inline void PostKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

constexpr const char* kMenuClass = "#32768";
constexpr const char* kDialogClass = "#32770";

// What a helper saw of one modal window.
struct Seen {
    bool appeared = false;
    std::vector<std::string> items;    // a menu's item texts
    std::vector<std::string> statics;  // a box's texts
    std::vector<std::string> buttons;  // a box's button captions
    bool closed = false;               // it went away after the helper acted
};

// Steps run in order on a helper thread while the test thread pumps (and so runs the modal
// loops). Each step waits for its window, records what it shows, acts on it and waits for it
// to go away.
class ModalScript {
public:
    // Reads the popup menu's items, then sends it the keys (posted to the thread's queue,
    // where the menu loop reads them).
    ModalScript& Menu(std::vector<WPARAM> keys, DWORD wait = kWaitMilliseconds) {
        steps.push_back({true, "", std::move(keys), nullptr, wait});
        return *this;
    }
    // A dialog by caption; act gets its handle. A short wait checks that none opens.
    ModalScript& Dialog(const char* caption, std::function<void(HWND)> act,
                        DWORD wait = kWaitMilliseconds) {
        steps.push_back({false, caption, {}, std::move(act), wait});
        return *this;
    }

    void Start() {
        seen.assign(steps.size(), Seen{});
        worker = std::thread([this] { Run(); });
    }
    bool Finished() const { return finished.load(); }
    // Pumps until the script has run out, then joins it.
    bool PumpToEnd(DWORD milliseconds = 4 * kWaitMilliseconds) {
        const bool done = PumpUntil([this] { return Finished(); }, milliseconds);
        if (worker.joinable()) worker.join();
        Pump();
        return done;
    }
    const Seen& Step(std::size_t index) const { return seen.at(index); }

    ~ModalScript() {
        if (worker.joinable()) worker.join();
    }

private:
    struct Action {
        bool menu;
        std::string caption;
        std::vector<WPARAM> keys;
        std::function<void(HWND)> act;
        DWORD wait;
    };

    void Run() {
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const Action& step = steps[i];
            Seen& record = seen[i];
            HWND window = step.menu ? WaitForWindow(kMenuClass, nullptr, step.wait)
                                    : WaitForWindow(kDialogClass, step.caption.c_str(), step.wait);
            if (window == nullptr) break;
            record.appeared = true;
            if (step.menu) {
                ReadMenu(window, record);
                for (WPARAM key : step.keys) PostKey(window, key);
            } else {
                ReadDialog(window, record);
                step.act(window);
            }
            record.closed = WaitForWindowGone(window, kWaitMilliseconds);
            if (!record.closed) {
                // Ends the modal loop anyway, so the test fails instead of hanging in it.
                if (step.menu)
                    EndMenu();
                else
                    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                WaitForWindowGone(window, kWaitMilliseconds);
                break;
            }
        }
        finished = true;
    }

    static void ReadMenu(HWND window, Seen& record) {
        // MN_GETHMENU: the menu a popup menu window shows.
        auto menu = reinterpret_cast<HMENU>(SendMessageA(window, 0x01E1, 0, 0));
        const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
        for (int i = 0; i < count; ++i) {
            char text[128] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
            record.items.emplace_back(text);
        }
    }

    static void ReadDialog(HWND window, Seen& record) {
        for (HWND child : Descendants(window)) {
            const std::string kind = ClassOf(child);
            if (_stricmp(kind.c_str(), "Static") == 0) {
                const std::string text = TextOf(child);
                if (!text.empty()) record.statics.push_back(text);
            } else if (_stricmp(kind.c_str(), "Button") == 0) {
                record.buttons.push_back(TextOf(child));
            }
        }
    }

    std::vector<Action> steps;
    std::vector<Seen> seen;
    std::thread worker;
    std::atomic<bool> finished{false};
};

}  // namespace EditorHarness
