// What only Windows has, for real under Wine: files held by other programs,
// hidden files, program starts, system DLLs, the user's locale. A folder the
// user may not write needs a user other than root: tests/win/nonroot_test.sh
// runs the NonRoot test as one.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "panel/frm1.h"
#include "platform/files.h"
#include "platform/program.h"
#include "platform/refusal.h"
#include "platform/win/com.h"
#include "platform/win/program_win.h"
#include "platform/win/system_library.h"
#include "platform/win/wide.h"
#include "settings/cini.h"
#include "settings/convert.h"
#include "settings/game_options.h"
#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/support/held_file.h"
#include "tests/support/recording_window.h"
#include "tests/support/remedies.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace game_files;
const std::string kInUse = "Sharing violation.";  // Wine's words, as its English says it

bool Exists(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()) != ~0u; }
HANDLE Hold(const std::string& path, DWORD share) {
    return CreateFileW(Widen(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

// A file held open without delete sharing stops the command at once (deletes
// are never retried) with the system's reason naming the file and the line
// that says to close the program; a read-only copy says to clear the attribute.
TEST(Windows, AFileHeldOpenStopsTheCommand) {
    const std::string denied = SystemReason(ERROR_ACCESS_DENIED) + "\n";
    struct { void (Frm1::*press)(); std::vector<const char*> files; const char *held, *read_only;
             std::vector<std::string> names_after; std::string message; } cases[] = {
        {&Frm1::Command3_Click, {"ecachemd80.mix", "ra2md.csf", "creditsmd.txt"}, "ra2md.csf", "",
         {"creditsmd.txt", "ecachemd80.mix.Zarn", "ra2md.csf", "ra2md.csf.Zarn"},
         "Could not delete \"ra2md.csf\": " + kInUse + "\n" + remedies::kCloseProgram},
        {&Frm1::Command2_Click, {"ecachemd80.mix.Zarn", "ra2md.csf.Zarn", "ra2md.csf"}, "ra2md.csf",
         "", {"ecachemd80.mix", "ra2md.csf", "ra2md.csf.Zarn"},  // a rename needs delete access
         "Could not copy \"ra2md.csf.Zarn\" to \"ra2md.csf\": " + denied + remedies::kCloseProgram},
        {&Frm1::Command3_Click, {"ra2md.csf", "ra2md.csf.Zarn"}, nullptr, "ra2md.csf.Zarn",
         {"ra2md.csf", "ra2md.csf.Zarn"},
         "Could not copy \"ra2md.csf\" to \"ra2md.csf.Zarn\": " + denied + remedies::kClearReadOnly},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        TempFolder dir;
        for (const char* name : c.files) dir.Write(name, std::string("bytes of ") + name);
        if (*c.read_only) dir.SetReadOnly(c.read_only);
        RecordingWindow w;
        Frm1 frm1(w, dir.path());
        {
            Held held(dir.File(c.held ? c.held : "none"));
            DWORD t0 = GetTickCount();
            (frm1.*c.press)();
            EXPECT_LT(GetTickCount() - t0, 900u);  // a retried delete waits 1000 ms
        }
        EXPECT_EQ(dir.Names(), c.names_after);
        EXPECT_EQ(w.messages, std::vector<std::string>{c.message});
        if (*c.read_only) dir.SetReadOnly(c.read_only, false);
    }
}

// Windows refuses to delete a program that runs (open for execution):
// a patch program still running after OK is left, and the line says to close it.
TEST(Windows, PatchProgramStillRunningAfterOkIsNotDeleted) {
    TempFolder dir("Red Alert 2");
    dir.Write("ra2md.csf", "x");
    dir.Write("stay.txt", "keep running until this file is gone");
    PlaceStandIn(dir, "RockPatch.exe");
    RecordingWindow w;
    Started started;
    bool running_at_box = false;
    w.on_message = [&](const std::string& text) {
        if (text == kPatchDone) running_at_box = WaitStarted(dir, "RockPatch.exe", &started);
    };
    Frm1(w, dir.path()).Uninstall_Click();
    DeleteFileW(Widen(dir.File("stay.txt")).c_str());
    WaitEnded("RockPatch.exe");
    ASSERT_TRUE(running_at_box);
    EXPECT_EQ(started.show, "1");
    ASSERT_EQ(w.messages.size(), 3u);
    EXPECT_EQ(w.messages[1], kPatchDone);
    const std::string refused = "Could not delete \"RockPatch.exe\": ";  // Wine: in use
    EXPECT_TRUE(w.messages[2] == refused + kInUse + "\n" + remedies::kCloseProgram ||
                w.messages[2] == refused + SystemReason(ERROR_ACCESS_DENIED) + "\n" +
                                     remedies::kCloseProgram) << w.messages[2];
    EXPECT_TRUE(Exists(dir.File("RockPatch.exe")) && !Exists(dir.File("ra2md.csf")));
}

// Started without its explicit name, "...\Red Alert 2\RA2MD.exe" would run
// "...\Red.exe", which is there.
TEST(Windows, LaunchNeverStartsAProgramNamedLikeTheFirstWordOfThePath) {
    TempFolder dir("Red Alert 2");
    std::string parent = dir.path().substr(0, dir.path().rfind('\\'));
    PlaceStandIn(dir, "RA2MD.exe");
    PlaceStandIn(dir, "..\\Red.exe");
    RecordingWindow w;
    Frm1(w, dir.path()).Command1_Click();
    Started started;
    ASSERT_TRUE(WaitStarted(dir, "RA2MD.exe", &started));
    EXPECT_EQ(started.command_line, dir.File("RA2MD.exe"));
    WaitEnded("RA2MD.exe");
    EXPECT_FALSE(Exists(parent + "\\Red.exe.started.txt"));
}

// Hidden and system files count as absent, to the state label as to the commands.
TEST(Windows, HiddenAndSystemFilesCountAsAbsent) {
    for (DWORD attributes : {FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
        TempFolder dir;
        dir.Write("expandmd81.mix", "x");
        ASSERT_TRUE(SetFileAttributesW(Widen(dir.File("expandmd81.mix")).c_str(), attributes));
        RecordingWindow w;
        Frm1(w, dir.path()).Form_Load();
        EXPECT_EQ(w.texts["visual"], attributes == FILE_ATTRIBUTE_ARCHIVE ? "Enabled" : "Disabled");
        SetFileAttributesW(Widen(dir.File("expandmd81.mix")).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// A file held for a moment (a virus scanner) is waited for by a copy, the window
// kept painted; held for good, the copy gives up after about a second.
TEST(Windows, CopiesWaitForAFileHeldForAMoment) {
    enum { kSource, kLeftoverCopy, kNewCopyWhenRenamed, kSourceForGood } cases[] = {
        kSource, kLeftoverCopy, kNewCopyWhenRenamed, kSourceForGood};
    const std::string data = Data("ra2md.csf", 9u << 20);
    for (auto c : cases) {
        SCOPED_TRACE(c);
        TempFolder dir;
        dir.Write("ra2md.csf", data);
        dir.Write("ra2md.csf.Zarn", "old");
        std::string source = dir.File("ra2md.csf"), part = dir.File("ra2md.csf.Zarn.zarn-copying");
        if (c == kLeftoverCopy) dir.Write("ra2md.csf.Zarn.zarn-copying", "left over");
        HANDLE held = c == kNewCopyWhenRenamed ? INVALID_HANDLE_VALUE
                                               : Hold(c == kLeftoverCopy ? part : source, 0);
        int calls_while_held = 0;
        platform::Status s = platform::CopyFileReplace(
            source, dir.File("ra2md.csf.Zarn"), [&](std::uint64_t copied, std::uint64_t size) {
                if (c == kNewCopyWhenRenamed && !calls_while_held && size && copied == size)
                    held = Hold(part, FILE_SHARE_READ | FILE_SHARE_WRITE);
                if (held != INVALID_HANDLE_VALUE && ++calls_while_held == 4 && c != kSourceForGood)
                    CloseHandle(held), held = INVALID_HANDLE_VALUE;
            });
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        EXPECT_EQ(s.ok, c != kSourceForGood) << s.reason;
        EXPECT_EQ(dir.Read("ra2md.csf.Zarn"), c != kSourceForGood ? data : "old");
        EXPECT_EQ(dir.Names(), (std::vector<std::string>{"ra2md.csf", "ra2md.csf.Zarn"}));
        if (c != kSourceForGood) { EXPECT_EQ(calls_while_held, 4); }
        if (c == kSourceForGood) {
            EXPECT_EQ(s.reason + "|" + s.file, kInUse + "|" + source);
            EXPECT_TRUE(calls_while_held >= 15 && calls_while_held <= 25) << calls_while_held;
            EXPECT_TRUE(platform::FactsAbout(s).wine);
        }
    }
}

// A folder that this user may not write says so, with the remedy for a Linux user.
TEST(NonRoot, AFolderTheUserMayNotWriteSaysSo) {
    const char* folder = std::getenv("ZARN_PROTECTED_FOLDER");
    if (!folder) GTEST_SKIP() << "run by tests/win/nonroot_test.sh as a user other than root";
    std::string denied = SystemReason(ERROR_ACCESS_DENIED) + "\n" + remedies::kGiveLinuxAccess;
    RecordingWindow w;
    Frm1 frm1(w, folder);
    frm1.Command3_Click();
    frm1.Clean_Click();
    EXPECT_EQ(w.messages, (std::vector<std::string>{
                              "Could not copy \"ra2md.csf\" to \"ra2md.csf.Zarn\": " + denied,
                              "Could not delete \"Readme.txt\": " + denied}));
}

// The shell's start, taken when Windows asks for elevation: COM initialised on
// the thread first, apartment-threaded, and the program started with its show state.
TEST(Windows, ShellStartInitialisesComAndStartsTheProgram) {
    using GetApartmentTypeFn = HRESULT(WINAPI*)(APTTYPE*, APTTYPEQUALIFIER*);
    auto apartment = platform::SystemFunction<GetApartmentTypeFn>(
        platform::LoadSystemLibrary(L"ole32.dll"), "CoGetApartmentType");
    ASSERT_NE(apartment, nullptr);
    TempFolder dir("Red Alert 2");
    PlaceStandIn(dir, "RockPatch.exe");
    ASSERT_TRUE(platform::StartThroughShell(Widen(dir.File("RockPatch.exe")), 1).ok);
    APTTYPE type = APTTYPE_MTA;
    APTTYPEQUALIFIER qualifier;
    EXPECT_TRUE(apartment(&type, &qualifier) == S_OK && platform::EnsureCom() &&
                (type == APTTYPE_STA || type == APTTYPE_MAINSTA));
    Started started;
    ASSERT_TRUE(WaitStarted(dir, "RockPatch.exe", &started));
    EXPECT_EQ(started.show, "1");
    WaitEnded("RockPatch.exe");
}

// Both ways of loading a system DLL load it from System32, never planted.dll
// that is only beside this program.
TEST(Windows, SystemLibrariesLoadFromSystem32Only) {
    wchar_t system[MAX_PATH], path[MAX_PATH] = L"";
    UINT n = GetSystemDirectoryW(system, MAX_PATH);
    for (bool knows_flags : {true, false}) {
        GetModuleFileNameW(platform::LoadSystemLibraryAs(knows_flags, L"windowscodecs.dll"), path,
                           MAX_PATH);
        EXPECT_EQ(CompareStringOrdinal(path, n, system, n, TRUE), CSTR_EQUAL) << Narrow(path);
        EXPECT_EQ(platform::LoadSystemLibraryAs(knows_flags, L"planted.dll"), nullptr);
    }
}

// Under a German locale (',' for decimals), in folders the ANSI code page cannot
// name, volumes are read and written with '.'.
TEST(Windows, NumbersIgnoreTheUsersLocaleInFoldersOutsideTheAnsiCodePage) {
    LCID thread = GetThreadLocale();
    std::string c = std::setlocale(LC_ALL, nullptr);
    ASSERT_TRUE(std::setlocale(LC_ALL, "German") &&
                SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT)));
    char separator[8] = {};
    std::snprintf(separator, sizeof separator, "%.1f", 0.5);
    EXPECT_STREQ(separator, "0,5");
    EXPECT_EQ(settings::VolumeFromStored("0,7"), std::nullopt);
    for (const char* leaf : {"Игры", "ゲーム"}) {
        TempFolder folder(leaf);
        folder.Write("RA2MD.ini", "[Audio]\r\nSoundVolume=0.700000\r\n");
        Cini ini;
        ini.FileName(folder.File("RA2MD.ini"));
        ini.ApplicationKey("Audio");
        EXPECT_EQ(settings::VolumeFromStored(ini.GetValue("SoundVolume", "p")), 70) << leaf;
        EXPECT_TRUE(ini.SetValue("VoiceVolume", *settings::StoredFromVolume("80")));
        EXPECT_EQ(folder.Read("RA2MD.ini"), "[Audio]\r\nSoundVolume=0.700000\r\nVoiceVolume=0.8\r\n");
    }
    std::setlocale(LC_ALL, c.c_str());
    SetThreadLocale(thread);
}

// Held by a program that lets others read it but not write it (the game): the
// dialog reads its values, writes are refused without a word while the labels
// change all the same, Save And Close closes, and the file keeps its bytes.
TEST(Windows, ASettingsFileHeldWithoutWriteSharingIsReadAndLeftAsItIs) {
    const std::string text = "[Audio]\r\nSoundVolume=0.7\r\nInGameMusic=yes\r\n[Video]\r\n"
                             "AllowHiResModes=no\r\nScreenWidth=800\r\nScreenHeight=600\r\n";
    TempFolder dir;
    dir.Write("RA2MD.ini", text);
    Held held(dir.File("RA2MD.ini"));
    RecordingWindow w;
    GameOptions options(w, dir.path());
    options.Form_Load();
    EXPECT_EQ(w.values["HScroll1"], 70);
    EXPECT_EQ(w.texts["NAS"] + w.texts["EHRS"] + w.texts["Combo1"], "Sound OnOff800x600");
    options.EHRo_Click();
    options.NA_Click();
    EXPECT_EQ(w.texts["NAS"] + w.texts["EHRS"], "Sound OffOn");
    for (const char* box : {"Text1", "Text2", "Text3"}) w.texts[box] = "20";
    options.Command1_Click();
    EXPECT_TRUE(w.closed && w.messages.empty());
    held.Release();
    EXPECT_EQ(dir.Read("RA2MD.ini"), text);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"RA2MD.ini"});
}

}  // namespace
