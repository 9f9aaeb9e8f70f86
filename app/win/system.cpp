#include "app/win/system.h"

namespace app {

UINT DpiOf(HWND hwnd) {
    using ForWindow = UINT(WINAPI*)(HWND);
    using ForSystem = UINT(WINAPI*)();
    static HMODULE user32 = GetModuleHandleW(L"user32.dll");
    static auto for_window = platform::SystemFunction<ForWindow>(user32, "GetDpiForWindow");
    static auto for_system = platform::SystemFunction<ForSystem>(user32, "GetDpiForSystem");
    if (hwnd && for_window) return for_window(hwnd);
    if (for_system) return for_system();
    HDC dc = GetDC(nullptr);
    UINT dpi = (UINT)GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

void AdjustForDpi(RECT* rc, DWORD style, DWORD ex_style, UINT dpi) {
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static auto adjust = platform::SystemFunction<Adjust>(GetModuleHandleW(L"user32.dll"),
                                                             "AdjustWindowRectExForDpi");
    if (!adjust || !adjust(rc, style, FALSE, ex_style, dpi)) AdjustWindowRectEx(rc, style, FALSE, ex_style);
}

}  // namespace app
