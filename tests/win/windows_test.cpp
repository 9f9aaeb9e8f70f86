// What only Windows has, for real under Wine. tests/win/nonroot_test.sh runs
// the NonRoot test as a user other than root.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <shobjidl.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

#include "panel/frm1.h"
#include "platform/files.h"
#include "platform/refusal.h"
#include "platform/win/com.h"
#include "platform/win/files_win.h"
#include "platform/win/program_win.h"
#include "platform/win/system_library.h"
#include "platform/win/taskbar_win.h"
#include "platform/win/wide.h"
#include "settings/game_options.h"
#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/support/on_exit.h"
#include "tests/support/recording_window.h"
#include "tests/support/remedies.h"
#include "tests/support/services.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace game_files;
using Strings = std::vector<std::string>;
const std::string kInUse = remedies::Reason(ERROR_SHARING_VIOLATION);
const std::string kDenied = remedies::Reason(ERROR_ACCESS_DENIED) + "\n";

// Opens `path` for reading as the game does (sharing reading only) or as `share` says; until it is
// closed, the system refuses to delete or replace the file.
HANDLE Hold(const std::string& path, DWORD share) {
    return CreateFileW(platform::Widen(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

TEST(Windows, AFileHeldOpenStopsTheCommand) {
    struct { void (core::Frm1::*press)(); Strings files; const char* held; Strings after; std::string message; } cases[] = {
        {&core::Frm1::Command3_Click, {"ecachemd80.mix", "ra2md.csf", "creditsmd.txt"}, "ra2md.csf",
         {"creditsmd.txt", "ecachemd80.mix.Zarn", "ra2md.csf", "ra2md.csf.Zarn"},
         "Could not delete \"ra2md.csf\": " + kInUse + "\n" + remedies::kCloseProgram},
        {&core::Frm1::Command2_Click, {"ecachemd80.mix.Zarn", "ra2md.csf.Zarn", "ra2md.csf"}, "ra2md.csf",
         {"ecachemd80.mix", "ra2md.csf", "ra2md.csf.Zarn"},  // a rename needs delete access
         "Could not copy \"ra2md.csf.Zarn\" to \"ra2md.csf\": " + kDenied + remedies::kCloseProgram},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        for (const std::string& name : c.files) dir.Write(name, "bytes of " + name);
        RecordingWindow w;
        RealServices real(dir.path());
        core::Frm1 frm1(w, real.folder, real.files, real.programs, nullptr, real.clock);
        HANDLE held = Hold(dir.File(c.held), FILE_SHARE_READ);
        (frm1.*c.press)();
        CloseHandle(held);
        EXPECT_EQ(dir.Names(), c.after);
        EXPECT_EQ(w.messages, Strings{c.message});
    }
}

// CreateProcessW as Windows answers for a program that needs an
// administrator; Wine never does.
BOOL WINAPI NeedsAdministrator(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                               DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION) {
    SetLastError(740);  // ERROR_ELEVATION_REQUIRED
    return FALSE;
}

// "...\Red Alert 2\RA2MD.exe" started without its explicit name would run "...\Red.exe".
TEST(Windows, ProgramStarts) {
    TempFolder dir("Red Alert 2");
    dir.Write("ra2md.csf", "x");
    dir.Write("stay.txt", "keep running until this file is gone");
    for (const char* name : {"RockPatch.exe", "RA2MD.exe", "..\\Red.exe"}) PlaceStandIn(dir, name);
    RecordingWindow w;
    Started started;
    w.on_message = [&](const std::string& text) {
        EXPECT_TRUE(text != kPatchDone || WaitStarted(dir, "RockPatch.exe", &started));
    };
    RealServices real(dir.path());
    core::Frm1 frm1(w, real.folder, real.files, real.programs, nullptr, real.clock);
    frm1.Uninstall_Click();
    DeleteFileW(platform::Widen(dir.File("stay.txt")).c_str());
    WaitEnded("RockPatch.exe");
    EXPECT_EQ(started.show, "1");
    ASSERT_EQ(w.messages.size(), 3u);
    const std::string refused = "Could not delete \"RockPatch.exe\": ";  // Wine: in use, or denied
    EXPECT_TRUE(w.messages[2] == refused + kInUse + "\n" + remedies::kCloseProgram ||
                w.messages[2] == refused + kDenied + remedies::kCloseProgram) << w.messages[2];
    EXPECT_EQ(dir.Names(), (Strings{"RA2MD.exe", "RockPatch.exe", "RockPatch.exe.started.txt"}));

    frm1.Command1_Click();
    ASSERT_TRUE(WaitStarted(dir, "RA2MD.exe", &started));
    EXPECT_EQ(started.command_line, dir.File("RA2MD.exe"));
    WaitEnded("RA2MD.exe");
    EXPECT_EQ(GetFileAttributesW(platform::Widen(dir.File("..\\Red.exe.started.txt")).c_str()), INVALID_FILE_ATTRIBUTES);

    using GetApartmentTypeFn = HRESULT(WINAPI*)(APTTYPE*, APTTYPEQUALIFIER*);
    auto apartment = platform::SystemFunction<GetApartmentTypeFn>(platform::LoadSystemLibrary(L"ole32.dll"),
                                                                  "CoGetApartmentType");
    ASSERT_NE(apartment, nullptr);
    DeleteFileW(platform::Widen(dir.File("RockPatch.exe.started.txt")).c_str());
    ASSERT_EQ(GetModuleHandleW(L"shell32.dll"), nullptr);
    ASSERT_TRUE(platform::StartProgramWith(NeedsAdministrator, dir.File("RockPatch.exe"), 1).ok);
    EXPECT_EQ(GetModuleHandleW(L"shell32.dll"), nullptr) << "shell32 kept loaded";
    APTTYPE type = APTTYPE_MTA;
    APTTYPEQUALIFIER qualifier;
    EXPECT_TRUE(apartment(&type, &qualifier) == S_OK && platform::EnsureCom() &&
                (type == APTTYPE_STA || type == APTTYPE_MAINSTA));
    ASSERT_TRUE(WaitStarted(dir, "RockPatch.exe", &started));
    EXPECT_EQ(started.show, "1");
    WaitEnded("RockPatch.exe");
}

TEST(Windows, HiddenAndSystemFilesCountAsAbsent) {
    for (DWORD attributes : {FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
        TempFolder dir;
        dir.Write("expandmd81.mix", "x");
        SetFileAttributesW(platform::Widen(dir.File("expandmd81.mix")).c_str(), attributes);
        RecordingWindow w;
        RealServices real(dir.path());
        core::Frm1(w, real.folder, real.files, real.programs, nullptr, real.clock).Form_Load();
        EXPECT_EQ(w.texts["visual"], attributes == FILE_ATTRIBUTE_ARCHIVE ? "Enabled" : "Disabled");
    }
}

DWORD flush_error;  // what FailingFlush fails with
BOOL WINAPI FailingFlush(HANDLE) {
    SetLastError(flush_error);
    return FALSE;
}

TEST(Windows, CopiesWaitForAHeldFileKeepTheSourcesTimeAndFailOnlyOnAWriteError) {
    enum { kSource, kLeftoverCopy, kNewCopyWhenRenamed, kSourceForGood };  // what is held
    const std::string data = Data("ra2md.csf", 9u << 20);
    for (auto c : {kSource, kLeftoverCopy, kNewCopyWhenRenamed, kSourceForGood}) {
        TempFolder dir;
        dir.Write("ra2md.csf", data);
        dir.Write("ra2md.csf.Zarn", "old");
        std::string source = dir.File("ra2md.csf"), part = dir.File("ra2md.csf.Zarn.zarn-copying");
        if (c == kLeftoverCopy) dir.Write("ra2md.csf.Zarn.zarn-copying", "left over");
        HANDLE held = c == kNewCopyWhenRenamed ? INVALID_HANDLE_VALUE : Hold(c == kLeftoverCopy ? part : source, 0);
        int calls_while_held = 0;
        platform::Status s = platform::CopyFileReplace(source, dir.File("ra2md.csf.Zarn"), [&](auto done, auto size) {
            if (c == kNewCopyWhenRenamed && !calls_while_held && size && done == size)
                held = Hold(part, FILE_SHARE_READ | FILE_SHARE_WRITE);
            if (held != INVALID_HANDLE_VALUE && ++calls_while_held == 4 && c != kSourceForGood)
                CloseHandle(held), held = INVALID_HANDLE_VALUE;
        });
        CloseHandle(held);
        const bool ok = c != kSourceForGood;
        EXPECT_EQ(dir.Read("ra2md.csf.Zarn"), ok ? data : "old");
        EXPECT_EQ(dir.Names(), (Strings{"ra2md.csf", "ra2md.csf.Zarn"}));
        EXPECT_EQ(s.reason + "|" + s.file, ok ? "|" : kInUse + "|" + source);
        EXPECT_TRUE(ok ? calls_while_held == 4 : calls_while_held >= 15 && calls_while_held <= 25)
            << c << " " << calls_while_held;
        EXPECT_TRUE(ok || platform::FactsAbout(s).wine);
    }
    // The copy keeps the source's last-write time and attributes, as CopyFileExW's does.
    TempFolder dir;
    dir.Write("ra2md.csf", "csf");
    const FILETIME written = {0, 0x01D00000};  // in 2015
    HANDLE source = CreateFileW(platform::Widen(dir.File("ra2md.csf")).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(SetFileTime(source, nullptr, nullptr, &written));
    CloseHandle(source);
    dir.SetReadOnly("ra2md.csf");
    ASSERT_TRUE(platform::CopyFileReplace(dir.File("ra2md.csf"), dir.File("ra2md.csf.Zarn")).ok);
    WIN32_FILE_ATTRIBUTE_DATA copy = {};
    GetFileAttributesExW(platform::Widen(dir.File("ra2md.csf.Zarn")).c_str(), GetFileExInfoStandard, &copy);
    EXPECT_EQ(copy.dwFileAttributes & FILE_ATTRIBUTE_READONLY, (DWORD)FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(copy.ftLastWriteTime.dwHighDateTime, written.dwHighDateTime);

    // A share without flushes has had every write; any other failed flush fails the copy.
    for (DWORD error : {ERROR_INVALID_FUNCTION, ERROR_DISK_FULL}) {
        TempFolder folder;
        folder.Write("ra2md.csf", "csf");
        folder.Write("ra2md.csf.Zarn", "old");
        flush_error = error;
        platform::Status s =
            platform::CopyFileReplaceWith(FailingFlush, folder.File("ra2md.csf"), folder.File("ra2md.csf.Zarn"));
        const bool ok = error == ERROR_INVALID_FUNCTION;
        EXPECT_EQ(folder.Read("ra2md.csf.Zarn"), ok ? "csf" : "old");
        EXPECT_EQ(folder.Names(), (Strings{"ra2md.csf", "ra2md.csf.Zarn"}));
        EXPECT_EQ(s.reason + "|" + s.file, ok ? "|" : remedies::Reason(error) + "|" + folder.File("ra2md.csf.Zarn"));
    }
}

// A game folder deep enough that the copy's temporary name passes MAX_PATH, though every real
// name fits: the files move all the same. Only long full paths take the extended form.
TEST(Windows, ADeepGameFolderWhereOnlyTheCopysTemporaryNamePassesTheLimit) {
    const platform::WString deep = L"C:\\" + platform::WString(250, L'g') + L"\\ra2md.csf";
    struct { platform::WString path, form; } forms[] = {
        {L"C:\\Games\\ra2md.csf", L"C:\\Games\\ra2md.csf"},
        {deep.substr(0, 259), deep.substr(0, 259)},
        {deep.substr(0, 260), L"\\\\?\\" + deep.substr(0, 260)},
        {L"\\\\server\\share" + deep.substr(2), L"\\\\?\\UNC\\server\\share" + deep.substr(2)},
        {L"\\\\?\\" + deep, L"\\\\?\\" + deep},
        {L"\\\\.\\" + deep.substr(3), L"\\\\.\\" + deep.substr(3)},
        {deep.substr(3), deep.substr(3)},  // relative
    };
    for (const auto& f : forms) EXPECT_EQ(platform::Narrow(platform::LongPathForm(f.path)), platform::Narrow(f.form));

    TempFolder dir;
    const std::string longest = "expandmd80.mix.Zarn";  // with the folder, 13 short of the temporary name
    const std::string sub(259 - longest.size() - 1 - dir.path().size() - 1, 'g'), game = dir.File(sub);
    ASSERT_GT(game.size() + 1 + longest.size() + std::string(".zarn-copying").size(), 259u);
    dir.MakeFolder(sub);
    for (const std::string& name : kModFiles) dir.Write(sub + "\\" + name, name);
    RecordingWindow w;
    RealServices real(game);
    core::Frm1 frm1(w, real.folder, real.files, real.programs, nullptr, real.clock);
    frm1.Command3_Click();
    EXPECT_EQ(w.messages, Strings{});
    for (const std::string& name : kModFiles) EXPECT_EQ(dir.Read(sub + "\\" + name + ".Zarn"), name);
    EXPECT_EQ(w.texts["visual"], "Disabled");
}

TEST(NonRoot, AFolderTheUserMayNotWriteSaysSo) {
    const char* folder = std::getenv("ZARN_PROTECTED_FOLDER");
    if (!folder) GTEST_SKIP() << "run by tests/win/nonroot_test.sh as a user other than root";
    RecordingWindow w;
    RealServices real(folder);
    core::Frm1 frm1(w, real.folder, real.files, real.programs, nullptr, real.clock);
    frm1.Command3_Click();
    frm1.Clean_Click();
    EXPECT_EQ(w.messages, (Strings{"Could not copy \"ra2md.csf\" to \"ra2md.csf.Zarn\": " + kDenied +
                                       remedies::kGiveLinuxAccess,
                                   "Could not delete \"Readme.txt\": " + kDenied + remedies::kGiveLinuxAccess}));
}

// Both ways of loading a system DLL load from System32, never planted.dll beside us.
TEST(Windows, SystemLibrariesLoadFromSystem32Only) {
    wchar_t system[MAX_PATH], path[MAX_PATH] = L"";
    UINT n = GetSystemDirectoryW(system, MAX_PATH);
    for (bool knows_flags : {true, false}) {
        GetModuleFileNameW(platform::LoadSystemLibraryAs(knows_flags, L"windowscodecs.dll"), path, MAX_PATH);
        EXPECT_EQ(CompareStringOrdinal(path, n, system, n, TRUE), CSTR_EQUAL) << platform::Narrow(path);
        EXPECT_EQ(platform::LoadSystemLibraryAs(knows_flags, L"planted.dll"), nullptr);
    }
}

// The program's task bar button, told through a stand-in for the shell's list registered in this
// process as the system's: progress only for the window set, cleared only where a list was made,
// and each list given back; a list whose start fails is never told anything.
TEST(Windows, TheTaskbarButtonShowsProgressOnlyForItsWindow) {
    struct Shell : ITaskbarList3, IClassFactory {
        Strings calls;
        HWND window = nullptr;
        bool init_fails = false;
        ULONG refs = 0;
        HRESULT Told(const std::string& what, HWND to) {
            calls.push_back(what + (to == window ? "" : " elsewhere"));
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {  // as the factory
            *out = iid == __uuidof(IClassFactory) ? static_cast<IClassFactory*>(this) : nullptr;
            if (!*out) return E_NOINTERFACE;
            AddRef();
            return S_OK;
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
        ULONG STDMETHODCALLTYPE Release() override { return --refs; }
        HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** out) override {
            *out = iid == __uuidof(ITaskbarList3) ? static_cast<ITaskbarList3*>(this) : nullptr;
            if (!*out) return E_NOINTERFACE;
            AddRef();
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE HrInit() override {
            calls.push_back("init");
            return init_fails ? E_FAIL : S_OK;
        }
        HRESULT STDMETHODCALLTYPE SetProgressValue(HWND to, ULONGLONG done, ULONGLONG total) override {
            return Told(std::to_string(done) + "/" + std::to_string(total), to);
        }
        HRESULT STDMETHODCALLTYPE SetProgressState(HWND to, TBPFLAG state) override {
            return Told("state " + std::to_string(state), to);
        }
        HRESULT STDMETHODCALLTYPE AddTab(HWND) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE DeleteTab(HWND) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE ActivateTab(HWND) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE SetActiveAlt(HWND) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE MarkFullscreenWindow(HWND, BOOL) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE RegisterTab(HWND, HWND) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE UnregisterTab(HWND) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE SetTabOrder(HWND, HWND) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE SetTabActive(HWND, HWND, DWORD) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE ThumbBarAddButtons(HWND, UINT, LPTHUMBBUTTON) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE ThumbBarUpdateButtons(HWND, UINT, LPTHUMBBUTTON) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE ThumbBarSetImageList(HWND, HIMAGELIST) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE SetOverlayIcon(HWND, HICON, LPCWSTR) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE SetThumbnailTooltip(HWND, LPCWSTR) override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE SetThumbnailClip(HWND, RECT*) override { return E_NOTIMPL; }
    } shell;
    shell.window = GetDesktopWindow();
    DWORD cookie = 0;
    ASSERT_TRUE(platform::EnsureCom());
    ASSERT_EQ(CoRegisterClassObject(__uuidof(TaskbarList), static_cast<IClassFactory*>(&shell),
                                    CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
    for (bool init_fails : {false, true}) {
        shell.init_fails = init_fails;
        platform::ShellTaskbar windowless, button;
        windowless.SetProgress(1, 2);  // makes its list, which it never tells
        windowless.ClearProgress();
        button.SetWindow(shell.window);
        button.ClearProgress();  // before any list is made
        button.SetProgress(1, 4);
        button.SetProgress(4, 4);
        button.ClearProgress();
    }
    CoRevokeClassObject(cookie);
    EXPECT_EQ(shell.calls, (Strings{"init", "init", "state 2", "1/4", "state 2", "4/4", "state 0", "init", "init"}));
    EXPECT_EQ(shell.refs, 0u) << "a list kept";
}

// Held by the game (read sharing only), then released, under a German locale.
TEST(Windows, ASettingsFileHeldIsLeftAsItIsAndNumbersIgnoreTheUsersLocale) {
    const std::string text = "[Audio]\r\nSoundVolume=0.7\r\nInGameMusic=yes\r\n[Video]\r\n"
                             "AllowHiResModes=no\r\nScreenWidth=800\r\nScreenHeight=600\r\n";
    LCID thread = GetThreadLocale();
    std::string c = std::setlocale(LC_ALL, nullptr);
    OnExit restore([&] { std::setlocale(LC_ALL, c.c_str()), SetThreadLocale(thread); });
    ASSERT_TRUE(std::setlocale(LC_ALL, "German") &&
                SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT)));
    EXPECT_EQ(std::to_string(0.5), "0,500000");
    TempFolder dir("Игры ゲーム");
    dir.Write("RA2MD.ini", text);
    HANDLE held = Hold(dir.File("RA2MD.ini"), FILE_SHARE_READ);
    RecordingWindow w;
    RealServices real(dir.path());
    core::GameOptions options(w, real.folder);
    options.Form_Load();
    EXPECT_EQ(w.texts["NAS"] + w.texts["EHRS"] + w.texts["Combo1"] + w.texts["Text1"], "Sound OnOff800x60070");
    options.EHRo_Click();
    options.NA_Click();
    EXPECT_EQ(w.texts["NAS"] + w.texts["EHRS"], "Sound OffOn");
    w.texts["Text2"] = "80";
    w.texts["Text3"] = "12.5";
    options.Command1_Click();
    EXPECT_TRUE(w.closed && w.messages.empty());
    CloseHandle(held);
    EXPECT_EQ(dir.Read("RA2MD.ini"), text);
    options.Command1_Click();
    EXPECT_EQ(dir.Read("RA2MD.ini"), "[Audio]\r\nSoundVolume=0.7\r\nInGameMusic=yes\r\nVoiceVolume=0.8\r\n"
                                     "ScoreVolume=0.125\r\n[Video]\r\nAllowHiResModes=no\r\nScreenWidth=800\r\n"
                                     "ScreenHeight=600\r\n");
    EXPECT_EQ(dir.Names(), Strings{"RA2MD.ini"});
}

// Every refusal's reason is read from the system into a buffer it allocates; a thousand reasons
// leave the process heap with as many blocks in use as before.
TEST(Windows, ReasonsGiveTheSystemsBuffersBack) {
    auto in_use = [] {
        PROCESS_HEAP_ENTRY e = {};
        int n = 0;
        HeapLock(GetProcessHeap());
        while (HeapWalk(GetProcessHeap(), &e)) n += (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0;
        HeapUnlock(GetProcessHeap());
        return n;
    };
    EXPECT_EQ(platform::SystemReason(ERROR_SHARING_VIOLATION), kInUse);  // whatever a first call sets up
    const int before = in_use();
    for (int i = 0; i < 1000; ++i) platform::SystemReason(ERROR_SHARING_VIOLATION);
    EXPECT_LT(in_use() - before, 100);
}

}  // namespace
