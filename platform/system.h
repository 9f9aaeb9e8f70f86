// The real services of this build, the ones start-up builds once and hands to
// the core: each is a class over the platform's own calls (files.h,
// program.h, folder.h, profile.h), implemented in win/ or posix/ beside them.
// The core never includes this header; tests do, to hand in the real
// services or to wrap them.
#pragma once

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/folder.h"
#include "platform/profile.h"
#include "platform/program.h"

namespace platform {

// The folder of the running executable.
class SystemFolder final : public Folder {
public:
    std::string Path() const override;
};

class SystemFiles final : public Files {
public:
    bool FileExists(const std::string& path) override;
    Status CopyFileReplace(const std::string& source, const std::string& target,
                           const CopyProgress& progress) override;
    Status RemoveFile(const std::string& path) override;
    std::uint64_t FileSize(const std::string& path) override;
    RefusalFacts FactsAbout(const Status& refused) override;
};

class SystemPrograms final : public Programs {
public:
    Status StartProgram(const std::string& path, int show_state) override;
};

// Kernel32's profile functions on Windows, our own reader and writer elsewhere.
class SystemSettingsFile final : public SettingsFile {
public:
    unsigned ReadString(const std::string& section, const std::string& key,
                        const std::string& fallback, char* buffer, unsigned capacity,
                        const std::string& path) override;
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value, const std::string& path) override;
};

// A steady clock of the system.
class SteadyClock final : public Clock {
public:
    std::uint64_t Milliseconds() override;
};

}  // namespace platform
