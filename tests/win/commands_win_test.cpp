// The game-folder commands in states only Windows has: files another
// process holds open without delete sharing, a patch
// program that is still running when the user says it is done, and a game
// folder whose path a careless start would cut at its first space.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win/wide.h"
#include "panel/frm1.h"
#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/support/held_file.h"
#include "tests/support/recording_window.h"
#include "tests/support/remedies.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace game_files;

const char kUntouched[] = "(as loaded)";

bool Exists(const TempFolder& dir, const std::string& name) {
    return GetFileAttributesW(Widen(dir.File(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

using Click = void (Frm1::*)();

// A file held open without delete sharing: the refused step is reported
// with the system's reason, and the line below says to close the program
// that holds it; the command stops there.
TEST(CommandsWin, AFileHeldOpenStopsTheCommand) {
    std::string in_use =
        SystemReason(ERROR_SHARING_VIOLATION) + "\n" + remedies::kCloseProgram;
    struct Case {
        const char* what;
        Click press;
        std::vector<const char*> files;
        const char* held;
        std::vector<std::string> names_after;
        std::vector<std::string> messages;
    } cases[] = {
        {"Disable, source held", &Frm1::Command3_Click,
         {"ecachemd80.mix", "ra2md.csf", "creditsmd.txt"}, "ra2md.csf",
         {"creditsmd.txt", "ecachemd80.mix.Zarn", "ra2md.csf", "ra2md.csf.Zarn"},
         {"Could not delete \"ra2md.csf\": " + in_use}},
        {"Enable, target held", &Frm1::Command2_Click,
         {"ecachemd80.mix.Zarn", "ra2md.csf.Zarn", "ra2md.csf", "creditsmd.txt.Zarn"},
         "ra2md.csf",
         {"creditsmd.txt.Zarn", "ecachemd80.mix", "ra2md.csf", "ra2md.csf.Zarn"},
         // The copy replaces the target by a rename, which needs delete
         // access to it: an open file without delete sharing denies that.
         {"Could not copy \"ra2md.csf.Zarn\" to \"ra2md.csf\": " +
          SystemReason(ERROR_ACCESS_DENIED) + "\n" + remedies::kCloseProgram}},
        {"Uninstall, entry held", &Frm1::Uninstall_Click,
         {"ecachemd80.mix", "merged01.pkt", "rzarn.yro", "RockPatch.exe"}, "merged01.pkt",
         {"RockPatch.exe", "merged01.pkt", "rzarn.yro"},
         {kQuestion, "Could not delete \"merged01.pkt\": " + in_use}},
        {"Clean, entry held", &Frm1::Clean_Click, {"Register.exe", "Readme.doc", "notes.ico"},
         "Readme.doc", {"Readme.doc"}, {"Could not delete \"Readme.doc\": " + in_use}},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        for (const char* name : c.files) dir.Write(name, std::string("bytes of ") + name);
        RecordingWindow w;
        w.texts["visual"] = kUntouched;
        Frm1 frm1(w, dir.path());
        {
            Held held(dir.File(c.held));
            ASSERT_TRUE(held.ok()) << c.what;
            (frm1.*c.press)();
        }
        EXPECT_EQ(dir.Names(), c.names_after) << c.what;
        EXPECT_EQ(w.messages, c.messages) << c.what;
        EXPECT_EQ(w.texts["visual"], kUntouched) << c.what;
        EXPECT_FALSE(w.closed) << c.what;
        EXPECT_EQ(w.busy_depth, 0) << c.what;
    }
}

TEST(CommandsWin, PatchProgramStillRunningAfterOkIsNotDeleted) {
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
    Frm1 frm1(w, dir.path());
    frm1.Uninstall_Click();
    DeleteFileW(Widen(dir.File("stay.txt")).c_str());
    WaitEnded("RockPatch.exe");

    ASSERT_TRUE(running_at_box);
    EXPECT_EQ(started.show, "1");
    // Windows refuses to delete a program that runs (its file is open for
    // execution) with ERROR_ACCESS_DENIED; Wine says ERROR_SHARING_VIOLATION.
    // Either way the line below says to close it.
    std::string refused = "Could not delete \"RockPatch.exe\": ";
    ASSERT_EQ(w.messages.size(), 3u);
    EXPECT_EQ(w.messages[0], kQuestion);
    EXPECT_EQ(w.messages[1], kPatchDone);
    EXPECT_TRUE(w.messages[2] == refused + SystemReason(ERROR_SHARING_VIOLATION) + "\n" +
                                     remedies::kCloseProgram ||
                w.messages[2] == refused + SystemReason(ERROR_ACCESS_DENIED) + "\n" +
                                     remedies::kCloseProgram)
        << w.messages[2];
    EXPECT_FALSE(w.closed);
    EXPECT_TRUE(Exists(dir, "RockPatch.exe"));
    EXPECT_FALSE(Exists(dir, "ra2md.csf"));
}

// Started without its explicit name, "...\Red Alert 2\RA2MD.exe" would run
// "...\Red.exe" if there were one; here there is.
TEST(CommandsWin, LaunchNeverStartsAProgramNamedLikeTheFirstWordOfThePath) {
    TempFolder dir("Red Alert 2");
    std::string parent = dir.path().substr(0, dir.path().rfind('\\'));
    PlaceStandIn(dir, "RA2MD.exe");
    ASSERT_TRUE(CopyFileW(Widen(dir.File("RA2MD.exe")).c_str(),
                          Widen(parent + "\\Red.exe").c_str(), FALSE));
    RecordingWindow w;
    Frm1 frm1(w, dir.path());
    frm1.Command1_Click();
    Started started;
    ASSERT_TRUE(WaitStarted(dir, "RA2MD.exe", &started));
    EXPECT_EQ(started.command_line, dir.File("RA2MD.exe"));
    WaitEnded("RA2MD.exe");
    EXPECT_EQ(GetFileAttributesW(Widen(parent + "\\Red.exe.started.txt").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(w.closed);
}

}  // namespace
