// The application folder on Linux: the folder of /proc/self/exe.
#include "platform/folder.h"
#include "platform/system.h"

#include <filesystem>
#include <system_error>

namespace platform {

const char kPathSeparator = '/';

std::string ApplicationFolder() {
    std::error_code failed;
    std::string path = std::filesystem::read_symlink("/proc/self/exe", failed).string();
    std::string::size_type slash = path.rfind('/');
    return failed ? "." : slash == 0 ? "" : path.substr(0, slash);
}

std::string SystemFolder::Path() const { return ApplicationFolder(); }

}  // namespace platform
