// The facts about a refusal on Windows: what the error was, the refused
// file's attributes, whether the panel's token may change the folder that
// holds it, whether the token is elevated, and whether this is Wine.
#include "platform/refusal.h"

#include "platform/win/refusal_win.h"
#include "platform/win/system_library.h"
#include "platform/win/wide.h"

namespace platform {

namespace {

// advapi32 is a KnownDLL, but nothing at start-up needs it: it is loaded
// only when a refusal is explained.
struct Security {
    using GetFileSecurityFn = BOOL(WINAPI*)(LPCWSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR,
                                            DWORD, LPDWORD);
    using OpenProcessTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
    using DuplicateTokenFn = BOOL(WINAPI*)(HANDLE, SECURITY_IMPERSONATION_LEVEL, PHANDLE);
    using AccessCheckFn = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, HANDLE, DWORD, PGENERIC_MAPPING,
                                        PPRIVILEGE_SET, LPDWORD, LPDWORD, LPBOOL);
    using GetTokenInformationFn = BOOL(WINAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD,
                                                PDWORD);
    HMODULE dll = LoadSystemLibrary(L"advapi32.dll");
    GetFileSecurityFn get_file_security =
        SystemFunction<GetFileSecurityFn>(dll, "GetFileSecurityW");
    OpenProcessTokenFn open_process_token =
        SystemFunction<OpenProcessTokenFn>(dll, "OpenProcessToken");
    DuplicateTokenFn duplicate_token = SystemFunction<DuplicateTokenFn>(dll, "DuplicateToken");
    AccessCheckFn access_check = SystemFunction<AccessCheckFn>(dll, "AccessCheck");
    GetTokenInformationFn get_token_information =
        SystemFunction<GetTokenInformationFn>(dll, "GetTokenInformation");
    bool ok() const {
        return get_file_security && open_process_token && duplicate_token && access_check &&
               get_token_information;
    }
};

// The rights the token is granted on `path` (a file or a folder), checked
// against its own security descriptor as the system checks them when a file
// is created, renamed or deleted; false when they cannot be read.
bool Granted(const Security& sec, HANDLE token, const WString& path, std::uint32_t* rights) {
    const SECURITY_INFORMATION what =
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD size = 0;
    sec.get_file_security(path.c_str(), what, nullptr, 0, &size);
    if (size == 0) return false;
    void* sd = HeapAlloc(GetProcessHeap(), 0, size);
    bool known = false;
    HANDLE impersonation = nullptr;
    if (sd && sec.get_file_security(path.c_str(), what, sd, size, &size) &&
        sec.duplicate_token(token, SecurityImpersonation, &impersonation)) {
        GENERIC_MAPPING mapping = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                                   FILE_ALL_ACCESS};
        union {
            PRIVILEGE_SET set;
            BYTE bytes[sizeof(PRIVILEGE_SET) + 8 * sizeof(LUID_AND_ATTRIBUTES)];
        } privileges;
        DWORD privileges_size = sizeof privileges;
        DWORD granted = 0;
        BOOL allowed = FALSE;
        if (sec.access_check(sd, impersonation, MAXIMUM_ALLOWED, &mapping, &privileges.set,
                             &privileges_size, &granted, &allowed)) {
            *rights = allowed ? granted : 0;
            known = true;
        }
    }
    if (impersonation) CloseHandle(impersonation);
    if (sd) HeapFree(GetProcessHeap(), 0, sd);
    return known;
}

bool Elevated(const Security& sec, HANDLE token) {
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    return sec.get_token_information(token, TokenElevationType, &type, sizeof type, &size) &&
           type == TokenElevationTypeFull;
}

}  // namespace

ErrorKind ErrorKindOf(DWORD error) {
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return ErrorKind::kSharingViolation;
    case ERROR_ACCESS_DENIED: return ErrorKind::kAccessDenied;
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SUPPORTED: return ErrorKind::kUnsupported;
    default: return ErrorKind::kOther;
    }
}

RefusalFacts FactsAbout(const Status& refused) {
    RefusalFacts f;
    f.step = refused.step;
    f.error = ErrorKindOf((DWORD)refused.error);
    f.wine = RunningOnWine();
    if (refused.file.empty()) return f;
    WString file = Widen(refused.file);
    DWORD attr = GetFileAttributesW(file.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES) {
        f.read_only = (attr & FILE_ATTRIBUTE_READONLY) != 0;
        f.is_folder = (attr & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    Security sec;
    HANDLE token = nullptr;
    if (!sec.ok() ||
        !sec.open_process_token(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, &token))
        return f;
    WString::size_type slash = file.find_last_of(L"\\/");
    Rights rights;
    rights.file_exists = attr != INVALID_FILE_ATTRIBUTES;
    if (slash != WString::npos && Granted(sec, token, file.substr(0, slash), &rights.folder) &&
        (!rights.file_exists || Granted(sec, token, file, &rights.file)))
        f.folder = FolderAccessFor(f.step, rights, f.wine);
    f.elevated = Elevated(sec, token);
    CloseHandle(token);
    return f;
}

}  // namespace platform
