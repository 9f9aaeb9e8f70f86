// The application folder on Windows, from the module's own wide path.
#include "platform/folder.h"
#include "platform/system.h"

#include "platform/win/wide.h"

namespace platform {

const char kPathSeparator = '\\';

std::string ApplicationFolder() {
    WString path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, &path[0], (DWORD)path.size());
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    WString::size_type slash = path.find_last_of(L"\\/");
    return Narrow(slash == WString::npos ? path : path.substr(0, slash));
}

std::string SystemFolder::Path() const { return ApplicationFolder(); }

}  // namespace platform
