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

// Path of the panel under test, given on the test program's command line.
extern std::string g_panel_exe;
// The same as Windows names it: a Unix path given to a program under Wine
// becomes "Z:\...".
WString PanelExePath();

// A window's text as the system keeps it (no message is sent to its process).
std::string WindowText(HWND hwnd);
// A control's text through WM_GETTEXT: edit and combo boxes keep their text
// themselves, which GetWindowText does not ask of another process.
std::string TextOf(HWND control);
std::string ClassOf(HWND hwnd);
// A control's rectangle in its parent's client coordinates.
RECT RectInParent(HWND control);
// The window of `window`'s thread that holds the keyboard focus.
HWND FocusOf(HWND window);
// Presses `keys` together with `window` in front, as a player would, and
// lets them go in the reverse order.
void PressKeys(HWND window, std::initializer_list<WORD> keys);
// Polls `done` until it holds or `ms` have passed.
bool WaitUntil(const std::function<bool()>& done, DWORD ms = 5000);
inline bool WaitGone(HWND window) { return WaitUntil([=] { return !IsWindow(window); }); }
// Saves what the screen shows of `window` as a 24-bit BMP file.
bool SaveScreenshot(HWND window, const std::string& path);
// Checks a realised window against its layout table at `dpi`: frame, client
// size and place, each control's class, rectangle, styles and caption, the
// tab order and the focus; saves a screenshot named after the form and dpi.
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
// Presses the box's button and waits until the box has gone.
void AnswerAndWait(const MessageBoxSeen& box, const std::string& button = "OK");

// Hooks the thread of a panel's window with tests/ui/inside (inside.dll,
// beside the test program), to act and look inside the panel's process;
// unhooks when it goes.
class InsidePanel {
public:
    explicit InsidePanel(HWND window);
    ~InsidePanel();
    InsidePanel(const InsidePanel&) = delete;
    InsidePanel& operator=(const InsidePanel&) = delete;
    bool hooked() const { return hook_ != nullptr; }
    // Sends `window` the registered message `name`, which the hook acts on.
    void Send(const wchar_t* name, WPARAM wp = 0, LPARAM lp = 0) const;

private:
    HWND window_;
    HMODULE module_ = nullptr;
    HHOOK hook_ = nullptr;
};

class PanelProcess {
public:
    // Copies the panel into `folder` and starts it with `folder` as the
    // working directory, or with `working_directory` when one is given;
    // waits until its main window is up.
    explicit PanelProcess(const TempFolder& folder, const std::string& working_directory = "");
    ~PanelProcess();
    PanelProcess(const PanelProcess&) = delete;
    PanelProcess& operator=(const PanelProcess&) = delete;

    HWND main() const { return main_; }
    // The control of `form` named `name` in the window `window`.
    static HWND Control(HWND window, const layout::Form& form, const char* name);
    // A control of the main window.
    HWND Main(const char* name) const { return Control(main_, layout::kFrm1, name); }

    // A visible top-level window of the panel with this caption, waiting up to `ms`.
    HWND WaitForWindow(const std::string& caption, DWORD ms = 5000) const;
    // A message box of the panel, waiting up to `ms`; hwnd null when none came.
    MessageBoxSeen WaitForMessageBox(DWORD ms = 5000) const;
    // Presses a message box's button by its caption ("OK", "&Yes", "&No").
    static void Answer(const MessageBoxSeen& box, const std::string& button);

    bool WaitForExit(DWORD ms = 5000) const;
    bool Running() const { return !WaitForExit(0); }

    // Presses Alt with `letter`, the main window in front.
    void PressAltKey(char letter) const { PressKeys(main_, {VK_MENU, (WORD)letter}); }
    // Clicks a button as the mouse would (BM_CLICK) and lets the panel run.
    static void Click(HWND button);

    UINT Dpi() const;
    DWORD pid() const { return pi_.dwProcessId; }

private:
    PROCESS_INFORMATION pi_ = {};
    HWND main_ = nullptr;
};
