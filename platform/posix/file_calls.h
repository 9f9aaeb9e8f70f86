// The system calls that the POSIX copy makes, as one service: the real ones,
// or a wrapper around them that refuses or interrupts some (the test of the
// copy's fallbacks hands one in).
#pragma once

#include <cstddef>
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

}  // namespace platform
