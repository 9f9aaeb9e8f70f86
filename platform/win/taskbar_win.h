// The task bar button of the program's main window, through the shell's
// ITaskbarList3.
#pragma once

#include <windows.h>

#include "platform/taskbar.h"

struct ITaskbarList3;

namespace platform {

// Shows progress on the task bar button of the window set. The shell object
// is made at the first SetProgress, never at start-up; where the system has
// none (Wine has no task bar of this kind), every call does nothing.
class ShellTaskbar : public Taskbar {
public:
    ShellTaskbar() = default;
    ~ShellTaskbar() override;
    ShellTaskbar(const ShellTaskbar&) = delete;
    ShellTaskbar& operator=(const ShellTaskbar&) = delete;

    // The window whose button shows the progress; none until it is set.
    void SetWindow(HWND window) { window_ = window; }
    void SetProgress(std::uint64_t done, std::uint64_t total) override;
    void ClearProgress() override;

private:
    ITaskbarList3* List();

    HWND window_ = nullptr;
    ITaskbarList3* list_ = nullptr;
    bool tried_ = false;
};

}  // namespace platform
