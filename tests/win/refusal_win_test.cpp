// Refusals on Windows (run under Wine), for real: a copy that waits for a
// file held for a moment, the facts gathered about a refused file, the
// shell's start with COM initialised, and system DLLs from System32 both
// ways. A folder that the user may not write needs a user other than root:
// tests/win/nonroot_test.sh runs the NonRoot tests as such a user.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/program.h"
#include "platform/refusal.h"
#include "platform/win/com.h"
#include "platform/win/program_win.h"
#include "platform/win/system_library.h"
#include "platform/win/wide.h"
#include "panel/frm1.h"
#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/support/recording_window.h"
#include "tests/support/remedies.h"
#include "tests/support/temp_folder.h"

namespace {

HANDLE Hold(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    return CreateFileW(Widen(path).c_str(), access, share, nullptr, disposition, 0, nullptr);
}

// A virus scanner, or a game that reads a file, holds it for a moment; the
// copy waits for it, keeping the window painted, and goes on once it is let
// go. Held for more than a second, it is refused as before.
TEST(CopyWin, WaitsForAFileHeldForAMoment) {
    enum Held { kSource, kLeftoverCopy, kNewCopyWhenRenamed };
    struct Case {
        const char* what;
        Held held;
        int released_after;  // progress calls once held; 0: never
        bool copied;
    } cases[] = {
        {"source held without read sharing", kSource, 3, true},
        {"a copy left from before held", kLeftoverCopy, 3, true},
        {"new copy held without delete sharing when renamed", kNewCopyWhenRenamed, 3, true},
        {"source held for good", kSource, 0, false},
    };
    const std::string data = game_files::Data("ra2md.csf", 9u << 20);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        dir.Write("ra2md.csf", data);
        dir.Write("ra2md.csf.Zarn", "old");
        std::string source = dir.File("ra2md.csf"), target = dir.File("ra2md.csf.Zarn");
        std::string part = target + ".zarn-copying";
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.held == kSource) held = Hold(source, GENERIC_READ, 0, OPEN_EXISTING);
        if (c.held == kLeftoverCopy) {
            dir.Write("ra2md.csf.Zarn.zarn-copying", "left over");
            held = Hold(part, GENERIC_READ, 0, OPEN_EXISTING);
        }
        int calls_while_held = 0, calls = 0;
        platform::Status s = platform::CopyFileReplace(
            source, target, [&](std::uint64_t copied, std::uint64_t size) {
                ++calls;
                // The scanner opens the new copy once it is all written.
                if (c.held == kNewCopyWhenRenamed && held == INVALID_HANDLE_VALUE &&
                    calls_while_held == 0 && size && copied == size)
                    held = Hold(part, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                OPEN_EXISTING);
                else if (held != INVALID_HANDLE_VALUE && ++calls_while_held == c.released_after) {
                    CloseHandle(held);
                    held = INVALID_HANDLE_VALUE;
                }
            });
        if (c.held != kNewCopyWhenRenamed) {
            ASSERT_NE(held == INVALID_HANDLE_VALUE, !c.copied);
        }
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        EXPECT_EQ(s.ok, c.copied) << s.reason;
        EXPECT_EQ(dir.Read("ra2md.csf.Zarn"), c.copied ? data : "old");
        EXPECT_EQ(dir.Read("ra2md.csf"), data);
        if (c.held == kNewCopyWhenRenamed) {
            EXPECT_GE(calls_while_held, 3);
        }
        if (!c.copied) {
            EXPECT_EQ(s.error, (long)ERROR_SHARING_VIOLATION);
            EXPECT_EQ(s.reason, SystemReason(ERROR_SHARING_VIOLATION));
            EXPECT_EQ(s.file, source);
            // About a second of waits, each keeping the window painted.
            EXPECT_GE(calls_while_held, 15);
            EXPECT_LE(calls_while_held, 25);
        }
        EXPECT_EQ(dir.Names(), (std::vector<std::string>{"ra2md.csf", "ra2md.csf.Zarn"}));
    }
}

// Deletes are never retried: a file held now is the player's to close.
TEST(CopyWin, DeletesAreNeverRetried) {
    TempFolder dir;
    dir.Write("ra2md.csf", "x");
    HANDLE held = Hold(dir.File("ra2md.csf"), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    DWORD t0 = GetTickCount();
    platform::Status s = platform::RemoveFile(dir.File("ra2md.csf"));
    DWORD took = GetTickCount() - t0;
    CloseHandle(held);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.error, (long)ERROR_SHARING_VIOLATION);
    EXPECT_LT(took, 500u) << "waited for the file";
    // The system's words end the message: no line break or blank after them.
    EXPECT_EQ(s.reason, SystemReason(ERROR_SHARING_VIOLATION));
    ASSERT_FALSE(s.reason.empty());
    EXPECT_EQ(s.reason.find_first_of("\r\n"), std::string::npos) << s.reason;
    EXPECT_NE(s.reason.back(), ' ');
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"ra2md.csf"});
}

