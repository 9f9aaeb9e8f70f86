#include "bench/ini_direct.h"

#include <windows.h>

#include <vector>

std::optional<std::string> DirectRead(const std::string& section, const std::string& key,
                                      const std::string& fallback, unsigned capacity,
                                      const std::string& path) {
    std::vector<char> buffer(capacity + 1);
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                       buffer.data(), capacity, path.c_str());
    return std::string(buffer.data(), n);
}
