// The fixed names of the game folder that the panel works on.
#pragma once

#include <cstddef>

namespace core {

// Appended to a file's full name to disable it.
extern const char DisabledSuffix[];  // ".Zarn"
constexpr std::size_t kDisabledSuffixLength = 5;

// Its presence means the modification is enabled; also entry 7 of ModFiles.
extern const char MarkerFile[];  // "expandmd81.mix"

// Moved by Enable and Disable, in this order.
extern const char* const ModFiles[10];
// Deleted by Uninstall, in this order: twelve names, the same twelve with the
// suffix, then "rzarn.yro" and its disabled form with a lower-case suffix.
extern const char* const UninstallFiles[26];
// Installer leftovers deleted by Clean, in this order.
extern const char* const CleanFiles[12];

extern const char GameExe[];      // "RA2MD.exe", started by Launch
extern const char PatchExe[];     // "RockPatch.exe", run by Uninstall

}  // namespace core
