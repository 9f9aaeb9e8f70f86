// The main window's task bar button, through the shell's ITaskbarList3.
#pragma once

#include <windows.h>

#include "app/win/form.h"
#include "platform/taskbar.h"

struct ITaskbarList3;

namespace app {

// Shows progress on the task bar button of `window`. The shell object is
// made at the first SetProgress, never at start-up; where the system has
// none (Wine has no task bar of this kind), every call does nothing.
class WindowTaskbar : public platform::Taskbar {
public:
    explicit WindowTaskbar(const FormWindow& window) : window_(window) {}
    ~WindowTaskbar() override;
    WindowTaskbar(const WindowTaskbar&) = delete;
    WindowTaskbar& operator=(const WindowTaskbar&) = delete;

    void SetProgress(std::uint64_t done, std::uint64_t total) override;
    void ClearProgress() override;

private:
    ITaskbarList3* List();

    const FormWindow& window_;
    ITaskbarList3* list_ = nullptr;
    bool tried_ = false;
};

}  // namespace app
