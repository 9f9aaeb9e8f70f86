// Windows implementation of the platform services: wide-character Win32
// calls throughout, so a game folder such as "C:\Игры\Red Alert 2" works
// whatever the ANSI code page.
#include "app/platform.h"

#include "app/win/wide.h"

#include <shellapi.h>

namespace platform {

const char kPathSeparator = '\\';

namespace {

// ERROR_ELEVATION_REQUIRED; mingw-w64's winerror.h does not name it.
constexpr DWORD kElevationRequired = 740;

Status LastError() { return Status::Refused(SystemReason(GetLastError())); }

DWORD CALLBACK OnCopyProgress(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER,
                              DWORD, DWORD, HANDLE, HANDLE, LPVOID data) {
    auto* progress = static_cast<const CopyProgress*>(data);
    if (*progress) (*progress)();
    return PROGRESS_CONTINUE;
}

// Pushes the copied file's data to the disk. A read-only copy can't be opened
// for writing; its source is read-only too, so it will not be deleted and
// nothing depends on this flush.
Status FlushToDisk(const WString& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD attr = GetFileAttributesW(path.c_str());
        if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_READONLY))
            return Status::Success();
        return LastError();
    }
    BOOL ok = FlushFileBuffers(h);
    Status s = ok ? Status::Success() : LastError();
    CloseHandle(h);
    return s;
}

// A program whose name holds "patch", "setup" or "install" and that has no
// manifest is taken by Windows' installer detection for one that needs an
// administrator: CreateProcessW refuses it with ERROR_ELEVATION_REQUIRED.
// "RockPatch.exe" is such a name. The shell knows how to ask for elevation,
// so we hand the same path and show state to ShellExecuteExW. shell32 is
// loaded only then, and only from System32.
Status StartElevated(const WString& path, int show_state) {
    using ShellExecuteExFn = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
    HMODULE shell = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    auto execute = shell ? reinterpret_cast<ShellExecuteExFn>(reinterpret_cast<void*>(
                               GetProcAddress(shell, "ShellExecuteExW")))
                         : nullptr;
    if (!execute) return Status::Refused(SystemReason(kElevationRequired));
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // No process handle is asked for, so none is kept; NOASYNC because the
    // panel may close right after this returns.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = path.c_str();
    info.nShow = show_state;
    Status s = execute(&info) ? Status::Success() : LastError();
    FreeLibrary(shell);
    return s;
}

// Wine 8's CopyFileExW never calls its progress routine, so during a long
// copy the window would stop answering. There we copy in pieces ourselves
// and keep the window painted between them. Wine is told by the export that
// only its ntdll has.
bool CopyCallsBack() {
    static const bool calls_back =
        !GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
    return calls_back;
}

// Copies `from` to the new file `part` piece by piece, as CopyFileExW would:
// data, last-write time and attributes. The data is flushed every 64 MiB, so
// the final flush is short too.
bool CopyInPieces(const WString& from, const WString& part, const CopyProgress& progress) {
    HANDLE in = CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (in == INVALID_HANDLE_VALUE) return false;
    HANDLE out = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        DWORD err = GetLastError();
        CloseHandle(in);
        SetLastError(err);
        return false;
    }
    const DWORD piece = 4u << 20;
    void* buffer = VirtualAlloc(nullptr, piece, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool ok = buffer != nullptr;
    for (DWORD pieces = 1; ok; ++pieces) {
        DWORD got = 0, put = 0;
        ok = ReadFile(in, buffer, piece, &got, nullptr);
        if (!ok || got == 0) break;
        ok = WriteFile(out, buffer, got, &put, nullptr) && put == got;
        if (ok && pieces % 16 == 0) ok = FlushFileBuffers(out);
        if (progress) progress();
    }
    FILETIME written;
    if (ok && GetFileTime(in, nullptr, nullptr, &written)) SetFileTime(out, nullptr, nullptr, &written);
    ok = ok && FlushFileBuffers(out);
    DWORD err = GetLastError();
    if (buffer) VirtualFree(buffer, 0, MEM_RELEASE);
    CloseHandle(out);
    CloseHandle(in);
    if (ok) SetFileAttributesW(part.c_str(), GetFileAttributesW(from.c_str()));
    SetLastError(err);
    return ok;
}

// Removes an unfinished copy, read-only or not.
void DeletePart(const WString& part) {
    SetFileAttributesW(part.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(part.c_str());
}

}  // namespace

std::string ApplicationFolder() {
    WString path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, &path[0], (DWORD)path.size());
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    WString::size_type slash = path.find_last_of(L"\\/");
    return Narrow(slash == WString::npos ? path : path.substr(0, slash));
}

bool FileExists(const std::string& path) {
    DWORD attr = GetFileAttributesW(Widen(path).c_str());
    return attr != INVALID_FILE_ATTRIBUTES &&
           !(attr & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

Status CopyFileReplace(const std::string& source, const std::string& target,
                       const CopyProgress& progress) {
    WString to = Widen(target);
    // Windows refuses to copy over a read-only file; Wine run as root
    // would not, so the refusal is made here for both.
    DWORD attr = GetFileAttributesW(to.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_READONLY))
        return Status::Refused(SystemReason(ERROR_ACCESS_DENIED));
    // The data goes to a file of our own first and replaces the target in one
    // rename, so that whatever instant the copy is cut off at, the target's
    // name holds either its old contents or all of the new ones, never part:
    // a later Enable or Disable never copies a torn file over a whole one.
    WString part = to + L".zarn-copying";
    // Unbuffered, the data reaches the disk during the copy, between progress
    // calls, and the flush afterwards has little left to do.
    WString from = Widen(source);
    bool copied = CopyCallsBack()
                      ? CopyFileExW(from.c_str(), part.c_str(), OnCopyProgress,
                                    const_cast<CopyProgress*>(&progress), nullptr,
                                    COPY_FILE_NO_BUFFERING)
                      : CopyInPieces(from, part, progress);
    if (!copied) {
        Status s = LastError();
        DeletePart(part);
        return s;
    }
    Status s = FlushToDisk(part);
    if (s.ok && !MoveFileExW(part.c_str(), to.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        s = LastError();
    if (!s.ok) DeletePart(part);
    return s;
}

Status RemoveFile(const std::string& path) {
    return DeleteFileW(Widen(path).c_str()) ? Status::Success() : LastError();
}

Status StartProgram(const std::string& path, int show_state) {
    // The explicit application name means a folder with spaces can never
    // start "C:\Program" instead; the command line is the path, exactly.
    WString app = Widen(path);
    WString cmd = app;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = (WORD)show_state;
    PROCESS_INFORMATION pi = {};
    if (CreateProcessW(app.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                       &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return Status::Success();
    }
    DWORD err = GetLastError();
    if (err != kElevationRequired) return Status::Refused(SystemReason(err));
    return StartElevated(app, show_state);
}

}  // namespace platform
