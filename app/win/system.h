// System functions that not every supported Windows has (per-monitor DPI
// arrived in Windows 10 1607), loaded at run time with a fallback, and the
// loader hardening done before anything else.
#pragma once

#include <windows.h>

#include "platform/win/system_library.h"

// Restricts the DLL search to System32 for the rest of the process, so that
// a ddraw.dll or other shim planted in the game folder is never loaded, on
// every Windows (platform/loader.h says how).
inline void HardenDllSearch() { platform::HardenDllSearch(); }

// DPI of `hwnd`'s monitor; of the system when hwnd is null.
UINT DpiOf(HWND hwnd);

// AdjustWindowRectEx at `dpi`.
void AdjustForDpi(RECT* rc, DWORD style, DWORD ex_style, UINT dpi);

// Loads a DLL that is not a KnownDLL from System32 only.
inline HMODULE LoadSystemLibrary(const wchar_t* name) { return platform::LoadSystemLibrary(name); }
