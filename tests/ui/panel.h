// The panel on a thread of the UI tests: the program's own start-up run in a game folder,
// driven from the test's thread by messages and keys, as a player drives it.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include <windows.h>

#include "app/layout.h"
#include "app/win/main.h"
#include "platform/win/wide.h"
#include "tests/support/services.h"
#include "tests/support/temp_folder.h"

inline platform::WString g_panel_exe;  // the real executable, for what only it shows

inline std::string TextOf(HWND h) {  // by WM_GETTEXT, which edit and combo boxes answer too
    static wchar_t buf[65536];
    return platform::Narrow(platform::WString(buf, GetWindowTextW(h, buf, 65536)));
}
inline std::string ClassOf(HWND h) {
    wchar_t buf[256];
    return platform::Narrow(platform::WString(buf, GetClassNameW(h, buf, 256)));
}
inline HWND FocusOf(HWND window) {  // the focus of `window`'s thread
    GUITHREADINFO gui = {sizeof gui};
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
    return gui.hwndFocus;
}
inline const app::Control* FindControl(const app::Form& form, const char* name) {  // the row, or null
    for (const app::Control* c = form.controls; c != form.controls + form.count; ++c)
        if (std::strcmp(c->name, name) == 0) return c;
    return nullptr;
}
inline HWND Control(HWND window, const app::Form& form, const char* name) {
    return GetDlgItem(window, 100 + (int)(FindControl(form, name) - form.controls));
}
inline bool WaitUntil(const std::function<bool()>& done, DWORD ms = 5000) {
    for (DWORD start = GetTickCount(); !done(); Sleep(20))
        if (GetTickCount() - start >= ms) return false;
    return true;
}
inline bool WaitGone(HWND w) { return WaitUntil([=] { return !IsWindow(w); }); }
// Paints what `window` and its controls have left to paint, then waits for its thread to take
// two messages sent after that (Wine puts what a thread drew on the screen when it next waits).
inline void Settle(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (int k = 0; k < 2; ++k) SendMessageTimeoutW(window, WM_NULL, 0, 0, 0, 5000, nullptr);
}
inline void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }  // as the mouse does
inline void FocusOn(HWND window, HWND control) { SendMessageW(window, WM_NEXTDLGCTL, (WPARAM)control, TRUE); }

// Presses `keys` down together, then up, on `window` brought to the front; returns once its thread took them.
inline void Keys(HWND window, std::initializer_list<WORD> keys) {
    if (GetForegroundWindow() != window) {
        SetForegroundWindow(window);
        WaitUntil([=] { return GetForegroundWindow() == window; });
        Settle(window);
    }
    for (WORD key : keys) keybd_event((BYTE)key, 0, 0, 0);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) keybd_event((BYTE)*key, 0, KEYEVENTF_KEYUP, 0);
    // Each message sent returns when the thread asks for its next message.
    for (int k = 0; k < 6; ++k) SendMessageTimeoutW(window, WM_NULL, 0, 0, 0, 2000, nullptr);
}

class Panel {
public:
    // The program's start-up (app/win/main.cpp) on a thread of its own, handed `folder` as its
    // application folder; `cbt`, if any, a CBT hook on that thread from before its first window.
    explicit Panel(const TempFolder& folder, HOOKPROC cbt = nullptr) : folder_(folder.path()), cbt_(cbt) {
        thread_ = CreateThread(nullptr, 0, [](void* self) -> DWORD {
            auto* panel = static_cast<Panel*>(self);
            if (panel->cbt_) SetWindowsHookExW(WH_CBT, panel->cbt_, nullptr, GetCurrentThreadId());
            return (DWORD)app::RunPanel(panel->folder_);
        }, this, 0, nullptr);
        main_ = Find([](HWND h) { return ClassOf(h) == "ZarnForm" && !GetWindow(h, GW_OWNER); }, 30000);
        Settle(main_);
    }
    ~Panel() {  // a quit ends every loop of the thread, message boxes' too
        if (!Ended(0)) PostThreadMessageW(GetThreadId(thread_), WM_QUIT, 0, 0);
        EXPECT_TRUE(Ended(10000)) << "the panel did not end";
        CloseHandle(thread_);
    }
    HWND main() const { return main_; }
    HWND Main(const char* name) const { return Control(main_, app::kFrm1Layout, name); }
    bool Ended(DWORD ms = 5000) const { return WaitForSingleObject(thread_, ms) == WAIT_OBJECT_0; }

    std::vector<HWND> Windows(bool hidden_too = false) const {  // top-level, topmost first
        std::vector<HWND> found;
        for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, nullptr, nullptr)) != nullptr;)
            if (GetWindowThreadProcessId(h, nullptr) == GetThreadId(thread_) &&
                (hidden_too || IsWindowVisible(h)))
                found.push_back(h);
        return found;
    }
    HWND Find(const std::function<bool(HWND)>& is, DWORD ms) const {  // the topmost such window
        HWND found = nullptr;
        WaitUntil([&] {
            for (HWND h : Windows()) found = found ? found : is(h) ? h : nullptr;
            return found;
        }, ms);
        return found;
    }
    HWND FindBox(DWORD ms) const { return Find([](HWND h) { return ClassOf(h) == "#32770"; }, ms); }
    // Whether a message box, shown yet or not, is there once the panel has taken what came before.
    bool AnyBox() const {
        Settle(main_);
        for (HWND h : Windows(true))
            if (ClassOf(h) == "#32770") return true;
        return false;
    }
    HWND Open(const app::Form& form) const {  // by its button on the main window
        Click(Main(&form == &app::kGameOptionsLayout ? "Command7" : &form == &app::kAboutLayout ? "Command4"
                                                                                         : "Command6"));
        HWND found = Find([&](HWND h) { return TextOf(h) == form.caption; }, 5000);
        WaitUntil([&] { return IsChild(found, FocusOf(found)); });  // the focus taken
        Settle(found);
        return found;
    }
    // Waits for a message box and checks its caption, `text`, `buttons`, no icon, the focus on the first button.
    // Buttons by their answer (IDOK, IDYES, IDNO): their words are the system's, in its language.
    HWND Box(const std::string& text, const std::vector<int>& buttons = {IDOK}) const {
        HWND box = FindBox(5000);
        WaitUntil([&] { return IsChild(box, FocusOf(box)); });  // laid out, the focus taken
        std::vector<std::string> seen = {TextOf(box), TextOf(GetDlgItem(box, 0xFFFF))},
                                 want = {"The Marrowgate Control", text};
        for (int id : buttons) want.push_back("button " + std::to_string(id));
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (ClassOf(c) == "Button") seen.push_back("button " + std::to_string(GetDlgCtrlID(c)));
            // Wine keeps a visible, empty icon control in a box without an icon.
            if (ClassOf(c) == "Static" && SendMessageW(c, STM_GETICON, 0, 0)) seen.push_back("an icon");
        }
        EXPECT_EQ(seen, want);
        EXPECT_EQ(GetDlgCtrlID(FocusOf(box)), buttons[0]) << "the focus";
        return box;
    }

private:
    GameFolder folder_;
    HOOKPROC cbt_;
    HANDLE thread_ = nullptr;
    HWND main_ = nullptr;
};
