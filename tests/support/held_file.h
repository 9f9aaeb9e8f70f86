// Windows only: holds a file open for reading, sharing reading only, as the
// game would; the system then refuses to delete or replace it until released.
#pragma once

#include <string>
#include <utility>

#include <windows.h>

#include "platform/win/wide.h"

class Held {
public:
    explicit Held(const std::string& path)
        : h_(CreateFileW(platform::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr)) {}
    ~Held() { Release(); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    // Closing INVALID_HANDLE_VALUE, the current process's pseudo handle, does nothing.
    void Release() { CloseHandle(std::exchange(h_, INVALID_HANDLE_VALUE)); }

private:
    HANDLE h_;
};
