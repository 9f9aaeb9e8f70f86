#include "platform/profile.h"

namespace platform {

bool MayWrite(const WriteTarget& t) {
    if (t.read_only_medium) return false;  // not even a new file can be made there
    return !t.exists || (t.regular && !t.read_only);
}

}  // namespace platform
