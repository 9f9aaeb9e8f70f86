// Files in the game folder: the existence test, copy and delete.
//
// Names match without regard to letter case on every platform: the POSIX side
// looks for a case-insensitive match in the folder, so "EXPANDMD81.MIX" is
// found when "expandmd81.mix" is asked for.
#pragma once

#include <cstdint>
#include <string>

#include "platform/refusal.h"
#include "platform/status.h"

namespace platform {

// Called now and then during a long copy with the bytes of the file copied so
// far and the file's size, so the caller can keep its window painted and show
// how far it is. May be empty. It refers to the caller's function object
// (a lambda, say) without copying it, so it is handed down for the length of
// one call and never kept.
class CopyProgress {
public:
    CopyProgress() = default;
    template <typename F>
    CopyProgress(const F& f)
        : target_(&f), call_([](const void* t, std::uint64_t copied, std::uint64_t size) {
              (*static_cast<const F*>(t))(copied, size);
          }) {}

    explicit operator bool() const { return call_ != nullptr; }
    void operator()(std::uint64_t copied, std::uint64_t size) const { call_(target_, copied, size); }

private:
    const void* target_ = nullptr;
    void (*call_)(const void* target, std::uint64_t copied, std::uint64_t size) = nullptr;
};

// The files of the game folder as a service: start-up hands the real one
// (SystemFiles, platform/system.h, over the calls below) to the core; a test
// hands in the real one or a wrapper around it. Each member does what the
// call of the same name below says.
class Files {
public:
    virtual ~Files() = default;
    virtual bool FileExists(const std::string& path) = 0;
    virtual Status CopyFileReplace(const std::string& source, const std::string& target,
                                   const CopyProgress& progress) = 0;
    virtual Status RemoveFile(const std::string& path) = 0;
    virtual std::uint64_t FileSize(const std::string& path) = 0;
    // What the system says now about the file that a refusal of this service
    // or of the program service named (refusal.h's FactsAbout).
    virtual RefusalFacts FactsAbout(const Status& refused) = 0;
};

// True only for an ordinary file: a folder, a hidden or a system file counts
// as absent, a read-only file as present. Absence is an answer, not a failure.
bool FileExists(const std::string& path);

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
