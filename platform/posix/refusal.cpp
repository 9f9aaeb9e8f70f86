// The facts about a refusal on POSIX. The folder's permissions are a Linux
// user's here, as they are under Wine, so the same remedies apply.
#include "platform/refusal.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

RefusalFacts FactsAbout(const Status& refused) {
    RefusalFacts f;
    f.step = refused.step;
    switch (refused.error) {
    case EBUSY:
    case ETXTBSY: f.error = ErrorKind::kSharingViolation; break;
    case EACCES:
    case EPERM:
    case EROFS: f.error = ErrorKind::kAccessDenied; break;
    case EINVAL:
    case ENOTSUP: f.error = ErrorKind::kUnsupported; break;
    default: break;
    }
    f.wine = true;  // whoever runs it, root or not, the remedy is a Linux user's
    struct stat st;
    if (stat(refused.file.c_str(), &st) == 0) {
        f.read_only = (st.st_mode & 0222) == 0;
        f.is_folder = S_ISDIR(st.st_mode);
    }
    std::string::size_type slash = refused.file.rfind('/');
    if (slash != std::string::npos) {
        std::string folder = slash == 0 ? "/" : refused.file.substr(0, slash);
        f.folder = access(folder.c_str(), W_OK | X_OK) == 0 ? FolderAccess::kAllowed
                                                              : FolderAccess::kDenied;
    }
    return f;
}

}  // namespace platform
