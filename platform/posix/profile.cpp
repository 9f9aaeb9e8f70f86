// Our own profile reader and writer, for builds outside Windows. The rules of
// the text are in ini_text.h; this file adds the file on disk, the default,
// the capacity, and a write that never leaves a half-written file behind.
#include "platform/profile.h"
#include "platform/system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/posix/file_calls.h"
#include "platform/posix/ini_text.h"

namespace platform {
namespace {

// The whole file, or nothing when it cannot be read as a file.
std::optional<std::string> ReadWhole(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string text;
    char chunk[65536];
    for (;;) {
        ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0) {
            close(fd);
            return std::nullopt;  // a folder, for one
        }
        if (n == 0) break;
        text.append(chunk, (size_t)n);
    }
    close(fd);
    return text;
}

// Copies a quoted or plain value as kernel32 does into a buffer of
// `capacity`. For a quoted value it skips the opening quote, copies what fits,
// and drops the last character copied when the buffer could hold the rest of
// the value including its closing quote; so a buffer exactly one short of
// that loses a letter of the value ("'abc'" into 4 gives "ab").
std::string FitValue(const std::string& value, unsigned capacity) {
    size_t room = capacity - 1;
    bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') &&
                  value.back() == value[0];
    if (!quoted) return value.substr(0, room);
    std::string rest = value.substr(1);
    std::string placed = rest.substr(0, room);
    if (capacity >= rest.size() && !placed.empty()) placed.pop_back();
    return placed;
}

// The default as kernel32 places it: trailing spaces removed, though never
// its first character.
std::string FitDefault(const std::string& fallback, unsigned capacity) {
    size_t keep = fallback.size();
    while (keep > 1 && fallback[keep - 1] == ' ') --keep;
    return fallback.substr(0, std::min<size_t>(keep, capacity - 1));
}

mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Puts `text` in place of the file at `path` in one step: a temporary file
// in the same folder, flushed to disk, then renamed over the target.
bool ReplaceFile(const std::string& path, const std::string& text, mode_t mode) {
    std::string folder = FolderOf(path);
    std::string temp = folder + "/.zarn-ini-XXXXXX";
    int fd = mkstemp(&temp[0]);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, text.data(), text.size()) && fchmod(fd, mode) == 0 && Calls().Fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok && rename(temp.c_str(), path.c_str()) == 0) {
        SyncFolderOf(path);  // the new name on the disk too, where the system can
        return true;
    }
    unlink(temp.c_str());
    return false;
}

}  // namespace

unsigned ReadIniString(const std::string& section, const std::string& key,
                       const std::string& fallback, char* buffer, unsigned capacity,
                       const std::string& path) {
    if (capacity == 0) return 0;
    std::optional<std::string> value;
    if (std::optional<std::string> file = ReadWhole(path))
        value = FindIniValue(*file, section.c_str(), key.c_str());
    std::string placed = value ? FitValue(*value, capacity)
                               : FitDefault(fallback.c_str(), capacity);
    std::memcpy(buffer, placed.data(), placed.size());
    buffer[placed.size()] = '\0';
    return (unsigned)placed.size();
}

bool WriteIniString(const std::string& section, const std::string& key,
                    const std::string& value, const std::string& path) {
    std::string target = path;
    std::string before;
    bool exists = false;
    mode_t mode = NewFileMode();
    struct stat st;
    WriteTarget facts;
    std::string::size_type slash = path.rfind('/');
    struct statvfs volume;
    facts.read_only_medium =
        statvfs(slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash).c_str(),
                &volume) == 0 &&
        (volume.f_flag & ST_RDONLY);
    if (stat(path.c_str(), &st) == 0) {
        // Mode bits, not access(): a test run as root may write anything.
        facts.exists = true;
        facts.regular = S_ISREG(st.st_mode);
        facts.read_only = (st.st_mode & 0222) == 0;
        if (!MayWrite(facts)) return false;
        std::optional<std::string> file = ReadWhole(path);
        if (!file) return false;
        before = std::move(*file);
        exists = true;
        mode = st.st_mode & 07777;
        // Replace the file a link points to, not the link.
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved)) target = resolved;
    } else if (errno != ENOENT || !MayWrite(facts)) {
        return false;
    }
    std::optional<std::string> after =
        WithIniValue(before, section.c_str(), key.c_str(), value.c_str());
    if (!after) return false;
    if (exists && *after == before) return true;
    return ReplaceFile(target, *after, mode);
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
