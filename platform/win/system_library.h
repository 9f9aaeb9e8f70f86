// System DLLs from System32 only, and the loader hardening done first thing
// at start-up (the decisions are in platform/loader.h).
#pragma once

#include <windows.h>

namespace platform {

// Restricts the DLL search for the rest of the process, so that a ddraw.dll
// or other shim planted in the game folder is never loaded: System32 only
// where the loader knows it, and never the current directory.
void HardenDllSearch();

// Loads a DLL that is not a KnownDLL from System32 only; null when it can't.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The same, as the loader that does (or does not) know the search flags
// would: so that both ways are run on one machine.
HMODULE LoadSystemLibraryAs(bool loader_knows_search_flags, const wchar_t* name);

// A function of a loaded DLL by name, typed; null when the DLL lacks it.
template <typename F>
F SystemFunction(HMODULE module, const char* name) {
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

// True under Wine, told by the export that only Wine's ntdll has.
bool RunningOnWine();

}  // namespace platform
