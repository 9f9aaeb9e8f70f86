// How system DLLs are loaded from System32 only, on loaders with and without
// the search flags (Windows 7 without update KB2533623 has none). Both ways
// are run for real under Wine by tests/win/system_library_win_test.cpp.
#include <gtest/gtest.h>

#include <string>

#include "platform/loader.h"

namespace {

TEST(SystemLoad, ByFlagWhereTheLoaderKnowsItElseByFullPath) {
    platform::SystemLoad with = platform::PlanSystemLoad(true);
    EXPECT_FALSE(with.by_full_path);
    EXPECT_EQ(with.flags, 0x800u);  // LOAD_LIBRARY_SEARCH_SYSTEM32
    EXPECT_FALSE(with.preload);
    platform::SystemLoad without = platform::PlanSystemLoad(false);
    EXPECT_TRUE(without.by_full_path);
    EXPECT_EQ(without.flags, 0x8u);  // LOAD_WITH_ALTERED_SEARCH_PATH, never the unknown flag
    EXPECT_TRUE(without.preload);
    EXPECT_EQ(std::wstring(platform::kLoadedByNameLater[0]), L"uxtheme.dll");
}

TEST(SystemLoad, FullPathInTheSystemFolder) {
    struct Case {
        const wchar_t* folder;
        const wchar_t* name;
        std::size_t capacity;
        const wchar_t* path;  // null: refused
    } cases[] = {
        {L"C:\\Windows\\system32", L"windowscodecs.dll", 260,
         L"C:\\Windows\\system32\\windowscodecs.dll"},
        {L"C:\\", L"uxtheme.dll", 260, L"C:\\uxtheme.dll"},
        {L"", L"uxtheme.dll", 260, nullptr},
        {L"C:\\Windows\\system32", L"", 260, nullptr},
        {L"C:\\W", L"a.dll", 11, L"C:\\W\\a.dll"},  // ten characters and the terminator
        {L"C:\\W", L"ab.dll", 11, nullptr},
    };
    for (const Case& c : cases) {
        wchar_t out[300] = L"untouched";
        bool ok = platform::JoinSystemPath(c.folder, c.name, out, c.capacity);
        EXPECT_EQ(ok, c.path != nullptr) << c.name << " in " << c.capacity;
        if (c.path) {
            EXPECT_EQ(std::wstring(out), c.path);
        }
    }
}

}  // namespace
