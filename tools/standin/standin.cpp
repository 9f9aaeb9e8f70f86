// Stands in for "RA2MD.exe" and "RockPatch.exe" in the tests: copied into a
// game folder under either name, it records how the panel started it.
//
// Beside itself it writes "<its own file name>.started.txt", UTF-8, three
// lines: the command line it received, the show state it was given ("none"
// when STARTF_USESHOWWINDOW was not set) and its working directory. The record
// is written under a temporary name and then renamed, so a test that sees it
// sees all of it.
//
// With "stay.txt" beside it, it keeps its own executable open without delete
// sharing (as a running patch program would hold its files) and keeps running
// until "stay.txt" is gone, or for two minutes at most. The record is written
// only once the executable is held, so the test can rely on the lock.
//
// It has no manifest on purpose: under real Windows a copy named
// "RockPatch.exe" then meets the installer detection, as the real one would.
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), &s[0], n, nullptr, nullptr);
    return s;
}

std::wstring OwnPath() {
    std::wstring path(32768, L'\0');
    DWORD n = GetModuleFileNameW(nullptr, &path[0], (DWORD)path.size());
    path.resize(n);
    return path;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring self = OwnPath();
    std::wstring folder = self.substr(0, self.find_last_of(L'\\'));
    std::wstring stay = folder + L"\\stay.txt";

    HANDLE held = INVALID_HANDLE_VALUE;
    if (Exists(stay))
        held = CreateFileW(self.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);

    STARTUPINFOW si = {};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    std::wstring show = (si.dwFlags & STARTF_USESHOWWINDOW) ? std::to_wstring(si.wShowWindow)
                                                             : L"none";
    std::wstring cwd(32768, L'\0');
    cwd.resize(GetCurrentDirectoryW((DWORD)cwd.size(), &cwd[0]));

    std::string record = Utf8(GetCommandLineW()) + "\n" + Utf8(show) + "\n" + Utf8(cwd) + "\n";
    std::wstring done = self + L".started.txt";
    std::wstring part = self + L".started.part";
    HANDLE out = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(out, record.data(), (DWORD)record.size(), &written, nullptr);
    CloseHandle(out);
    if (!MoveFileExW(part.c_str(), done.c_str(), MOVEFILE_REPLACE_EXISTING)) return 1;

    for (int waited = 0; held != INVALID_HANDLE_VALUE && Exists(stay) && waited < 120000;
         waited += 20)
        Sleep(20);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    return 0;
}
