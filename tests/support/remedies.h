// The lines below a refusal that say what the player can do, written out
// here rather than taken from panel/failure.cpp, so that a wrong word there
// shows up in the tests.
#pragma once

namespace remedies {

inline const char kCloseProgram[] =
    "If the game or the patch program is still running, close it and try again.";
inline const char kClearReadOnly[] =
    "The file is read-only: clear \"Read-only\" in its Properties and try again.";
inline const char kRunAsAdministrator[] =
    "The game folder is protected by Windows. Close this panel and start \"ZARN Control "
    "Panal.exe\" again with \"Run as administrator\".";
inline const char kGiveLinuxAccess[] =
    "Your Linux user may not change the game folder: give it write access, or move the game.";

}  // namespace remedies
