#include "platform/win/com.h"

#include <windows.h>

#include <objbase.h>

namespace platform {

bool EnsureCom() {
    static int state = 0;  // 0 not tried, 1 usable, -1 not usable
    if (state) return state > 0;
    state = -1;
    HMODULE ole32 = LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!ole32) {
        wchar_t path[MAX_PATH];
        UINT n = GetSystemDirectoryW(path, MAX_PATH - 12);
        if (n == 0 || n >= MAX_PATH - 12) return false;
        lstrcpyW(path + n, L"\\ole32.dll");
        ole32 = LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    using Init = HRESULT(WINAPI*)(LPVOID, DWORD);
    auto init = ole32 ? reinterpret_cast<Init>(reinterpret_cast<void*>(
                            GetProcAddress(ole32, "CoInitializeEx")))
                      : nullptr;
    if (!init) return false;
    // S_FALSE: already initialised on this thread, which is as good.
    HRESULT hr = init(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (FAILED(hr) && hr != RPC_E_CHANGED_MODE) return false;
    state = 1;
    return true;
}

}  // namespace platform
