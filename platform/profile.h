// The INI reader and writer under Cini: the two calls it makes of the
// platform, in the shape of the Windows profile functions.
//
// One header, two implementations chosen by the build: platform/win/profile.cpp
// hands both calls to kernel32, and platform/posix/profile.cpp is our own
// reader and writer, which gives on ordinary files what kernel32 gives.
//
// Paths are UTF-8 on both sides. Section, key, default and value are 8-bit
// text passed through unchanged (on Windows, text in the ANSI code page).
#pragma once

#include <string>

namespace platform {

// The settings file as a service: the two calls below (ReadIniString and
// WriteIniString), as members. Start-up sets the real one (SystemSettingsFile,
// platform/system.h) as the settings file service before the first window
// opens; Cini reaches INI files through it and no other way.
class SettingsFile {
public:
    virtual ~SettingsFile() = default;
    // As ReadIniString and WriteIniString.
    virtual unsigned ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback, char* buffer, unsigned capacity,
                                const std::string& path) = 0;
    virtual bool WriteString(const std::string& section, const std::string& key,
                             const std::string& value, const std::string& path) = 0;
};

// The one seam between Cini and the settings file: the service every Cini
// uses, set by start-up (the real one) or by a test (the real one or a
// wrapper around it). Set returns the service set before, so that a test can
// put it back. Nothing is set until someone sets it.
SettingsFile* SetSettingsFileService(SettingsFile* service);
SettingsFile& SettingsFileService();

// Sets `service` as the settings file service for as long as it lives, then
// puts back the one set before.
class UseSettingsFile {
public:
    explicit UseSettingsFile(SettingsFile& service) : before_(SetSettingsFileService(&service)) {}
    ~UseSettingsFile() { SetSettingsFileService(before_); }
    UseSettingsFile(const UseSettingsFile&) = delete;
    UseSettingsFile& operator=(const UseSettingsFile&) = delete;

private:
    SettingsFile* before_;
};

// Places the value of `key` in the first `[section]` of the file in `buffer`:
// blanks around it trimmed and an outer pair of matching quotes stripped. When
// the file, the section or the key is absent, places `fallback` with its
// trailing spaces removed instead. At most capacity - 1 characters are
// placed, followed by a terminator. Returns how many characters were placed,
// the terminator not counted; 0 for a key whose value is empty.
unsigned ReadIniString(const std::string& section, const std::string& key,
                       const std::string& fallback, char* buffer, unsigned capacity,
                       const std::string& path);

// Sets `key` in `[section]` to `value`, adding the key or the section (and
// the file) when absent and leaving the rest of the file in place. False when
// the system refuses: a read-only file, a missing folder.
bool WriteIniString(const std::string& section, const std::string& key,
                    const std::string& value, const std::string& path);

// What the system says about the file a write would go to.
struct WriteTarget {
    bool exists = false;
    bool regular = true;            // an ordinary file, not a folder
    bool read_only = false;         // the file's read-only attribute (mode bits on POSIX)
    // The volume it is on can't be written (a disc, a read-only mount).
    bool read_only_medium = false;
};

// Whether a write may be tried at all: never into a folder of that name, a
// read-only file, or a file on a read-only medium. Both writers ask it
// first, so such a write is refused and leaves every file as it was (the
// caller does not look at the answer; a failed settings write goes
// unreported).
bool MayWrite(const WriteTarget& target);

}  // namespace platform
