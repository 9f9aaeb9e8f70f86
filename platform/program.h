// Starting another program from the game folder.
#pragma once

#include <string>

#include "platform/status.h"

namespace platform {

// Show states for a started program's first window.
enum ShowState { kShowNormal = 1, kShowMinimized = 2 };

// Starts the program at `path` by its explicit name, with the command line
// exactly `path` and the given show state; returns at once. The program
// inherits the working directory; no handle is kept.
Status StartProgram(const std::string& path, int show_state);

}  // namespace platform
