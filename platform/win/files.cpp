// Files on Windows: wide-character Win32 calls throughout, so a game folder
// such as "C:\Игры\Red Alert 2" works whatever the ANSI code page.
#include "platform/files.h"
#include "platform/system.h"

#include "platform/refusal.h"
#include "platform/win/files_win.h"
#include "platform/win/refusal_win.h"
#include "platform/win/wide.h"

namespace platform {

namespace {

// `path` as our own file calls take it: made full (with backslashes only)
// and in the extended form when it is too long for the plain one.
WString Native(const WString& path) {
    if (path.size() < MAX_PATH) return path;
    DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    WString full(n, L'\0');
    n = n ? GetFullPathNameW(path.c_str(), n, &full[0], nullptr) : 0;
    full.resize(n < full.size() ? n : 0);
    return LongPathForm(full.empty() ? path : full);
}

Status Refused(DWORD err, const WString& file, Step step) {
    return Status::Refused(SystemReason(err), (long)err, Narrow(file), step);
}

// Waits out a file that another program holds for a moment, as a virus
// scanner does with every new file: on the window's thread, in short steps,
// keeping the window painted through the progress routine. The patience is
// for the whole copy, not for each step.
class Patience {
public:
    explicit Patience(const CopyProgress& progress) : progress_(progress) {}
    // Whether `step`, refused with `err`, is to be tried again (after a wait)
    // or taken as done; otherwise the copy has failed.
    Next After(Step step, DWORD err) {
        Next next = AfterFailedStep(step, ErrorKindOf(err), waited_ms_);
        if (next == Next::kWaitAndRetry) {
            Sleep(kCopyWaitStepMs);
            waited_ms_ += kCopyWaitStepMs;
            if (progress_) progress_(copied_, size_);
        }
        return next;
    }
    void Copied(std::uint64_t copied, std::uint64_t size) {
        copied_ = copied;
        size_ = size;
        if (progress_) progress_(copied, size);
    }

private:
    const CopyProgress& progress_;
    int waited_ms_ = 0;
    std::uint64_t copied_ = 0, size_ = 0;
};

// Opens a file, waiting while another program holds it.
HANDLE Open(const WString& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
            Step step, Patience& patience) {
    for (;;) {
        HANDLE h = CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
        if (h != INVALID_HANDLE_VALUE) return h;
        DWORD err = GetLastError();
        if (patience.After(step, err) != Next::kWaitAndRetry) {
            SetLastError(err);
            return INVALID_HANDLE_VALUE;
        }
    }
}

// Removes an unfinished copy, read-only or not.
void DeletePart(const WString& part) {
    SetFileAttributesW(part.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(part.c_str());
}

// Copies `in` to `out` in pieces, then pushes the data to the disk once (a
// flush every few pieces would make each one wait for the disk). A piece of
// 256 KiB stays in the processor's cache between its read and its write, so
// moving each byte twice costs little more than the system's own copy; with
// pieces of some MiB, under Wine on a shared processor, the copy ran at half
// the speed of `cp`. Progress is reported every 4 MiB. Returns 0 or the error.
DWORD CopyData(HANDLE in, HANDLE out, FlushFn flush, Patience& patience) {
    LARGE_INTEGER size_value = {};
    if (!GetFileSizeEx(in, &size_value)) return GetLastError();
    const std::uint64_t size = (std::uint64_t)size_value.QuadPart;
    const DWORD piece = 256u << 10;
    const unsigned pieces_between_progress = 16;
    void* buffer = VirtualAlloc(nullptr, piece, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!buffer) return GetLastError();
    DWORD err = 0;
    std::uint64_t copied = 0;
    for (unsigned pieces = 1;; ++pieces) {
        DWORD got = 0, put = 0;
        if (!ReadFile(in, buffer, piece, &got, nullptr)) {
            err = GetLastError();
            break;
        }
        if (got == 0) break;
        if (!WriteFile(out, buffer, got, &put, nullptr) || put != got) {
            err = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
            break;
        }
        copied += got;
        if (pieces % pieces_between_progress == 0 || copied >= size) patience.Copied(copied, size);
    }
    VirtualFree(buffer, 0, MEM_RELEASE);
    if (err) return err;
    FILETIME written;
    if (GetFileTime(in, nullptr, nullptr, &written)) SetFileTime(out, nullptr, nullptr, &written);
    if (!flush(out)) {
        err = GetLastError();
        // A share without flushes (ERROR_INVALID_FUNCTION) has had every
        // write; a real write error fails the copy.
        if (patience.After(Step::kFlush, err) != Next::kCarryOn) return err;
    }
    return 0;
}

}  // namespace

WString LongPathForm(const WString& path) {
    auto starts = [&path](const wchar_t* with) { return path.rfind(with, 0) == 0; };
    if (path.size() < MAX_PATH || starts(L"\\\\?\\") || starts(L"\\\\.\\")) return path;
    if (path.size() > 2 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
    if (starts(L"\\\\")) return L"\\\\?\\UNC\\" + path.substr(2);
    return path;
}

bool FileExists(const std::string& path) {
    DWORD attr = GetFileAttributesW(Native(Widen(path)).c_str());
    return attr != INVALID_FILE_ATTRIBUTES &&
           !(attr & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

// The same copy on Windows and under Wine (whose CopyFileExW never reports
// progress): data, last-write time and attributes, as CopyFileExW copies them.
Status CopyFileReplaceWith(FlushFn flush, const std::string& source, const std::string& target,
                           const CopyProgress& progress) {
    // `from` and `to` name the files in a refusal; the calls take their
    // native forms.
    WString from = Widen(source), to = Widen(target);
    const WString from_path = Native(from), to_path = Native(to);
    // Windows refuses to copy over a read-only file; Wine run as root
    // would not, so the refusal is made here for both.
    DWORD attr = GetFileAttributesW(to_path.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_READONLY))
        return Refused(ERROR_ACCESS_DENIED, to, Step::kRename);
    Patience patience(progress);
    HANDLE in = Open(from_path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                     FILE_FLAG_SEQUENTIAL_SCAN, Step::kOpenSource, patience);
    if (in == INVALID_HANDLE_VALUE) return Refused(GetLastError(), from, Step::kOpenSource);
    // The data goes to a file of our own first and replaces the target in one
    // rename, so that whatever instant the copy is cut off at, the target's
    // name holds either its old contents or all of the new ones, never part:
    // a later Enable or Disable never copies a torn file over a whole one.
    // Others may read it meanwhile (a virus scanner does).
    WString part = Native(to + L".zarn-copying");
    HANDLE out = Open(part, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                      Step::kCreateCopy, patience);
    if (out == INVALID_HANDLE_VALUE) {
        DWORD err = GetLastError();
        CloseHandle(in);
        return Refused(err, to, Step::kCreateCopy);
    }
    Step step = Step::kWrite;
    DWORD err = CopyData(in, out, flush, patience);
    CloseHandle(out);
    if (!err) SetFileAttributesW(part.c_str(), GetFileAttributesW(from_path.c_str()));
    CloseHandle(in);
    while (!err && !MoveFileExW(part.c_str(), to_path.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD moved = GetLastError();
        step = Step::kRename;
        if (patience.After(step, moved) != Next::kWaitAndRetry) err = moved;
    }
    if (!err) return Status::Success();
    DeletePart(part);
    return Refused(err, to, step);
}

Status CopyFileReplace(const std::string& source, const std::string& target,
                       const CopyProgress& progress) {
    return CopyFileReplaceWith(FlushFileBuffers, source, target, progress);
}

// Never retried: a file held now is the player's to close.
Status RemoveFile(const std::string& path) {
    WString p = Widen(path), native = Native(p);
    if (!DeleteFileW(native.c_str())) return Refused(GetLastError(), p, Step::kDelete);
    // Wine removes the file when its handle closes, and says nothing when
    // the folder refuses then (a Linux user who may not write it): the name
    // is still there. (Windows hides a file whose delete is pending.)
    if (GetFileAttributesW(native.c_str()) != INVALID_FILE_ATTRIBUTES)
        return Refused(ERROR_ACCESS_DENIED, p, Step::kDelete);
    return Status::Success();
}

std::uint64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Native(Widen(path)).c_str(), GetFileExInfoStandard, &data)) return 0;
    return ((std::uint64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

bool SystemFiles::FileExists(const std::string& path) { return platform::FileExists(path); }

Status SystemFiles::CopyFileReplace(const std::string& source, const std::string& target,
                                    const CopyProgress& progress) {
    return platform::CopyFileReplace(source, target, progress);
}

Status SystemFiles::RemoveFile(const std::string& path) { return platform::RemoveFile(path); }

std::uint64_t SystemFiles::FileSize(const std::string& path) { return platform::FileSize(path); }

RefusalFacts SystemFiles::FactsAbout(const Status& refused) { return platform::FactsAbout(refused); }

}  // namespace platform
