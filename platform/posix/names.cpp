#include "platform/posix/names.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

namespace platform {

std::string Reason(int err) {
    switch (err) {
    case ENOENT: return "The system cannot find the file specified.";
    case ENOTDIR: return "The system cannot find the path specified.";
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return "Access is denied.";
    case EBUSY:
    case ETXTBSY:
        return "The process cannot access the file because it is being used by another process.";
    case ENOSPC: return "There is not enough space on the disk.";
    default: return std::strerror(err);
    }
}

Status RefusedErrno(int err, const std::string& file, Step step) {
    return Status::Refused(Reason(err), err, file, step);
}

std::string Resolve(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) == 0) return path;
    std::string::size_type slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    DIR* dir = opendir(folder.empty() ? "/" : folder.c_str());
    if (!dir) return path;
    std::string found = path;
    while (dirent* e = readdir(dir)) {
        if (strcasecmp(e->d_name, name.c_str()) == 0) {
            found = folder + "/" + e->d_name;
            break;
        }
    }
    closedir(dir);
    return found;
}

}  // namespace platform
