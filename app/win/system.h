// System functions that not every supported Windows has (per-monitor DPI
// arrived in Windows 10 1607), looked up at run time with a fallback
// (platform::SystemFunction).
#pragma once

#include <windows.h>

#include "platform/win/system_library.h"

namespace app {

// DPI of `hwnd`'s monitor; of the system when hwnd is null.
UINT DpiOf(HWND hwnd);

// AdjustWindowRectEx at `dpi`.
void AdjustForDpi(RECT* rc, DWORD style, DWORD ex_style, UINT dpi);

}  // namespace app
