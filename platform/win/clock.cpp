// The system's tick count, in milliseconds since the system started.
#include <windows.h>

#include "platform/system.h"

namespace platform {

std::uint64_t SteadyClock::Milliseconds() { return GetTickCount64(); }

}  // namespace platform
