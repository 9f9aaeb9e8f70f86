// How every command of the game folder deals with a refusal.
//
// A file operation or program start that the system refuses stops the command
// at that step. The steps already done stay done (nothing is undone), the
// player is told which file and why in a message box, and the panel keeps
// running. Below that line, one more says what the player can likely do
// about it, when the system's answer points to something (a program still
// running, a read-only file, a protected folder). Commands call Proceed()
// after each step and return when it says no.
#pragma once

#include <string>

#include "platform/files.h"
#include "platform/refusal.h"
#include "platform/status.h"
#include "platform/window.h"

namespace core {

// `Could not delete "ra2md.csf": <reason>`; `files` is the quoted part, e.g.
// `"a" to "b"` for a copy.
std::string FailureText(const std::string& action, const std::string& files,
                        const std::string& reason);

// The line that says what to do; empty for Remedy::kNone.
std::string RemedyText(platform::Remedy remedy);

// The file name at the end of a path, as the player knows it.
std::string Quoted(const std::string& path);

// True when `status` succeeded; otherwise shows the refusal, with the remedy
// (from what `system` says about the refused file) on a line of its own, and
// returns false.
bool Proceed(platform::Window& window, platform::Files& system, const platform::Status& status,
             const std::string& action, const std::string& files);

}  // namespace core
