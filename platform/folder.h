// The application folder: where the running executable lives, the base of
// every path the program forms.
#pragma once

#include <string>

namespace platform {

// Separator between the application folder and a file name.
extern const char kPathSeparator;

// The application folder as a service: start-up hands the real one
// (SystemFolder, platform/system.h) to the core, which forms every path from
// it; a test hands in its own game folder.
class Folder {
public:
    virtual ~Folder() = default;
    // The folder, without a trailing separator.
    virtual std::string Path() const = 0;
};

// Folder of the running executable, from the module's own path (never the
// working directory), without a trailing separator. SystemFolder's answer.
std::string ApplicationFolder();

// The game's settings file in the application folder: the main window tests
// for it, the Game Options dialog reads and writes it.
inline constexpr char kSettingsFile[] = "RA2MD.ini";

}  // namespace platform
