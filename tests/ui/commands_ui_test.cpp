// The main window's game-folder commands end to end under Wine: the real
// panel in a real game folder, pressed by its buttons and access keys, its
// message boxes read and answered, and the stand-in program in the place of
// RA2MD.exe and RockPatch.exe recording how it was started. The core tests
// cover the folders' every variation; here, what only the real window and
// real processes show.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/layout.h"
#include "platform/platform.h"
#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/support/held_file.h"
#include "tests/support/remedies.h"
#include "tests/ui/panel_process.h"

namespace {

using namespace game_files;

const char kPanelExe[] = "ZARN Control Panal.exe";

// Writes each name with its Data(), leaving out the panel itself, which
// PanelProcess puts there.
void WriteAll(const TempFolder& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names)
        if (name != kPanelExe) folder.Write(name, Data(name));
}

// Each name still holds its Data(), byte for byte.
void ExpectUnchanged(const TempFolder& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (name != kPanelExe) {
            EXPECT_EQ(folder.Read(name), Data(name)) << name;
        }
    }
}

std::vector<std::string> Sorted(std::vector<std::string> names,
                                const std::vector<std::string>& more = {}) {
    names.insert(names.end(), more.begin(), more.end());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Label(const PanelProcess& panel) { return WindowText(panel.Main("visual")); }

TEST(CommandsUi, EnableAndDisableMoveTheTenFilesByAccessKeyAndClick) {
    struct Case {
        bool enable;
        char letter;  // pressed with Alt; 0: the button clicked
    } cases[] = {{true, 'E'}, {false, 0}};
    // Never moved by either command.
    const std::vector<std::string> bystanders = {"RA2MD.ini", "marrowgate80.pkt",
                                                 "merged01.pkt.Zarn", kPanelExe};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.enable ? "Enable" : "Disable");
        TempFolder folder("Red Alert 2");
        std::vector<std::string> targets;
        for (const std::string& name : kModFiles) {
            folder.Write(c.enable ? name + ".Zarn" : name, Data(name));
            targets.push_back(c.enable ? name : name + ".Zarn");
        }
        WriteAll(folder, bystanders);
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr);
        ASSERT_EQ(Label(panel), c.enable ? "Disabled" : "Enabled");

        if (c.letter) {
            panel.PressAltKey(c.letter);
        } else {
            PanelProcess::Click(panel.Main("Command3"));
        }
        const char* after = c.enable ? "Enabled" : "Disabled";
        EXPECT_TRUE(WaitUntil([&] { return Label(panel) == after; }));
        EXPECT_EQ(folder.Names(), Sorted(targets, bystanders));
        for (std::size_t i = 0; i < kModFiles.size(); ++i)
            EXPECT_EQ(folder.Read(targets[i]), Data(kModFiles[i])) << targets[i];
        ExpectUnchanged(folder, bystanders);
        EXPECT_EQ(panel.WaitForMessageBox(0).hwnd, nullptr);
        EXPECT_TRUE(panel.Running());
    }
}

// The game gets its full path as its whole command line, show state 2, and
// the panel's own working directory; the panel ends in the same press.
TEST(CommandsUi, LaunchStartsTheGameMinimizedAndEndsThePanel) {
    TempFolder folder("Red Alert 2");
    TempFolder elsewhere("started from here");
    folder.Write("expandmd81.mix.Zarn", "disabled: Launch neither looks nor cares");
    PlaceStandIn(folder, "RA2MD.exe");
    {
        PanelProcess panel(folder, elsewhere.path());
        ASSERT_NE(panel.main(), nullptr);
        panel.PressAltKey('L');
        Started started;
        ASSERT_TRUE(WaitStarted(folder, "RA2MD.exe", &started));
        EXPECT_EQ(started.command_line, folder.File("RA2MD.exe"));
        EXPECT_EQ(started.show, "2");
        EXPECT_EQ(started.directory, elsewhere.path());
        EXPECT_TRUE(panel.WaitForExit());
    }
    EXPECT_TRUE(WaitEnded("RA2MD.exe"));
    EXPECT_EQ(folder.Names(), Sorted({"RA2MD.exe", "RA2MD.exe.started.txt", "expandmd81.mix.Zarn",
                                      kPanelExe}));
}

TEST(CommandsUi, LaunchWithoutTheGameAsksForTheGameFolderAndStays) {
    TempFolder folder("Red Alert 2");
    folder.Write("RA2MD.ini", "[Video]\n");
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    PanelProcess::Click(panel.Main("Command1"));
    MessageBoxSeen box = panel.WaitForMessageBox();
    ExpectPanelBox(box, kNotInGameFolder);
    AnswerAndWait(box);
    EXPECT_FALSE(panel.WaitForExit(300));
    EXPECT_EQ(Label(panel), "Disabled");
}

// A game folder with every name Uninstall deletes, the patch program, and
// files Uninstall must leave.
const std::vector<std::string> kKeptByUninstall = {"RA2MD.ini", "RA2MD.exe", "Register.exe",
                                                   "Readme.txt", kPanelExe};

void FillForUninstall(const TempFolder& folder) {
    WriteAll(folder, kUninstallFiles);
    WriteAll(folder, kKeptByUninstall);
    PlaceStandIn(folder, "RockPatch.exe");
}

