// The system's steady clock, as the C++ library gives it.
#include <chrono>

#include "platform/system.h"

namespace platform {

std::uint64_t SteadyClock::Milliseconds() {
    return (std::uint64_t)std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace platform
