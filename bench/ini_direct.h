// The platform's own INI reader, called directly, where there is one: on
// Windows GetPrivateProfileStringA, to check that platform/win/profile.cpp
// (which goes through the wide functions) gives the same text.
#pragma once

#include <optional>
#include <string>

std::optional<std::string> DirectRead(const std::string& section, const std::string& key,
                                      const std::string& fallback, unsigned capacity,
                                      const std::string& path);
