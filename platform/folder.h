// The application folder: where the running executable lives, the base of
// every path the program forms.
#pragma once

#include <string>

namespace platform {

// Separator between the application folder and a file name.
extern const char kPathSeparator;

// Folder of the running executable, from the module's own path (never the
// working directory), without a trailing separator.
std::string ApplicationFolder();

// The game's settings file in the application folder: the main window tests
// for it, the Game Options dialog reads and writes it.
inline constexpr char kSettingsFile[] = "RA2MD.ini";

}  // namespace platform
