#include "platform/loader.h"

namespace platform {

const wchar_t* const kLoadedByNameLater[2] = {L"uxtheme.dll", L"dwmapi.dll"};

SystemLoad PlanSystemLoad(bool loader_knows_search_flags) {
    if (loader_knows_search_flags) return {false, kLoadLibrarySearchSystem32, false};
    return {true, kLoadWithAlteredSearchPath, true};
}

bool JoinSystemPath(const wchar_t* folder, const wchar_t* name, wchar_t* out,
                    std::size_t capacity) {
    std::size_t f = 0, n = 0;
    while (folder[f]) ++f;
    while (name[n]) ++n;
    if (f == 0 || n == 0) return false;
    bool separator = folder[f - 1] != L'\\';  // "C:\" needs none
    std::size_t length = f + (separator ? 1 : 0) + n;
    if (length + 1 > capacity) return false;
    std::size_t i = 0;
    for (std::size_t k = 0; k < f; ++k) out[i++] = folder[k];
    if (separator) out[i++] = L'\\';
    for (std::size_t k = 0; k < n; ++k) out[i++] = name[k];
    out[i] = L'\0';
    return true;
}

}  // namespace platform
