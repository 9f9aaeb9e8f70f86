// The lines below a refusal that say what the player can do, written out
// here rather than taken from panel/failure.cpp, so that a wrong word there
// shows up in the tests.
#pragma once

#ifdef _WIN32
#include <string>

#include "platform/win/wide.h"
#endif

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

#ifdef _WIN32
// The system's own wording for an error code, read here from its message table with the line
// break that ends it cut off, so that the panel's reading of it is checked, not copied.
inline std::string Reason(DWORD code) {
    wchar_t text[512] = {};
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                             512, nullptr);
    while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ')) --n;
    return n ? platform::Narrow(platform::WString(text, n)) : "(no text for " + std::to_string(code) + ")";
}
#endif

}  // namespace remedies
