// The Windows file calls' own parts: the form of a path they are given,
// and the copy with its flush handed in.
#pragma once

#include <string>

#include <windows.h>

#include "platform/files.h"
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

// CopyFileReplace with the call that pushes the copy's data to the disk
// handed in; CopyFileReplace hands in FlushFileBuffers.
using FlushFn = BOOL(WINAPI*)(HANDLE);
Status CopyFileReplaceWith(FlushFn flush, const std::string& source, const std::string& target,
                           const CopyProgress& progress = {});

}  // namespace platform
