// Starting a program on Windows.
#include "platform/program.h"
#include "platform/system.h"

#include "platform/win/com.h"
#include "platform/win/program_win.h"
#include "platform/win/system_library.h"
#include "platform/win/wide.h"

#include <shellapi.h>

namespace platform {

namespace {

// ERROR_ELEVATION_REQUIRED; mingw-w64's winerror.h does not name it.
constexpr DWORD kElevationRequired = 740;

Status Refused(DWORD err, const WString& path) {
    return Status::Refused(SystemReason(err), (long)err, Narrow(path), Step::kStart);
}

// A program whose name holds "patch", "setup" or "install" and that has no
// manifest is taken by Windows' installer detection for one that needs an
// administrator: CreateProcessW refuses it with ERROR_ELEVATION_REQUIRED.
// "RockPatch.exe" is such a name. The shell knows how to ask for elevation,
// so we hand the same path and show state to ShellExecuteExW, with COM
// initialised on this thread as its documentation asks (shell extensions
// are COM objects), and the panel's window as the owner that the elevation
// prompt stands in front of. shell32 and ole32 are loaded only then, and only
// from System32.
Status StartThroughShell(const WString& path, int show_state) {
    using ShellExecuteExFn = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
    EnsureCom();
    HMODULE shell = LoadSystemLibrary(L"shell32.dll");
    auto execute = SystemFunction<ShellExecuteExFn>(shell, "ShellExecuteExW");
    if (!execute) return Refused(kElevationRequired, path);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // No process handle is asked for, so none is kept; NOASYNC because the
    // panel may close right after this returns.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    // The command runs on the window's thread, so its active window is the
    // panel's (or the box above it).
    info.hwnd = GetActiveWindow();
    info.lpVerb = L"open";
    info.lpFile = path.c_str();
    info.nShow = show_state;
    Status s = execute(&info) ? Status::Success() : Refused(GetLastError(), path);
    FreeLibrary(shell);
    return s;
}

}  // namespace

Status StartProgramWith(CreateProcessFn create, const std::string& path, int show_state) {
    // The explicit application name means a folder with spaces can never
    // start "C:\Program" instead; the command line is the path, exactly.
    WString app = Widen(path);
    WString cmd = app;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = (WORD)show_state;
    PROCESS_INFORMATION pi = {};
    if (create(app.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return Status::Success();
    }
    DWORD err = GetLastError();
    if (err != kElevationRequired) return Refused(err, app);
    return StartThroughShell(app, show_state);
}

Status StartProgram(const std::string& path, int show_state) {
    return StartProgramWith(CreateProcessW, path, show_state);
}

Status SystemPrograms::StartProgram(const std::string& path, int show_state) {
    return platform::StartProgram(path, show_state);
}

}  // namespace platform
