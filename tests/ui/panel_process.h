// Drives a real "ZARN Control Panal.exe" from another process: copies it into
// a temporary game folder, starts it there, finds its windows, presses its
// buttons and reads its controls, through ordinary Win32 calls.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <windows.h>

#include "app/layout.h"
#include "platform/win/wide.h"
#include "tests/support/temp_folder.h"

extern WString g_panel_exe;                // the panel under test, as Windows names it
WString BesideTests(const wchar_t* name);  // a file beside the test program
std::string WindowText(HWND hwnd);         // as the system keeps it, no message sent
std::string TextOf(HWND control);          // WM_GETTEXT, which edit and combo boxes answer
std::string ClassOf(HWND hwnd);
RECT RectInParent(HWND control);           // in its parent's client coordinates
HWND FocusOf(HWND window);                 // the focus of `window`'s thread
HWND Control(HWND window, const layout::Form& form, const char* name);
UINT ScreenDpi();
// Sends `keys` down together, then up, to the foreground window, and returns once the
// thread of `window` has taken them. PressKeys brings `window` to the front first.
void SendKeys(HWND window, std::initializer_list<WORD> keys);
void PressKeys(HWND window, std::initializer_list<WORD> keys);
bool WaitUntil(const std::function<bool()>& done, DWORD ms = 5000);
inline bool WaitGone(HWND window) { return WaitUntil([=] { return !IsWindow(window); }); }
// Waits for a message box of the panel and checks it: its one caption,
// `text`, `buttons` (captions in order) and no icon. Null when none came.
class PanelProcess;
HWND ExpectBox(const PanelProcess& panel, const std::string& text,
               const std::vector<std::string>& buttons = {"OK"});
// Presses the box's button by its caption and waits until the box has gone.
void AnswerAndWait(HWND box, const std::string& button = "OK");

// Hooks the thread of `window` with tests/ui/inside (inside.dll), which acts in
// the panel's process on the registered messages SendInside() sends there.
bool HookInside(HWND window);
void SendInside(HWND window, const wchar_t* message, WPARAM wp = 0, LPARAM lp = 0);

class PanelProcess {
public:
    // Starts a copy of the panel in `folder`, working there unless told; waits for it.
    explicit PanelProcess(const TempFolder& folder, const std::string& working_directory = "");
    ~PanelProcess();
    HWND main() const { return main_; }
    HWND Main(const char* name) const { return Control(main_, layout::kFrm1, name); }
    DWORD pid() const { return pi_.dwProcessId; }
    // A visible window of the panel of class `cls` and this caption (null: any).
    HWND WaitForWindow(const wchar_t* cls, const std::string* caption, DWORD ms = 5000) const;
    HWND WaitForWindow(const std::string& title) const { return WaitForWindow(nullptr, &title); }
    // Clicks the main window's button that opens `form` and waits for it.
    HWND Open(const layout::Form& form) const;
    bool NoBox(DWORD ms) const { return !WaitForWindow(L"#32770", nullptr, ms); }
    bool WaitForExit(DWORD ms = 5000) const;
    static void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }  // as the mouse does

private:
    PROCESS_INFORMATION pi_ = {};
    HWND main_ = nullptr;
};
