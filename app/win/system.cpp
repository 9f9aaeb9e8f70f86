#include "app/win/system.h"

namespace {

// A function of user32 that may be missing: looked up once, by name.
template <typename F>
F UserFunction(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

void HardenDllSearch() {
    // Windows 8 and later (and Windows 7 with KB2533623) have this; the
    // executable imports only KnownDLLs, which the loader never looks for in
    // the application folder.
    using SetDirs = BOOL(WINAPI*)(DWORD);
    auto set_dirs = reinterpret_cast<SetDirs>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (set_dirs) set_dirs(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");  // takes the current directory out of the search
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    HMODULE h = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (h) return h;
    // Systems without the flag: name System32 explicitly.
    wchar_t path[MAX_PATH];
    UINT n = GetSystemDirectoryW(path, MAX_PATH);
    if (n == 0 || n + 1 + lstrlenW(name) >= MAX_PATH) return nullptr;
    path[n] = L'\\';
    lstrcpyW(path + n + 1, name);
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

UINT DpiOf(HWND hwnd) {
    using ForWindow = UINT(WINAPI*)(HWND);
    using ForSystem = UINT(WINAPI*)();
    static auto for_window = UserFunction<ForWindow>("GetDpiForWindow");
    static auto for_system = UserFunction<ForSystem>("GetDpiForSystem");
    if (hwnd && for_window) return for_window(hwnd);
    if (for_system) return for_system();
    HDC dc = GetDC(nullptr);
    UINT dpi = (UINT)GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

void AdjustForDpi(RECT* rc, DWORD style, DWORD ex_style, UINT dpi) {
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static auto adjust = UserFunction<Adjust>("AdjustWindowRectExForDpi");
    if (!adjust || !adjust(rc, style, FALSE, ex_style, dpi)) AdjustWindowRectEx(rc, style, FALSE, ex_style);
}
