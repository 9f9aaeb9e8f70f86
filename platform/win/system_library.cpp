#include "platform/win/system_library.h"

#include "platform/loader.h"

static_assert(platform::kLoadLibrarySearchSystem32 == LOAD_LIBRARY_SEARCH_SYSTEM32, "SDK value");
static_assert(platform::kLoadWithAlteredSearchPath == LOAD_WITH_ALTERED_SEARCH_PATH, "SDK value");

namespace platform {

namespace {

using SetDefaultDirs = BOOL(WINAPI*)(DWORD);

SetDefaultDirs DefaultDirsFunction() {
    return SystemFunction<SetDefaultDirs>(GetModuleHandleW(L"kernel32.dll"),
                                          "SetDefaultDllDirectories");
}

bool LoaderKnowsSearchFlags() {
    static const bool knows = DefaultDirsFunction() != nullptr;
    return knows;
}

}  // namespace

void HardenDllSearch() {
    // The executable imports only KnownDLLs, which the loader never looks for
    // in the application folder; this covers the DLLs loaded after start.
    SystemLoad plan = PlanSystemLoad(LoaderKnowsSearchFlags());
    if (!plan.by_full_path) DefaultDirsFunction()(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");  // takes the current directory out of the search
    if (plan.preload)
        for (const wchar_t* name : kLoadedByNameLater) LoadSystemLibraryAs(false, name);
}

HMODULE LoadSystemLibraryAs(bool loader_knows_search_flags, const wchar_t* name) {
    SystemLoad plan = PlanSystemLoad(loader_knows_search_flags);
    if (!plan.by_full_path) return LoadLibraryExW(name, nullptr, plan.flags);
    wchar_t folder[MAX_PATH], path[MAX_PATH];
    UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || !JoinSystemPath(folder, name, path, MAX_PATH)) return nullptr;
    return LoadLibraryExW(path, nullptr, plan.flags);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    return LoadSystemLibraryAs(LoaderKnowsSearchFlags(), name);
}

bool RunningOnWine() {
    using WineVersion = const char*(CDECL*)();
    static const bool wine =
        SystemFunction<WineVersion>(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

}  // namespace platform
