#include "platform/posix/file_calls.h"

#include <cerrno>
#include <fcntl.h>
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

bool WriteAll(int fd, const char* data, std::size_t n) {
    for (std::size_t done = 0; done < n;) {
        ssize_t w = Calls().Write(fd, data + done, n - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += (std::size_t)w;
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool SyncFolderOf(const std::string& path) {
    int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = Calls().Fsync(fd) == 0;
    int err = errno;
    close(fd);
    errno = err;
    return ok;
}

}  // namespace platform
