// How every command of the game folder deals with a refusal.
//
// A file operation or program start that the system refuses stops the command
// at that step. The steps already done stay done (nothing is undone), the
// player is told which file and why in a message box, and the panel keeps
// running. Commands call Proceed() after each step and return when it says no.
#pragma once

#include <string>

#include "platform/status.h"
#include "platform/window.h"

namespace failure {

// `Could not delete "ra2md.csf": <reason>`; `files` is the quoted part, e.g.
// `"a" to "b"` for a copy.
std::string Text(const std::string& action, const std::string& files, const std::string& reason);

// The file name at the end of a path, as the player knows it.
std::string Quoted(const std::string& path);

// True when `status` succeeded; otherwise shows the refusal and returns false.
bool Proceed(ui::Window& window, const platform::Status& status, const std::string& action,
             const std::string& files);

}  // namespace failure
