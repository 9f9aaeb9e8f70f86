// The system calls that the POSIX layer's copies and settings writes make, as
// one service: the real ones, or a wrapper around them that refuses or
// interrupts some (the test of the copy's fallbacks hands one in); and the
// two steps both writers take through them.
#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace platform {

class FileCalls {
public:
    virtual ~FileCalls() = default;
    virtual ssize_t CopyFileRange(int in, int out, std::size_t n);  // from and to the files' offsets
    virtual ssize_t Read(int fd, void* buf, std::size_t n);
    virtual ssize_t Write(int fd, const void* buf, std::size_t n);
    virtual int Fsync(int fd);
};

// The calls the copy makes; the real ones unless others are set.
FileCalls& Calls();
// Sets the calls the copy makes from now on (null: the real ones).
void SetFileCalls(FileCalls* calls);

// Writes all `n` bytes, again where a write was interrupted or cut short.
bool WriteAll(int fd, const char* data, std::size_t n);
// The folder of a path: "." for a bare name, "/" for a name at the root.
std::string FolderOf(const std::string& path);
// Flushes the folder that holds `path`, so that a name made in it is on the
// disk; errno as the failing call left it.
bool SyncFolderOf(const std::string& path);

}  // namespace platform
