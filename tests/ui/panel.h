// The panel on a thread of the UI tests: its main window built from its
// layout for a temporary game folder and run as the program runs it, driven
// from the test's thread by messages and keys, as a player drives it.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <windows.h>

#include "app/layout.h"
#include "platform/win/wide.h"
#include "tests/support/temp_folder.h"

extern WString g_panel_exe;  // the real executable, for what only it shows
std::string TextOf(HWND h);  // WM_GETTEXT, which edit and combo boxes answer
std::string ClassOf(HWND h);
HWND FocusOf(HWND window);   // the focus of `window`'s thread
HWND Control(HWND window, const layout::Form& form, const char* name);
bool WaitUntil(const std::function<bool()>& done, DWORD ms = 5000);
inline bool WaitGone(HWND w) { return WaitUntil([=] { return !IsWindow(w); }); }
// Brings `window` to the front, presses `keys` down together, then up, and
// returns once its thread has taken them.
void Keys(HWND window, std::initializer_list<WORD> keys);
inline void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }  // as the mouse does

class Panel {
public:
    explicit Panel(const TempFolder& folder);
    ~Panel();
    HWND main() const { return main_; }
    HWND Main(const char* name) const { return Control(main_, layout::kFrm1, name); }
    std::vector<HWND> Windows() const;  // its visible top-level windows, topmost first
    HWND Open(const layout::Form& form) const;  // by its button on the main window
    HWND Find(const std::function<bool(HWND)>& is, DWORD ms) const;  // the topmost such window
    HWND FindBox(DWORD ms) const { return Find([](HWND h) { return ClassOf(h) == "#32770"; }, ms); }
    // Waits for a message box and checks its caption, `text`, `buttons` and no icon.
    HWND Box(const std::string& text, const std::vector<std::string>& buttons = {"OK"}) const;
    bool Ended(DWORD ms = 5000) const { return WaitForSingleObject(thread_, ms) == WAIT_OBJECT_0; }

private:
    HANDLE thread_ = nullptr, ready_ = nullptr;
    HWND main_ = nullptr;
};
