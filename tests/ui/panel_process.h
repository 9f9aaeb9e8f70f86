// Drives a real "ZARN Control Panal.exe" from another process: copies it into
// a temporary game folder, starts it there, finds its windows, presses its
// buttons and reads its controls, through ordinary Win32 calls.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "app/layout.h"
#include "tests/support/temp_folder.h"

// Path of the panel under test, given on the test program's command line.
extern std::string g_panel_exe;

struct MessageBoxSeen {
    HWND hwnd = nullptr;
    std::string caption, text;
    std::vector<std::string> buttons;  // captions, in order
    bool has_icon = false;
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

    // A visible top-level window of the panel with this caption, waiting up to `ms`.
    HWND WaitForWindow(const std::string& caption, DWORD ms = 5000) const;
    // A message box of the panel, waiting up to `ms`; hwnd null when none came.
    MessageBoxSeen WaitForMessageBox(DWORD ms = 5000) const;
    // Presses a message box's button by its caption ("OK", "&Yes", "&No").
    static void Answer(const MessageBoxSeen& box, const std::string& button);

    bool WaitForExit(DWORD ms = 5000) const;
    bool Running() const { return !WaitForExit(0); }

    // Presses Alt with `letter` as a player would, the panel in front.
    void PressAltKey(char letter) const;
    // Clicks a button as the mouse would (BM_CLICK) and lets the panel run.
    static void Click(HWND button);

    UINT Dpi() const;

private:
    PROCESS_INFORMATION pi_ = {};
    HWND main_ = nullptr;
};

std::string WindowText(HWND hwnd);
std::string ClassOf(HWND hwnd);
// A control's rectangle in its parent's client coordinates.
RECT RectInParent(HWND control);
// Saves what the screen shows of `window` as a 24-bit BMP file.
bool SaveScreenshot(HWND window, const std::string& path);