TEST(CommandsUi, UninstallAsksWithYesAsDefaultAndNoChangesNothing) {
    TempFolder folder("Red Alert 2");
    FillForUninstall(folder);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    std::vector<std::string> names = folder.Names();
    PanelProcess::Click(panel.Main("Uninstall"));

    MessageBoxSeen box = panel.WaitForMessageBox();
    ExpectPanelBox(box, kQuestion, {"&Yes", "&No"});
    // Yes is the default push button and holds the focus, so Enter means Yes
    // (the next test presses it). Wine answers DM_GETDEFID on this box with
    // IDOK, which it has not, so the buttons themselves are asked.
    HWND yes = GetDlgItem(box.hwnd, IDYES), no = GetDlgItem(box.hwnd, IDNO);
    ASSERT_NE(yes, nullptr);
    ASSERT_NE(no, nullptr);
    EXPECT_EQ(GetWindowLongW(yes, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongW(no, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(FocusOf(box.hwnd), yes);
    AnswerAndWait(box, "&No");

    EXPECT_EQ(panel.WaitForMessageBox(500).hwnd, nullptr) << "nothing more after No";
    EXPECT_TRUE(panel.Running());
    EXPECT_EQ(folder.Names(), names);
    ExpectUnchanged(folder, kUninstallFiles);
    EXPECT_EQ(Label(panel), "Enabled");
}

// Enter on the question takes its default, Yes: the 26 names go, the patch
// program starts normally before "You done yet???", and after OK it is
// deleted and the panel ends.
TEST(CommandsUi, UninstallYesDeletesRunsThePatchAndEndsAfterOk) {
    TempFolder folder("Red Alert 2");
    FillForUninstall(folder);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    PanelProcess::Click(panel.Main("Uninstall"));

    MessageBoxSeen question = panel.WaitForMessageBox();
    ExpectPanelBox(question, kQuestion, {"&Yes", "&No"});
    PressKeys(question.hwnd, {VK_RETURN});

    Started started;
    ASSERT_TRUE(WaitStarted(folder, "RockPatch.exe", &started));
    EXPECT_EQ(started.command_line, folder.File("RockPatch.exe"));
    EXPECT_EQ(started.show, "1");
    MessageBoxSeen done = panel.WaitForMessageBox();
    ExpectPanelBox(done, kPatchDone);
    EXPECT_EQ(folder.Names(),
              Sorted(kKeptByUninstall, {"RockPatch.exe", "RockPatch.exe.started.txt"}));
    ASSERT_TRUE(WaitEnded("RockPatch.exe"));

    AnswerAndWait(done);
    EXPECT_TRUE(panel.WaitForExit());
    EXPECT_EQ(folder.Names(), Sorted(kKeptByUninstall, {"RockPatch.exe.started.txt"}));
    ExpectUnchanged(folder, kKeptByUninstall);
}

// Clean deletes its twelve without a word and leaves the label as it was,
// even when the marker went meanwhile (a refresh would say "Disabled").
TEST(CommandsUi, CleanDeletesTheTwelveSilently) {
    TempFolder folder("Red Alert 2");
    WriteAll(folder, kCleanFiles);
    const std::vector<std::string> kept = {"ecachemarrowgate80.mix.Zarn", "marrowgate80.pkt.Zarn",
                                           "ra2md.csf", "RA2MD.ini", "RA2MD.exe", kPanelExe};
    WriteAll(folder, kept);
    folder.Write("expandmd81.mix", "marker");
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    ASSERT_EQ(Label(panel), "Enabled");
    ASSERT_TRUE(DeleteFileW(Widen(folder.File("expandmd81.mix")).c_str()));

    PanelProcess::Click(panel.Main("Clean"));
    EXPECT_TRUE(WaitUntil([&] { return folder.Names() == Sorted(kept); }));
    EXPECT_EQ(panel.WaitForMessageBox(500).hwnd, nullptr);
    EXPECT_TRUE(panel.Running());
    EXPECT_EQ(Label(panel), "Enabled");
    ExpectUnchanged(folder, kept);
}

// A mod file held open stops Disable at that file with the system's reason
// in a box; the panel lives on, and once the file is free the next press
// completes.
TEST(CommandsUi, AFileInUseStopsDisableAndTheNextPressCompletes) {
    TempFolder folder("Red Alert 2");
    WriteAll(folder, kModFiles);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    ASSERT_EQ(Label(panel), "Enabled");
    Held held(folder.File("ra2md.csf"));  // entry 4
    ASSERT_TRUE(held.ok());

    panel.PressAltKey('D');
    MessageBoxSeen box = panel.WaitForMessageBox();
    ExpectPanelBox(box, "Could not delete \"ra2md.csf\": " + SystemReason(ERROR_SHARING_VIOLATION) +
                            "\n" + remedies::kCloseProgram);
    AnswerAndWait(box);
    EXPECT_FALSE(panel.WaitForExit(300));
    EXPECT_EQ(Label(panel), "Enabled") << "not refreshed after a refusal";

    held.Release();
    PanelProcess::Click(panel.Main("Command3"));
    EXPECT_TRUE(WaitUntil([&] { return Label(panel) == "Disabled"; }));
    std::vector<std::string> disabled = {kPanelExe};
    for (const std::string& name : kModFiles) disabled.push_back(name + ".Zarn");
    EXPECT_EQ(folder.Names(), Sorted(disabled));
    for (const std::string& name : kModFiles) EXPECT_EQ(folder.Read(name + ".Zarn"), Data(name));
    EXPECT_EQ(panel.WaitForMessageBox(0).hwnd, nullptr);
}

}  // namespace
