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

// Path of the panel under test, given on the test program's command line,
// as Windows names it ("Z:\..." for a Unix path under Wine).
extern WString g_panel_exe;
// A file beside the test program (the DLLs built with it).
WString BesideTests(const wchar_t* name);

// A window's text as the system keeps it (no message is sent to its process).
std::string WindowText(HWND hwnd);
// A control's text through WM_GETTEXT, which edit and combo boxes answer.
std::string TextOf(HWND control);
std::string ClassOf(HWND hwnd);
RECT RectInParent(HWND control);  // in its parent's client coordinates
HWND FocusOf(HWND window);        // the focus of `window`'s thread
HWND Control(HWND window, const layout::Form& form, const char* name);
UINT ScreenDpi();
// Sends `keys` down together and up in reverse order to the foreground
// window; returns once the thread of `window` has taken them and what
// follows from them.
void SendKeys(HWND window, std::initializer_list<WORD> keys);
// The same with `window` brought to the front first, as a player would.
void PressKeys(HWND window, std::initializer_list<WORD> keys);
// Polls `done` until it holds or `ms` have passed.
bool WaitUntil(const std::function<bool()>& done, DWORD ms = 5000);
inline bool WaitGone(HWND window) { return WaitUntil([=] { return !IsWindow(window); }); }
// Checks a realised window against its layout table at `dpi`: frame, client
// size and place, each control's class, rectangle, styles and caption, the
// tab order and the focus.
void ExpectLaidOut(HWND window, const layout::Form& form, UINT dpi);

struct MessageBoxSeen {
    HWND hwnd = nullptr;
    std::string caption, text;
    std::vector<std::string> buttons;  // captions, in order
    bool has_icon = false;
};
// A message box of the panel: its one caption, `text`, `buttons`, no icon.
void ExpectPanelBox(const MessageBoxSeen& box, const std::string& text,
                    const std::vector<std::string>& buttons = {"OK"});
// Presses the box's button by its caption and waits until the box has gone.
void AnswerAndWait(const MessageBoxSeen& box, const std::string& button = "OK");

// Hooks the thread of a panel's window with tests/ui/inside (inside.dll) to
// act and look inside the panel's process: sends a window of that thread a
// registered message, which the hook acts on.
class InsidePanel {
public:
    explicit InsidePanel(HWND window);
    ~InsidePanel();
    bool hooked() const { return hook_ != nullptr; }
    void Send(const wchar_t* message, WPARAM wp = 0, LPARAM lp = 0, HWND to = nullptr) const;

private:
    HWND window_;
    HMODULE module_;
    HHOOK hook_ = nullptr;
};

class PanelProcess {
public:
    // Copies the panel into `folder` and starts it there, with `folder` as
    // its working directory unless one is given; waits for its main window.
    explicit PanelProcess(const TempFolder& folder, const std::string& working_directory = "");
    ~PanelProcess();

    HWND main() const { return main_; }
    HWND Main(const char* name) const { return Control(main_, layout::kFrm1, name); }
    // A visible top-level window of the panel of this class (null: any) and
    // caption (null: any), waiting up to `ms`.
    HWND WaitForWindow(const wchar_t* cls, const std::string* caption, DWORD ms = 5000) const;
    HWND WaitForWindow(const std::string& caption, DWORD ms = 5000) const {
        return WaitForWindow(nullptr, &caption, ms);
    }
    // Clicks the main window's button that opens `form` and waits for it.
    HWND Open(const layout::Form& form) const;
    // A message box of the panel, waiting up to `ms`; hwnd null when none came.
    MessageBoxSeen WaitForMessageBox(DWORD ms = 5000) const;
    bool WaitForExit(DWORD ms = 5000) const;
    bool Running() const { return !WaitForExit(0); }
    // Clicks a button as the mouse would (BM_CLICK) and lets the panel run.
    static void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }
    DWORD pid() const { return pi_.dwProcessId; }

private:
    PROCESS_INFORMATION pi_ = {};
    HWND main_ = nullptr;
};
