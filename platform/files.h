// Files in the game folder: the existence test, copy and delete.
//
// Names match without regard to letter case on every platform: the POSIX side
// looks for a case-insensitive match in the folder, so "EXPANDMD81.MIX" is
// found when "expandmd81.mix" is asked for.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/status.h"

namespace platform {

// True only for an ordinary file: a folder, a hidden or a system file counts
// as absent, a read-only file as present. Absence is an answer, not a failure.
bool FileExists(const std::string& path);

// Called now and then during a long copy with the bytes of the file copied so
// far and the file's size, so the caller can keep its window painted and show
// how far it is. May be empty.
using CopyProgress = std::function<void(std::uint64_t copied, std::uint64_t size)>;

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

// Size in bytes of the file at `path`; 0 when there is none.
std::uint64_t FileSize(const std::string& path);

}  // namespace platform