// The facts gathered for real refusals, as root under Wine: the folder is
// the user's, so only the file's state and the error speak.
TEST(RefusalFactsWin, GatheredFromTheSystem) {
    TempFolder dir;
    dir.Write("read-only.mix", "r");
    dir.SetReadOnly("read-only.mix");
    dir.Write("held.mix", "h");
    dir.MakeFolder("folder.mix");
    HANDLE held = Hold(dir.File("held.mix"), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    struct Case {
        const char* name;
        platform::ErrorKind error;
        bool read_only, is_folder;
        platform::Remedy remedy;
    } cases[] = {
        {"read-only.mix", platform::ErrorKind::kAccessDenied, true, false,
         platform::Remedy::kClearReadOnly},
        {"held.mix", platform::ErrorKind::kSharingViolation, false, false,
         platform::Remedy::kCloseProgram},
    };
    for (const Case& c : cases) {
        platform::Status s = platform::RemoveFile(dir.File(c.name));
        ASSERT_FALSE(s.ok) << c.name;
        platform::RefusalFacts f = platform::FactsAbout(s);
        EXPECT_EQ(f.step, platform::Step::kDelete) << c.name;
        EXPECT_EQ(f.error, c.error) << c.name;
        EXPECT_EQ(f.read_only, c.read_only) << c.name;
        EXPECT_EQ(f.is_folder, c.is_folder) << c.name;
        EXPECT_EQ(f.folder, platform::FolderAccess::kAllowed) << c.name;
        EXPECT_TRUE(f.wine) << c.name;
        EXPECT_EQ(platform::ChooseRemedy(f), c.remedy) << c.name;
    }
    CloseHandle(held);
    platform::Status s =
        platform::CopyFileReplace(dir.File("held.mix"), dir.File("folder.mix"), {});
    ASSERT_FALSE(s.ok);
    platform::RefusalFacts f = platform::FactsAbout(s);
    EXPECT_TRUE(f.is_folder);
    EXPECT_EQ(platform::ChooseRemedy(f), platform::Remedy::kNone);
    dir.SetReadOnly("read-only.mix", false);
}

// A folder that this user may not write (run as a user other than root by
// tests/win/nonroot_test.sh, which names the folder in ZARN_PROTECTED_FOLDER).
TEST(NonRoot, AFolderTheUserMayNotWriteSaysSo) {
    const char* folder = std::getenv("ZARN_PROTECTED_FOLDER");
    if (!folder) GTEST_SKIP() << "run by tests/win/nonroot_test.sh as a user other than root";
    std::string dir = folder;
    std::string denied = SystemReason(ERROR_ACCESS_DENIED) + "\n" + remedies::kGiveLinuxAccess;
    struct Case {
        const char* what;
        void (Frm1::*press)();
        std::string message;
    } cases[] = {
        {"Disable", &Frm1::Command3_Click,
         "Could not copy \"ra2md.csf\" to \"ra2md.csf.Zarn\": " + denied},
        {"Clean", &Frm1::Clean_Click, "Could not delete \"Readme.txt\": " + denied},
    };
    for (const Case& c : cases) {
        RecordingWindow w;
        Frm1 frm1(w, dir);
        (frm1.*c.press)();
        EXPECT_EQ(w.messages, std::vector<std::string>{c.message}) << c.what;
    }
    platform::Status s = platform::RemoveFile(dir + "\\ra2md.csf");
    ASSERT_FALSE(s.ok);
    platform::RefusalFacts f = platform::FactsAbout(s);
    EXPECT_EQ(f.error, platform::ErrorKind::kAccessDenied);
    EXPECT_EQ(f.folder, platform::FolderAccess::kDenied);
    EXPECT_FALSE(f.read_only);
    EXPECT_TRUE(f.wine);
}

// The shell's start, taken when Windows asks for elevation: COM is
// initialised on the thread first, apartment-threaded, and the program
// starts with its show state.
TEST(ShellStartWin, InitialisesComAndStartsTheProgram) {
    using GetApartmentTypeFn = HRESULT(WINAPI*)(APTTYPE*, APTTYPEQUALIFIER*);
    auto apartment = platform::SystemFunction<GetApartmentTypeFn>(
        platform::LoadSystemLibrary(L"ole32.dll"), "CoGetApartmentType");
    ASSERT_NE(apartment, nullptr);
    TempFolder dir("Red Alert 2");
    PlaceStandIn(dir, "RockPatch.exe");
    platform::Status s =
        platform::StartThroughShell(Widen(dir.File("RockPatch.exe")), platform::kShowNormal);
    ASSERT_TRUE(s.ok) << s.reason;
    APTTYPE type = APTTYPE_MTA;
    APTTYPEQUALIFIER qualifier;
    ASSERT_EQ(apartment(&type, &qualifier), S_OK) << "COM not initialised";
    EXPECT_TRUE(type == APTTYPE_STA || type == APTTYPE_MAINSTA);
    EXPECT_TRUE(platform::EnsureCom());
    Started started;
    ASSERT_TRUE(WaitStarted(dir, "RockPatch.exe", &started));
    EXPECT_EQ(started.show, "1");
    WaitEnded("RockPatch.exe");
}

// Both ways of loading a system DLL, the flag and the full path that a
// loader without the flag needs, load it from System32, and neither loads a
// DLL that is only in the application folder (planted.dll is beside this
// program).
TEST(SystemLibraryWin, BothWaysLoadFromSystem32Only) {
    wchar_t system[MAX_PATH];
    UINT n = GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_GT(n, 0u);
    for (bool knows_flags : {true, false}) {
        SCOPED_TRACE(knows_flags ? "by flag" : "by full path");
        HMODULE h = platform::LoadSystemLibraryAs(knows_flags, L"windowscodecs.dll");
        ASSERT_NE(h, nullptr);
        wchar_t path[MAX_PATH];
        DWORD len = GetModuleFileNameW(h, path, MAX_PATH);
        EXPECT_EQ(CompareStringOrdinal(path, n, system, n, TRUE), CSTR_EQUAL)
            << Narrow(WString(path, len));
        EXPECT_EQ(platform::LoadSystemLibraryAs(knows_flags, L"planted.dll"), nullptr);
    }
}

}  // namespace
