#include "app/win/system.h"

namespace {

// A function of user32 that may be missing: looked up once, by name.
template <typename F>
F UserFunction(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

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
