// The application folder on Linux: the folder of /proc/self/exe.
#include "platform/folder.h"
#include "platform/system.h"

#include <unistd.h>

namespace platform {

const char kPathSeparator = '/';

std::string ApplicationFolder() {
    std::string path(4096, '\0');
    ssize_t n = readlink("/proc/self/exe", &path[0], path.size());
    if (n <= 0) return ".";
    path.resize(static_cast<size_t>(n));
    std::string::size_type slash = path.rfind('/');
    return slash == 0 ? "" : path.substr(0, slash);
}

std::string SystemFolder::Path() const { return ApplicationFolder(); }

}  // namespace platform
