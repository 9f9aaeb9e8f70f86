// What the POSIX services share: finding a name without regard to case, and
// wording a refusal as Windows words it.
#pragma once

#include <string>

#include "platform/status.h"

namespace platform {

// The system's reason for errno `err`, in the words Windows uses for the
// equivalent refusal, so messages read alike on both builds.
std::string Reason(int err);
// A refusal with errno `err` of `step` on the file at `file`.
Status RefusedErrno(int err, const std::string& file, Step step);

// The entry of path's folder whose name equals path's name without regard to
// case; the exact name wins when it exists. Returns path itself when nothing
// matches.
std::string Resolve(const std::string& path);

}  // namespace platform
