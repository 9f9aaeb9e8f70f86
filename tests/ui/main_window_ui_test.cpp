// The main window's commands wired end to end under Wine in a game folder, with
// stand-ins for RA2MD.exe and RockPatch.exe (the core tests cover the files).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/ui/panel_process.h"

namespace {

using namespace game_files;

const char kPanelExe[] = "ZARN Control Panal.exe";

void ExpectData(const TempFolder& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names) EXPECT_EQ(folder.Read(name), Data(name)) << name;
}

std::vector<std::string> Sorted(std::vector<std::string> names, std::vector<std::string> more) {
    names.insert(names.end(), more.begin(), more.end());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Label(const PanelProcess& panel) { return WindowText(panel.Main("visual")); }

// The state label holds the state as the window shows, in a folder of
// non-English letters; a press moves the ten files and changes it. Disable
// moves files large enough for the task bar to show progress, which Wine's
// does not. Then Exit, by Alt+X or click, ends the panel.
TEST(MainWindowUi, EnableAndDisableByAccessKeyAndClickThenExit) {
    const std::vector<std::string> bystanders = {"RA2MD.ini", "marrowgate80.pkt",
                                                 "merged01.pkt.Zarn"};
    for (bool enable : {true, false}) {
        SCOPED_TRACE(enable ? "Enable" : "Disable");
        auto data = [&](const std::string& name) {  // the three .mix files large for Disable
            return Data(name, !enable && name.find(".mix") != std::string::npos ? 48u << 20 : 4099);
        };
        TempFolder folder("Игры");
        std::vector<std::string> targets = bystanders;
        for (const std::string& name : kModFiles) {
            folder.Write(enable ? name + ".Zarn" : name, data(name));
            targets.push_back(enable ? name : name + ".Zarn");
        }
        for (const std::string& name : bystanders) folder.Write(name, Data(name));
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr);
        ASSERT_EQ(Label(panel), enable ? "Disabled" : "Enabled");
        if (enable) PressKeys(panel.main(), {VK_MENU, 'E'});
        if (!enable) PanelProcess::Click(panel.Main("Command3"));
        auto state = [&] { return Label(panel) == (enable ? "Enabled" : "Disabled"); };
        EXPECT_TRUE(WaitUntil(state, 60000));
        EXPECT_EQ(folder.Names(), Sorted(targets, {kPanelExe}));
        for (std::size_t i = 0; i < kModFiles.size(); ++i)
            EXPECT_TRUE(folder.Read(targets[i + 3]) == data(kModFiles[i])) << targets[i + 3];
        ExpectData(folder, bystanders);
        EXPECT_TRUE(panel.NoBox(0));
        if (enable) PressKeys(panel.main(), {VK_MENU, 'X'});
        if (!enable) PanelProcess::Click(panel.Main("Command5"));
        EXPECT_TRUE(panel.WaitForExit()) << "Exit";
        EXPECT_TRUE(panel.NoBox(0));
    }
}

// The question has Yes as its default and focus; No changes nothing. Then
// Enter takes Yes: the 26 names go, the patch program starts normally before
// "You done yet???", and after OK it is deleted and the panel ends.
TEST(MainWindowUi, UninstallAsksNoChangesNothingYesDeletesRunsThePatchAndEnds) {
    const std::vector<std::string> kept = {"RA2MD.ini", "RA2MD.exe", "Register.exe", "Readme.txt"};
    TempFolder folder("Red Alert 2");
    for (const auto* names : {&kUninstallFiles, &kept})
        for (const std::string& name : *names) folder.Write(name, Data(name));
    PlaceStandIn(folder, "RockPatch.exe");
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    std::vector<std::string> names = folder.Names();
    PanelProcess::Click(panel.Main("Uninstall"));
    HWND box = ExpectBox(panel, kQuestion, {"&Yes", "&No"});
    ASSERT_NE(box, nullptr);
    // Wine answers DM_GETDEFID on this box with IDOK, which it has not, so
    // the buttons themselves are asked.
    EXPECT_EQ(GetWindowLongW(GetDlgItem(box, IDYES), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongW(GetDlgItem(box, IDNO), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(FocusOf(box), GetDlgItem(box, IDYES));
    AnswerAndWait(box, "&No");
    EXPECT_TRUE(panel.NoBox(500)) << "nothing more after No";
    EXPECT_FALSE(panel.WaitForExit(0));
    EXPECT_EQ(folder.Names(), names);
    ExpectData(folder, kUninstallFiles);
    EXPECT_EQ(Label(panel), "Enabled");

    PanelProcess::Click(panel.Main("Uninstall"));
    box = ExpectBox(panel, kQuestion, {"&Yes", "&No"});
    PressKeys(box, {VK_RETURN});
    Started started;
    ASSERT_TRUE(WaitStarted(folder, "RockPatch.exe", &started));
    EXPECT_EQ(started.command_line, folder.File("RockPatch.exe"));
    EXPECT_EQ(started.show, "1");
    box = ExpectBox(panel, kPatchDone);
    EXPECT_EQ(folder.Names(),
              Sorted(kept, {kPanelExe, "RockPatch.exe", "RockPatch.exe.started.txt"}));
    ASSERT_TRUE(WaitEnded("RockPatch.exe"));
    AnswerAndWait(box);
    EXPECT_TRUE(panel.WaitForExit());
    EXPECT_EQ(folder.Names(), Sorted(kept, {kPanelExe, "RockPatch.exe.started.txt"}));
    ExpectData(folder, kept);
}

// Clean deletes its twelve silently, the label as it was though the marker
// went. Launch gives the game its path as its whole command line, show state 2
// and the panel's own working directory, and the panel ends.
TEST(MainWindowUi, CleanDeletesTheTwelveSilentlyLaunchStartsTheGameAndEnds) {
    TempFolder folder("Red Alert 2"), elsewhere("started from here");
    const std::vector<std::string> kept = {"ecachemarrowgate80.mix.Zarn", "marrowgate80.pkt.Zarn",
                                           "ra2md.csf", "RA2MD.ini"};
    for (const auto* names : {&kCleanFiles, &kept})
        for (const std::string& name : *names) folder.Write(name, Data(name));
    PlaceStandIn(folder, "RA2MD.exe");
    folder.Write("expandmd81.mix", "marker");
    PanelProcess panel(folder, elsewhere.path());
    ASSERT_NE(panel.main(), nullptr);
    ASSERT_EQ(Label(panel), "Enabled");
    ASSERT_TRUE(DeleteFileW(Widen(folder.File("expandmd81.mix")).c_str()));
    PanelProcess::Click(panel.Main("Clean"));
    auto cleaned = [&] { return folder.Names() == Sorted(kept, {"RA2MD.exe", kPanelExe}); };
    EXPECT_TRUE(WaitUntil(cleaned));
    EXPECT_TRUE(panel.NoBox(500));
    EXPECT_EQ(Label(panel), "Enabled");
    ExpectData(folder, kept);

    PressKeys(panel.main(), {VK_MENU, 'L'});
    Started started;
    ASSERT_TRUE(WaitStarted(folder, "RA2MD.exe", &started));
    EXPECT_EQ(started.command_line, folder.File("RA2MD.exe"));
    EXPECT_EQ(started.show, "2");
    EXPECT_EQ(started.directory, elsewhere.path());
    EXPECT_TRUE(panel.WaitForExit());
    EXPECT_TRUE(WaitEnded("RA2MD.exe"));
    EXPECT_EQ(folder.Names(), Sorted(kept, {"RA2MD.exe", "RA2MD.exe.started.txt", kPanelExe}));
}

}  // namespace
