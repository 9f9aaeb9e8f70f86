// Start-up, in the application folder it is given.
#pragma once

#include "platform/folder.h"

namespace app {

// Hardens the loader, builds the real services (files, programs, the
// settings file, the clock) once and hands them, with `folder`, to the core;
// builds the main window from its layout, runs its load step, shows it, and
// runs the message loop until it is closed. wWinMain runs it in the
// executable's own folder; the UI tests run it on a thread of theirs in a
// game folder of theirs.
int RunPanel(const platform::Folder& folder);

}  // namespace app
