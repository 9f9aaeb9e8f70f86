// Under Windows (and Wine) the stand-in is tools/standin, built beside the tests.
#include <windows.h>

#include <tlhelp32.h>

#include "platform/platform.h"
#include "platform/win/wide.h"
#include "tests/standin.h"

const bool kStandInKnowsShowState = true;

void PlaceStandIn(const TempFolder& dir, const std::string& name) {
    platform::WString from = platform::Widen(platform::ApplicationFolder() + "\\standin.exe");
    if (!CopyFileW(from.c_str(), platform::Widen(dir.File(name)).c_str(), FALSE))
        throw std::runtime_error("standin.exe is not beside the test program");
}

bool WaitEnded(const std::string& name) {
    for (int i = 0; i < 1000; ++i, Sleep(10)) {
        bool running = false;
        HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32W p = {};
        p.dwSize = sizeof p;
        for (BOOL more = Process32FirstW(snap, &p); more; more = Process32NextW(snap, &p))
            running |= lstrcmpiW(p.szExeFile, platform::Widen(name).c_str()) == 0;
        CloseHandle(snap);
        if (!running) return true;
    }
    return false;
}
