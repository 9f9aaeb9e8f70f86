// The message loop, and modal windows over the main window.
#pragma once

#include <functional>

#include <windows.h>

#include "panel/window.h"

// Dispatches messages, with dialog keys (Tab, access keys) for every window
// of the program, while `running` says so or until WM_QUIT.
void RunMessageLoop(const std::function<bool()>& running);

// Builds `form` afresh, shows it over `owner` (which takes no input
// meanwhile) and returns when it has been closed.
void RunModal(ui::Form form, HWND owner);
