// Loading the system's DLLs from System32 only, on every Windows the panel
// runs on. The decisions are portable, so they are tested on every build;
// win/system_library.h does the loading.
//
// Game folders often hold ddraw.dll and other shims. Where the loader knows
// LOAD_LIBRARY_SEARCH_SYSTEM32 (SetDefaultDllDirectories exists: Windows 8
// and later, Windows 7 with update KB2533623) a DLL is loaded by name with
// that flag. An older loader refuses the flag (ERROR_INVALID_PARAMETER), so
// there the DLL is named by its full path in the system folder.
#pragma once

#include <cstddef>

namespace platform {

// LoadLibraryExW's flags, as the SDK numbers them.
constexpr unsigned long kLoadLibrarySearchSystem32 = 0x00000800;
constexpr unsigned long kLoadWithAlteredSearchPath = 0x00000008;

struct SystemLoad {
    bool by_full_path;    // the system folder, "\" and the name; else the name alone
    unsigned long flags;  // for LoadLibraryExW
    bool preload;         // load kLoadedByNameLater at start, by full path
};

// How system DLLs are loaded, given whether SetDefaultDllDirectories exists.
// A full path takes the DLL's own imports from its folder first
// (kLoadWithAlteredSearchPath). Without the default directories, DLLs that
// Windows' own components load by name later (the themes DLL for the common
// controls) would be searched for in the application folder first, so they
// are loaded from System32 at start: a later load by name finds them loaded.
SystemLoad PlanSystemLoad(bool loader_knows_search_flags);

// Loaded at start where the loader does not know the flags.
extern const wchar_t* const kLoadedByNameLater[2];

// Writes `folder`, one "\" and `name` into `out`, which holds `capacity`
// characters with the terminator. False, and nothing to load, when the folder
// is empty or the path does not fit.
bool JoinSystemPath(const wchar_t* folder, const wchar_t* name, wchar_t* out,
                    std::size_t capacity);

}  // namespace platform
