// The program's button on the system's task bar, as a long command shows on
// it how far it has got (Windows does the same for its own file copies).
// On Windows it is the shell's task bar list (win/taskbar_win.h); where the
// system has none, its calls do nothing.
#pragma once

#include <cstdint>

namespace platform {

class Taskbar {
public:
    virtual ~Taskbar() = default;
    // Shows `done` of `total` on the button.
    virtual void SetProgress(std::uint64_t done, std::uint64_t total) = 0;
    // The button shows no progress any more.
    virtual void ClearProgress() = 0;
};

}  // namespace platform
