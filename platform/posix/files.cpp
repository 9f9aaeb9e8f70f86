// Files on POSIX, so the core builds and is tested natively. It follows the
// Windows behaviour the core relies on: names match without regard to case,
// a file without write permission is "read-only" and cannot be deleted or
// overwritten, and refusals are worded as Windows words them.
#include "platform/files.h"
#include "platform/system.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/file_calls.h"
#include "platform/posix/names.h"

namespace platform {

namespace {

// Appended to a target's name while its copy is being written.
const char kPartSuffix[] = ".zarn-copying";

bool IsReadOnly(const struct stat& st) { return (st.st_mode & 0222) == 0; }

// Copies all of in to out through the kernel (reflinks where the file
// system allows), falling back to read and write.
bool CopyData(int in, int out, std::uint64_t size, const CopyProgress& progress) {
    std::uint64_t copied = 0;
    const size_t chunk = 8u << 20;
    for (;;) {
        ssize_t n = Calls().CopyFileRange(in, out, chunk);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
                return false;
            break;  // this pair of files can't use it: copy by hand
        }
        copied += (std::uint64_t)n;
        if (progress) progress(copied, size);
    }
    static char buf[1 << 16];
    for (;;) {
        ssize_t n = Calls().Read(in, buf, sizeof buf);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (!WriteAll(out, buf, (std::size_t)n)) return false;
        copied += (std::uint64_t)n;
        if (progress) progress(copied, size);
    }
}

}  // namespace

bool FileExists(const std::string& path) {
    struct stat st;
    return stat(Resolve(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

Status CopyFileReplace(const std::string& source, const std::string& target,
                       const CopyProgress& progress) {
    std::string from = Resolve(source);
    int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return RefusedErrno(errno, from, Step::kOpenSource);
    struct stat src;
    fstat(in, &src);
    std::string to = Resolve(target);
    struct stat st;
    if (stat(to.c_str(), &st) == 0 && (S_ISDIR(st.st_mode) || IsReadOnly(st))) {
        close(in);
        return RefusedErrno(EACCES, to, Step::kRename);
    }
    // The data goes to a file of our own first and replaces the target in one
    // rename, so that whatever instant the copy is cut off at, the target's
    // name holds either its old contents or all of the new ones, never part:
    // a later Enable or Disable never copies a torn file over a whole one.
    std::string part = to + kPartSuffix;
    int out = open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (out < 0) {
        int err = errno;
        close(in);
        return RefusedErrno(err, to, Step::kCreateCopy);
    }
    // As CopyFile does on Windows, the copy takes the source's permissions,
    // even when it replaces a file that had others.
    bool ok = CopyData(in, out, (std::uint64_t)src.st_size, progress) &&
              fchmod(out, src.st_mode & 0777) == 0 &&
              Calls().Fsync(out) == 0;
    int err = errno;
    close(in);
    if (close(out) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && rename(part.c_str(), to.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        unlink(part.c_str());
        return RefusedErrno(err, to, Step::kWrite);
    }
    // The new name must be on the disk as well as the data before the caller
    // deletes the source, or a power cut could leave neither name.
    return SyncFolderOf(to) ? Status::Success() : RefusedErrno(errno, to, Step::kRename);
}

Status RemoveFile(const std::string& path) {
    std::string p = Resolve(path);
    struct stat st;
    if (lstat(p.c_str(), &st) != 0) return RefusedErrno(errno, p, Step::kDelete);
    if (S_ISDIR(st.st_mode) || IsReadOnly(st)) return RefusedErrno(EACCES, p, Step::kDelete);
    return unlink(p.c_str()) == 0 ? Status::Success() : RefusedErrno(errno, p, Step::kDelete);
}

std::uint64_t FileSize(const std::string& path) {
    struct stat st;
    return stat(Resolve(path).c_str(), &st) == 0 ? (std::uint64_t)st.st_size : 0;
}

bool SystemFiles::FileExists(const std::string& path) { return platform::FileExists(path); }

Status SystemFiles::CopyFileReplace(const std::string& source, const std::string& target,
                                    const CopyProgress& progress) {
    return platform::CopyFileReplace(source, target, progress);
}

Status SystemFiles::RemoveFile(const std::string& path) { return platform::RemoveFile(path); }

std::uint64_t SystemFiles::FileSize(const std::string& path) { return platform::FileSize(path); }

RefusalFacts SystemFiles::FactsAbout(const Status& refused) { return platform::FactsAbout(refused); }

}  // namespace platform
