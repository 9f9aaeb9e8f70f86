// The profile reader and writer on Windows: kernel32's own.
//
// The wide functions are called, not GetPrivateProfileStringA and
// WritePrivateProfileStringA, because the game folder's path may hold letters
// that the ANSI code page lacks ("Игры" on a Western system); short path
// names would not help there, since a volume may have them turned off.
// Section, key, default and value are 8-bit text in the ANSI code page, as
// they would be for the A functions, and are converted to and from UTF-16 on
// the way, so the text that comes back is the A function's.
#include "platform/profile.h"
#include "platform/system.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win/wide.h"

namespace platform {
namespace {

WString FromAnsi(const std::string& s) {
    std::string text = s.c_str();  // what the A function would see
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), nullptr, 0);
    WString w(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), &w[0], n);
    return w;
}

std::string ToAnsi(const wchar_t* w, int count) {
    if (count <= 0) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, w, count, nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, w, count, &s[0], n, nullptr, nullptr);
    return s;
}

}  // namespace

unsigned ReadIniString(const std::string& section, const std::string& key,
                       const std::string& fallback, char* buffer, unsigned capacity,
                       const std::string& path) {
    if (capacity == 0) return 0;
    // Each UTF-16 unit becomes at least one byte, so a wide buffer of the
    // same capacity holds all that can fit; the byte count is cut below.
    std::vector<wchar_t> wide(capacity);
    DWORD n = GetPrivateProfileStringW(FromAnsi(section).c_str(), FromAnsi(key).c_str(),
                                       FromAnsi(fallback).c_str(), wide.data(), capacity,
                                       Widen(path).c_str());
    std::string placed = ToAnsi(wide.data(), (int)std::min<DWORD>(n, capacity - 1));
    if (placed.size() > capacity - 1) placed.resize(capacity - 1);
    std::memcpy(buffer, placed.data(), placed.size());
    buffer[placed.size()] = '\0';
    return (unsigned)placed.size();
}

bool WriteIniString(const std::string& section, const std::string& key,
                    const std::string& value, const std::string& path) {
    auto wide_path = Widen(path);
    // Windows refuses to write a read-only file by itself. Wine maps the
    // attribute to the Unix mode bits, which root does not heed, so under
    // Wine as root the file would be written; ask first.
    WriteTarget facts;
    DWORD attributes = GetFileAttributesW(wide_path.c_str());
    facts.exists = attributes != INVALID_FILE_ATTRIBUTES;
    facts.regular = !facts.exists || !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    facts.read_only = facts.exists && (attributes & FILE_ATTRIBUTE_READONLY);
    wchar_t root[MAX_PATH];
    DWORD flags = 0;
    facts.read_only_medium =
        GetVolumePathNameW(wide_path.c_str(), root, MAX_PATH) &&
        GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
        (flags & FILE_READ_ONLY_VOLUME);
    if (!MayWrite(facts)) return false;
    return WritePrivateProfileStringW(FromAnsi(section).c_str(), FromAnsi(key).c_str(),
                                      FromAnsi(value).c_str(), wide_path.c_str()) != 0;
}

unsigned SystemSettingsFile::ReadString(const std::string& section, const std::string& key,
                                        const std::string& fallback, char* buffer,
                                        unsigned capacity, const std::string& path) {
    return ReadIniString(section, key, fallback, buffer, capacity, path);
}

bool SystemSettingsFile::WriteString(const std::string& section, const std::string& key,
                                     const std::string& value, const std::string& path) {
    return WriteIniString(section, key, value, path);
}

}  // namespace platform
