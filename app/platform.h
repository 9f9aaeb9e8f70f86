// Platform services the portable core leans on: the application folder, the
// file test, copy and delete, and starting another program.
//
// One header, two implementations chosen by the build: app/win/platform.cpp
// (the product, wide-character Win32 calls) and app/posix/platform.cpp (so the
// core builds and is tested natively). Strings are UTF-8 on both sides; wide
// strings exist only inside the Windows implementation.
//
// Names in the game folder match without regard to letter case on every
// platform: the POSIX side looks for a case-insensitive match in the folder,
// so "EXPANDMD81.MIX" is found when "expandmd81.mix" is asked for.
#pragma once

#include <functional>
#include <string>

namespace platform {

// Separator between the application folder and a file name.
extern const char kPathSeparator;

// Outcome of a file operation or program start. When the system refuses,
// `reason` holds its explanation in words, as the system words it
// ("Access is denied.").
struct Status {
    bool ok = true;
    std::string reason;
    static Status Success() { return {}; }
    static Status Refused(std::string why) { return {false, std::move(why)}; }
};

// Folder of the running executable, from the module's own path (never the
// working directory), without a trailing separator.
std::string ApplicationFolder();

// True only for an ordinary file: a folder, a hidden or a system file counts
// as absent, a read-only file as present. Absence is an answer, not a failure.
bool FileExists(const std::string& path);

// Called now and then during a long copy, so the caller can keep its window
// painted. May be empty.
using CopyProgress = std::function<void()>;

// Copies source to target, replacing a file already at the target. On
// success the target's data has reached the disk (flushed) before this
// returns, so that the caller may delete the source safely. The target is
// replaced in one step: cut off at any instant, its name holds its old
// contents or all of the new ones, never part.
Status CopyFileReplace(const std::string& source, const std::string& target,
                       const CopyProgress& progress = {});

// Deletes a file. A read-only file is refused, as is a file that another
// program holds open (where the system has such a lock).
Status RemoveFile(const std::string& path);

// Show states for a started program's first window.
enum ShowState { kShowNormal = 1, kShowMinimized = 2 };

// Starts the program at `path` by its explicit name, with the command line
// exactly `path` and the given show state; returns at once. The program
// inherits the working directory; no handle is kept.
Status StartProgram(const std::string& path, int show_state);

}  // namespace platform
