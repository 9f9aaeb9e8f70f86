// The real windows under Wine: each laid out at its table's numbers at this
// run's DPI, and the main window's commands end to end, pressed by buttons
// and access keys in a real game folder, their message boxes read and
// answered, and a stand-in program in the place of RA2MD.exe and
// RockPatch.exe recording how it was started. The core tests cover each
// command's every variation on files; here, the wiring.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/layout.h"
#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/ui/panel_process.h"

namespace {

using namespace game_files;

const char kPanelExe[] = "ZARN Control Panal.exe";

void WriteAll(const TempFolder& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names)
        if (name != kPanelExe) folder.Write(name, Data(name));
}

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

// The main window, then each window it opens, which holds the main window
// until it closes, each way it closes, writing nothing.
TEST(MainWindowUi, EveryWindowIsAsLaidOutAtThisDpi) {
    const char ini[] = "[Video]\r\nScreenWidth=800\r\nScreenHeight=600\r\n";
    TempFolder folder("Red Alert 2");
    folder.Write("RA2MD.ini", ini);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    const UINT dpi = ScreenDpi();
    ExpectLaidOut(panel.main(), layout::kFrm1, dpi);
    EXPECT_EQ(GetWindow(panel.main(), GW_OWNER), nullptr);  // the start-up window: nobody's
    struct Case {
        const layout::Form& form;
        POINT bare;  // a spot no control covers, in twips, in the window's own background
    } cases[] = {{layout::kGameOptions, {3600, 60}}, {layout::kAbout, {3600, 1000}},
                 {layout::kHelp, {1000, 3000}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form.name);
        HWND w = panel.Open(c.form);
        ASSERT_NE(w, nullptr);
        ExpectLaidOut(w, c.form, dpi);
        EXPECT_EQ(GetWindow(w, GW_OWNER), panel.main());
        EXPECT_FALSE(IsWindowEnabled(panel.main())) << "the main window takes no input";
        POINT p = {layout::Pixels(c.bare.x, (int)dpi), layout::Pixels(c.bare.y, (int)dpi)};
        ClientToScreen(w, &p);
        HDC dc = GetDC(nullptr);
        EXPECT_EQ(GetPixel(dc, p.x, p.y), c.form.back == layout::kSystem
                                              ? GetSysColor(COLOR_BTNFACE)
                                              : RGB(c.form.back >> 16, c.form.back >> 8 & 255,
                                                    c.form.back & 255));
        ReleaseDC(nullptr, dc);
        // Closed by the title bar, "Ok" and "&Close Help": the main window has its input back.
        if (&c.form == &layout::kGameOptions) PostMessageW(w, WM_CLOSE, 0, 0);
        if (&c.form == &layout::kAbout) PanelProcess::Click(Control(w, c.form, "Command1"));
        if (&c.form == &layout::kHelp) PressKeys(w, {VK_MENU, 'C'});
        EXPECT_TRUE(WaitGone(w));
        Sleep(100);
        EXPECT_TRUE(IsWindowEnabled(panel.main()));
        EXPECT_EQ(GetForegroundWindow(), panel.main());
    }
    EXPECT_EQ(folder.Read("RA2MD.ini"), ini) << "opening and closing write nothing";
    EXPECT_EQ(folder.Names().size(), 2u);
}

// The state label holds the state as soon as the window shows, from a folder
// of non-English letters; the press moves the ten files byte for byte and
// changes it. The Disable moves files large enough for the task bar button
// to show its progress, which Wine's task bar does not. Then Exit, by Alt+X
// and by a click, ends the panel (the close box: in executable_test.cpp).
TEST(MainWindowUi, EnableAndDisableByAccessKeyAndClickThenExit) {
    struct Case {
        bool enable;
        char letter;  // pressed with Alt; 0: the button clicked
        bool large;  // the three .mix files
    } cases[] = {{true, 'E', false}, {false, 0, true}};
    // Never moved by either command.
    const std::vector<std::string> bystanders = {"RA2MD.ini", "marrowgate80.pkt",
                                                 "merged01.pkt.Zarn", kPanelExe};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.enable ? "Enable" : "Disable");
        TempFolder folder("Игры");
        std::vector<std::string> targets;
        auto data = [&](const std::string& name) {
            return Data(name, c.large && name.find(".mix") != std::string::npos ? 48u << 20 : 4099);
        };
        for (const std::string& name : kModFiles) {
            folder.Write(c.enable ? name + ".Zarn" : name, data(name));
            targets.push_back(c.enable ? name : name + ".Zarn");
        }
        WriteAll(folder, bystanders);
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr);
        ASSERT_EQ(Label(panel), c.enable ? "Disabled" : "Enabled");
        if (c.letter) {
            PressKeys(panel.main(), {VK_MENU, (WORD)c.letter});
        } else {
            PanelProcess::Click(panel.Main("Command3"));
        }
        const char* after = c.enable ? "Enabled" : "Disabled";
        EXPECT_TRUE(WaitUntil([&] { return Label(panel) == after; }, 60000));
        EXPECT_EQ(folder.Names(), Sorted(targets, bystanders));
        for (std::size_t i = 0; i < kModFiles.size(); ++i)
            EXPECT_TRUE(folder.Read(targets[i]) == data(kModFiles[i])) << targets[i];
        ExpectUnchanged(folder, bystanders);
        EXPECT_EQ(panel.WaitForMessageBox(0).hwnd, nullptr);
        if (c.letter) {
            PressKeys(panel.main(), {VK_MENU, 'X'});
        } else {
            PanelProcess::Click(panel.Main("Command5"));
        }
        EXPECT_TRUE(panel.WaitForExit()) << "Exit";
        EXPECT_EQ(panel.WaitForMessageBox(0).hwnd, nullptr);
    }
}

