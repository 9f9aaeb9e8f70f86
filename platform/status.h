// The outcome of a file operation or a program start, shared by the file and
// program services.
#pragma once

#include <string>

namespace platform {

// When the system refuses, `reason` holds its explanation in words, as the
// system words it ("Access is denied.").
struct Status {
    bool ok = true;
    std::string reason;
    static Status Success() { return {}; }
    static Status Refused(std::string why) { return {false, std::move(why)}; }
};

}  // namespace platform
