// What Windows reads from the executable, and which DLLs it loads from the game folder: none.
#include "tests/support/on_exit.h"
#include "tests/ui/panel.h"

namespace {

TEST(ExecutableRecord, VersionRecordIconAndManifestAreExactlyAsPublished) {
    std::string data(GetFileVersionInfoSizeW(g_panel_exe.c_str(), nullptr), '\0');
    ASSERT_TRUE(GetFileVersionInfoW(g_panel_exe.c_str(), 0, (DWORD)data.size(), &data[0]));
    VS_FIXEDFILEINFO* fixed = nullptr;
    DWORD* language = nullptr;
    UINT len = 0, size = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", (void**)&fixed, &len) &&
                VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", (void**)&language, &size));
    EXPECT_EQ((std::vector<DWORD>{fixed->dwFileVersionMS, fixed->dwFileVersionLS, fixed->dwProductVersionMS,
                                  fixed->dwProductVersionLS, fixed->dwFileType, size, *language}),
              (std::vector<DWORD>{0x20001, 3, 0x20001, 3, VFT_APP, 4, 0x04B00409}));
    for (std::string field : {"FileVersion=2.01.0003", "ProductVersion=2.01.0003",
                              "ProductName=The Marrowgate:ZARN Control Panel",
                              "InternalName=ZARN Control Panal", "OriginalFilename=ZARN Control Panal.exe"}) {
        wchar_t* text = nullptr;
        platform::WString path = platform::Widen("\\StringFileInfo\\040904B0\\" + field.substr(0, field.find('=')));
        EXPECT_TRUE(VerQueryValueW(data.data(), path.c_str(), (void**)&text, &len) &&
                    platform::Narrow(text) == field.substr(field.find('=') + 1)) << field;
    }
    HMODULE exe = LoadLibraryExW(g_panel_exe.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    auto resource = [&](const wchar_t* type) {
        HRSRC r = FindResourceW(exe, MAKEINTRESOURCEW(1), type);
        return r ? std::string((const char*)LockResource(LoadResource(exe, r)), SizeofResource(exe, r)) : "";
    };
    std::string group = resource(RT_GROUP_ICON);  // one image, 32 by 32, 16 colours, 4 bits a pixel
    EXPECT_EQ(group.size() == 6 + 14 ? group.substr(0, 10) + group.substr(12, 2) : group,
              std::string("\0\0\1\0\1\0\x20\x20\x10\0\4\0", 12));
    for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                             ">PerMonitorV2", "level=\"asInvoker\""})
        EXPECT_NE(resource(RT_MANIFEST).find(part), std::string::npos) << part;
    FreeLibrary(exe);
}

// The real program in a game folder with planted DLLs (games hold shims), ended by Exit.
// Native-first overrides make Wine load DLLs as Windows loads those not KnownDLLs: from the
// application folder unless the panel keeps to System32; uxtheme is what the themed controls load.
TEST(PlantedDllUi, NoDllInTheGameFolderIsEverLoaded) {
    TempFolder folder("Red Alert 2");
    folder.Write("expandmd81.mix", "marker");
    const wchar_t key[] = L"Software\\Wine\\AppDefaults\\ZARN Control Panal.exe\\DllOverrides";
    wchar_t tests[MAX_PATH];
    platform::WString planted(tests, GetModuleFileNameW(nullptr, tests, MAX_PATH));
    planted = planted.substr(0, planted.find_last_of(L'\\') + 1) + L"planted.dll";
    OnExit forget([&] { RegDeleteTreeW(HKEY_CURRENT_USER, key); });  // the prefix is reused
    ASSERT_TRUE(CopyFileW(planted.c_str(), platform::Widen(folder.File("uxtheme.dll")).c_str(), 0));
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, L"uxtheme", REG_SZ, L"native,builtin", sizeof L"native,builtin"), 0);
    platform::WString exe = platform::Widen(folder.File("ZARN Control Panal.exe")), cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CopyFileW(g_panel_exe.c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, 0, 0, nullptr, nullptr, &si, &pi));
    HWND main = nullptr;  // shown once its art is decoded
    WaitUntil([&] { return (main = FindWindowW(L"ZarnForm", platform::Widen(app::kFrm1Layout.caption).c_str())); }, 10000);
    forget.Now();
    Settle(main);  // painted: the themed controls have loaded what they load
    Click(Control(main, app::kFrm1Layout, "Command5"));  // Exit
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 5000), WAIT_OBJECT_0) << "not ended by Exit";
    TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"ZARN Control Panal.exe", "expandmd81.mix", "uxtheme.dll"}))
        << "a planted DLL was loaded: it leaves <its name>.loaded";
}

}  // namespace
