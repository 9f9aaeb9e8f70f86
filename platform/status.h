// The outcome of a file operation or a program start, shared by the file and
// program services.
#pragma once

#include <string>

namespace platform {

// The steps of the file and program services, as far as a refusal of them
// is concerned.
enum class Step { kNone, kOpenSource, kCreateCopy, kWrite, kFlush, kRename, kDelete, kStart };

// When the system refuses, `reason` holds its explanation in words, as the
// system words it ("Access is denied."), `error` its code (a Win32 error on
// Windows, errno elsewhere) and `file` the path it refused: for a copy, the
// source when the source could not be read, else the target. The code and
// the path let the caller find out what the player can do about it
// (platform/refusal.h); `step` says which step was refused.
struct Status {
    bool ok = true;
    std::string reason;
    long error = 0;
    std::string file;
    Step step = Step::kNone;
    static Status Success() { return {}; }
    static Status Refused(std::string why) { return {false, std::move(why), 0, {}, Step::kNone}; }
    static Status Refused(std::string why, long error, std::string file, Step step) {
        return {false, std::move(why), error, std::move(file), step};
    }
};

}  // namespace platform
