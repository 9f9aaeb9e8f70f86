// Files on Windows: wide-character Win32 calls throughout, so a game folder
// such as "C:\Игры\Red Alert 2" works whatever the ANSI code page.
#include "platform/files.h"

#include "platform/win/wide.h"

namespace platform {

namespace {

Status LastError() { return Status::Refused(SystemReason(GetLastError())); }

DWORD CALLBACK OnCopyProgress(LARGE_INTEGER size, LARGE_INTEGER copied, LARGE_INTEGER,
                              LARGE_INTEGER, DWORD, DWORD, HANDLE, HANDLE, LPVOID data) {
    auto* progress = static_cast<const CopyProgress*>(data);
    if (*progress) (*progress)((std::uint64_t)copied.QuadPart, (std::uint64_t)size.QuadPart);
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
    LARGE_INTEGER size = {};
    GetFileSizeEx(in, &size);
    std::uint64_t copied = 0;
    const DWORD piece = 4u << 20;
    void* buffer = VirtualAlloc(nullptr, piece, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool ok = buffer != nullptr;
    for (DWORD pieces = 1; ok; ++pieces) {
        DWORD got = 0, put = 0;
        ok = ReadFile(in, buffer, piece, &got, nullptr);
        if (!ok || got == 0) break;
        ok = WriteFile(out, buffer, got, &put, nullptr) && put == got;
        if (ok && pieces % 16 == 0) ok = FlushFileBuffers(out);
        copied += got;
        if (progress) progress(copied, (std::uint64_t)size.QuadPart);
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

std::uint64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    return ((std::uint64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

}  // namespace platform
