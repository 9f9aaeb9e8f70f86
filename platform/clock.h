// The clock that a long command reads to decide when to show its progress.
#pragma once

#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds from any fixed point, never going back.
    virtual std::uint64_t Milliseconds() = 0;
};

}  // namespace platform
