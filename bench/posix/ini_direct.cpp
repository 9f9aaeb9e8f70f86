#include "bench/ini_direct.h"

// No platform reader to compare with: ours is the reader.
std::optional<std::string> DirectRead(const std::string&, const std::string&,
                                      const std::string&, unsigned, const std::string&) {
    return std::nullopt;
}
