// How far a long command (Enable, Disable) has got, for the task bar button.
//
// A command that ends within kThreshold never shows anything; past it, the
// button shows the bytes copied so far against the command's total, and is
// cleared when the command ends or stops at a refusal. The time is read from
// the clock handed in, each time the copy reports its progress: no timer and no
// thread, the command runs on the user-interface thread as before.
#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/taskbar.h"

namespace core {

class Progress {
public:
    static constexpr std::uint64_t kThreshold = 500;  // ms

    // Starts timing a command that copies `total` bytes. `taskbar` may be null.
    Progress(platform::Taskbar* taskbar, platform::Clock& clock, std::uint64_t total);
    ~Progress();  // End()
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // From the copy's progress callback: `copied` bytes of the current file.
    void Copied(std::uint64_t copied);
    // The current file of `size` bytes is copied; the next one starts.
    void FileDone(std::uint64_t size);
    // Clears the button if it shows anything; later calls show nothing.
    void End();

private:
    platform::Taskbar* taskbar_;
    platform::Clock& clock_;
    std::uint64_t total_, start_, base_ = 0;
    bool shown_ = false, ended_ = false;
};

}  // namespace core
