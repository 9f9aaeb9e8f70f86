#include "platform/posix/file_calls.h"

#include <unistd.h>

namespace platform {

namespace {
FileCalls real;
FileCalls* current = &real;
}  // namespace

ssize_t FileCalls::CopyFileRange(int in, int out, std::size_t n) {
    return copy_file_range(in, nullptr, out, nullptr, n, 0);
}
ssize_t FileCalls::Read(int fd, void* buf, std::size_t n) { return read(fd, buf, n); }
ssize_t FileCalls::Write(int fd, const void* buf, std::size_t n) { return write(fd, buf, n); }
int FileCalls::Fsync(int fd) { return fsync(fd); }

FileCalls& Calls() { return *current; }

void SetFileCalls(FileCalls* calls) { current = calls ? calls : &real; }

}  // namespace platform