// The question has Yes as its default button and focus; No changes nothing.
// Asked again, Enter takes Yes: the 26 names go, the patch program starts
// normally before "You done yet???", and after OK it is deleted and the
// panel ends.
TEST(MainWindowUi, UninstallAsksNoChangesNothingYesDeletesRunsThePatchAndEnds) {
    const std::vector<std::string> kept = {"RA2MD.ini", "RA2MD.exe", "Register.exe", "Readme.txt",
                                           kPanelExe};
    TempFolder folder("Red Alert 2");
    WriteAll(folder, kUninstallFiles);
    WriteAll(folder, kept);
    PlaceStandIn(folder, "RockPatch.exe");
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    std::vector<std::string> names = folder.Names();
    PanelProcess::Click(panel.Main("Uninstall"));
    MessageBoxSeen box = panel.WaitForMessageBox();
    ExpectPanelBox(box, kQuestion, {"&Yes", "&No"});
    // Wine answers DM_GETDEFID on this box with IDOK, which it has not, so
    // the buttons themselves are asked.
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

    PanelProcess::Click(panel.Main("Uninstall"));
    box = panel.WaitForMessageBox();
    ExpectPanelBox(box, kQuestion, {"&Yes", "&No"});
    PressKeys(box.hwnd, {VK_RETURN});
    Started started;
    ASSERT_TRUE(WaitStarted(folder, "RockPatch.exe", &started));
    EXPECT_EQ(started.command_line, folder.File("RockPatch.exe"));
    EXPECT_EQ(started.show, "1");
    MessageBoxSeen done = panel.WaitForMessageBox();
    ExpectPanelBox(done, kPatchDone);
    EXPECT_EQ(folder.Names(), Sorted(kept, {"RockPatch.exe", "RockPatch.exe.started.txt"}));
    ASSERT_TRUE(WaitEnded("RockPatch.exe"));
    AnswerAndWait(done);
    EXPECT_TRUE(panel.WaitForExit());
    EXPECT_EQ(folder.Names(), Sorted(kept, {"RockPatch.exe.started.txt"}));
    ExpectUnchanged(folder, kept);
}

// Clean deletes its twelve without a word and leaves the label as it was,
// even when the marker went meanwhile (a refresh would say "Disabled").
// Then Launch gives the game its full path as its whole command line, show
// state 2 and the panel's own working directory, and the panel ends.
TEST(MainWindowUi, CleanDeletesTheTwelveSilentlyLaunchStartsTheGameAndEnds) {
    TempFolder folder("Red Alert 2"), elsewhere("started from here");
    const std::vector<std::string> kept = {"ecachemarrowgate80.mix.Zarn", "marrowgate80.pkt.Zarn",
                                           "ra2md.csf", "RA2MD.ini"};
    WriteAll(folder, kCleanFiles);
    WriteAll(folder, kept);
    PlaceStandIn(folder, "RA2MD.exe");
    folder.Write("expandmd81.mix", "marker");
    PanelProcess panel(folder, elsewhere.path());
    ASSERT_NE(panel.main(), nullptr);
    ASSERT_EQ(Label(panel), "Enabled");
    ASSERT_TRUE(DeleteFileW(Widen(folder.File("expandmd81.mix")).c_str()));
    PanelProcess::Click(panel.Main("Clean"));
    EXPECT_TRUE(WaitUntil([&] { return folder.Names() == Sorted(kept, {"RA2MD.exe", kPanelExe}); }));
    EXPECT_EQ(panel.WaitForMessageBox(500).hwnd, nullptr);
    EXPECT_EQ(Label(panel), "Enabled");
    ExpectUnchanged(folder, kept);

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
