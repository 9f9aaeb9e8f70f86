// Game folders often hold ddraw.dll and other shims. A DLL planted there
// under the name of one the panel loads must never be loaded.
//
// Wine prefers its own builtin DLLs, which hides the hazard; the test asks
// for native-first loading of each name for the panel (Wine's per-program
// DllOverrides key), as Windows does for DLLs that are not KnownDLLs. Then
// the search order decides: the application folder first, unless the panel
// restricted it to System32. (Wine takes overrides from the registry at
// process start; the WINEDLLOVERRIDES variable would not reach a child
// started by CreateProcess.) On Windows the key is simply unused.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win/wide.h"
#include "tests/ui/panel_process.h"

namespace {

std::string PlantedDll() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    WString w(path, n);
    return Narrow(w.substr(0, w.find_last_of(L'\\') + 1) + L"planted.dll");
}

TEST(PlantedDllUi, NoDllInTheGameFolderIsEverLoaded) {
    // windowscodecs: the GIF decoder, loaded by the panel itself.
    // uxtheme: loaded by the common controls for themed buttons.
    // (The executable's imports are KnownDLLs, which Windows never takes from
    // the application folder; Wine has no such protection for a native-first
    // override, so they are not tried here.)
    const char* names[] = {"windowscodecs", "uxtheme"};
    TempFolder folder("Red Alert 2");
    folder.Write("expandmd81.mix", "marker");
    const wchar_t key[] = L"Software\\Wine\\AppDefaults\\ZARN Control Panal.exe\\DllOverrides";
    for (const char* name : names) {
        ASSERT_TRUE(CopyFileW(Widen(PlantedDll()).c_str(),
                              Widen(folder.File(std::string(name) + ".dll")).c_str(), FALSE));
        const wchar_t order[] = L"native,builtin";
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, Widen(name).c_str(), REG_SZ, order,
                                  sizeof order),
                  ERROR_SUCCESS);
    }
    {
        PanelProcess panel(folder);
        RegDeleteTreeW(HKEY_CURRENT_USER, key);
        ASSERT_NE(panel.main(), nullptr) << "the panel did not start";
        // Give the window a paint, so the artwork has been decoded.
        RedrawWindow(panel.main(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Sleep(300);
        PostMessageW(panel.main(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(panel.WaitForExit());
    }
    for (const char* name : names)
        EXPECT_EQ(GetFileAttributesW(Widen(folder.File(std::string(name) + ".dll.loaded")).c_str()),
                  INVALID_FILE_ATTRIBUTES)
            << name << ".dll from the game folder was loaded";
}

}  // namespace
