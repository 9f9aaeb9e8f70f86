// The form of a path that the file functions are given.
#pragma once

#include "platform/win/wide.h"

namespace platform {

// `path` as the file functions take it: a full path of MAX_PATH characters
// or more (a game folder deep enough that the copy's temporary name passes
// the limit, though the real names fit) in the extended-length form,
// "\\?\C:\..." or "\\?\UNC\server\share\...", which has no such limit;
// shorter paths, relative ones, and ones in that form or a device's form
// already, as they are. The extended form takes the path literally, so it
// must be full and use only backslashes.
WString LongPathForm(const WString& path);

}  // namespace platform
