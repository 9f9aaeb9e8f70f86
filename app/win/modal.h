// The message loop, and modal windows over the main window.
#pragma once

#include <windows.h>

#include "app/win/form.h"
#include "platform/folder.h"
#include "platform/window.h"

namespace app {

// Dispatches messages, with dialog keys (Tab, access keys) for every window
// of the program, until `window` has been closed or WM_QUIT comes.
void RunMessageLoop(const FormWindow& window);

// Builds `form` afresh, shows it over `owner` (which takes no input
// meanwhile) and returns when it has been closed. `folder` is the
// application folder that start-up hands in, for Game Options.
void RunModal(platform::Form form, HWND owner, const platform::Folder& folder);

}  // namespace app
