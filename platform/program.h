// Starting another program from the game folder.
#pragma once

#include <string>

#include "platform/status.h"

namespace platform {

// Show states for a started program's first window.
enum ShowState { kShowNormal = 1, kShowMinimized = 2 };

// Starting programs as a service: start-up hands the real one
// (SystemPrograms, platform/system.h, over StartProgram below) to the core; a
// test hands in the real one or a wrapper around it.
class Programs {
public:
    virtual ~Programs() = default;
    // As StartProgram below.
    virtual Status StartProgram(const std::string& path, int show_state) = 0;
};

// Starts the program at `path` by its explicit name, with the command line
// exactly `path` and the given show state; returns at once. The program
// inherits the working directory; no handle is kept.
Status StartProgram(const std::string& path, int show_state);

}  // namespace platform
