// The main window's commands and Game Options wired end to end in a game
// folder, with stand-ins for RA2MD.exe and RockPatch.exe (the core tests cover
// the files and the settings' logic), down to the files and INI text written.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/ui/panel.h"

namespace {

using namespace game_files;

std::vector<std::string> Sorted(std::vector<std::string> names, std::vector<std::string> more) {
    names.insert(names.end(), more.begin(), more.end());
    std::sort(names.begin(), names.end());
    return names;
}

void ExpectData(const TempFolder& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names) EXPECT_TRUE(folder.Read(name) == Data(name)) << name;
}

// A press moves the ten files and changes the state label, in a folder of
// non-English letters; Disable moves files large enough for the task bar to
// show progress. Then Exit, by Alt+X or click, ends the panel.
TEST(MainWindowUi, EnableAndDisableByAccessKeyAndClickThenExit) {
    const std::vector<std::string> bystanders = {"RA2MD.ini", "marrowgate80.pkt", "merged01.pkt.Zarn"};
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
        Panel panel(folder);
        if (enable) Keys(panel.main(), {VK_MENU, 'E'});
        if (!enable) Click(panel.Main("Command3"));
        EXPECT_TRUE(WaitUntil([&] {
            return TextOf(panel.Main("visual")) == (enable ? "Enabled" : "Disabled");
        }, 60000));
        EXPECT_EQ(folder.Names(), Sorted(targets, {}));
        for (std::size_t i = 0; i < targets.size(); ++i)
            EXPECT_TRUE(folder.Read(targets[i]) == (i < 3 ? Data(targets[i]) : data(kModFiles[i - 3]))) << targets[i];
        if (enable) Keys(panel.main(), {VK_MENU, 'X'});
        if (!enable) Click(panel.Main("Command5"));
        EXPECT_TRUE(panel.Ended()) << "Exit";
        EXPECT_FALSE(panel.FindBox(0));
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
    Panel panel(folder);
    std::vector<std::string> names = folder.Names();
    Click(panel.Main("Uninstall"));
    HWND box = panel.Box(kQuestion, {"&Yes", "&No"});
    ASSERT_NE(box, nullptr);
    // Wine answers DM_GETDEFID on this box with IDOK, which it has not: the buttons are asked.
    EXPECT_EQ(GetWindowLongW(GetDlgItem(box, IDYES), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongW(GetDlgItem(box, IDNO), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(FocusOf(box), GetDlgItem(box, IDYES));
    Keys(box, {'N'});
    EXPECT_TRUE(WaitGone(box));
    EXPECT_FALSE(panel.FindBox(500)) << "nothing more after No";
    EXPECT_EQ(folder.Names(), names);
    ExpectData(folder, kUninstallFiles);

    Click(panel.Main("Uninstall"));
    Keys(panel.Box(kQuestion, {"&Yes", "&No"}), {VK_RETURN});
    Started started;
    ASSERT_TRUE(WaitStarted(folder, "RockPatch.exe", &started));
    EXPECT_EQ(started.command_line + "|" + started.show, folder.File("RockPatch.exe") + "|1");
    box = panel.Box(kPatchDone);
    EXPECT_EQ(folder.Names(), Sorted(kept, {"RockPatch.exe", "RockPatch.exe.started.txt"}));
    ASSERT_TRUE(WaitEnded("RockPatch.exe"));
    Keys(box, {VK_RETURN});
    EXPECT_TRUE(panel.Ended());
    EXPECT_EQ(folder.Names(), Sorted(kept, {"RockPatch.exe.started.txt"}));
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
    Panel panel(folder);
    ASSERT_EQ(TextOf(panel.Main("visual")), "Enabled");
    ASSERT_TRUE(DeleteFileW(Widen(folder.File("expandmd81.mix")).c_str()));
    Click(panel.Main("Clean"));
    EXPECT_TRUE(WaitUntil([&] { return folder.Names() == Sorted(kept, {"RA2MD.exe"}); }));
    EXPECT_FALSE(panel.FindBox(500));
    EXPECT_EQ(TextOf(panel.Main("visual")), "Enabled");
    ExpectData(folder, kept);

    wchar_t here[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, here);
    SetCurrentDirectoryW(Widen(elsewhere.path()).c_str());
    Keys(panel.main(), {VK_MENU, 'L'});
    Started started;
    bool began = WaitStarted(folder, "RA2MD.exe", &started);
    SetCurrentDirectoryW(here);
    ASSERT_TRUE(began);
    EXPECT_EQ(started.command_line + "|" + started.show + "|" + started.directory,
              folder.File("RA2MD.exe") + "|2|" + elsewhere.path()) << "command line, show state, directory";
    EXPECT_TRUE(panel.Ended());
    EXPECT_TRUE(WaitEnded("RA2MD.exe"));
    EXPECT_EQ(folder.Names(), Sorted(kept, {"RA2MD.exe", "RA2MD.exe.started.txt"}));
}

// Game Options shows the file, switches, scrolls, types and saves, down to the INI text.
TEST(GameOptionsUi, ShowsTheFileSwitchesScrollsTypesAndSaves) {
    TempFolder folder;
    HWND dialog = nullptr;
    auto item = [&](std::string name) { return Control(dialog, layout::kGameOptions, name.c_str()); };
    auto shown = [&] {  // the four switches' states, each slider and its box, the resolution
        std::string s;
        for (const char* label : {"NAS", "EVBBS", "EVSS", "EHRS"}) s += TextOf(item(label)) + "|";
        for (std::string i : {"1", "2", "3"})
            s += std::to_string(GetScrollPos(item("HScroll" + i), SB_CTL)) + " " +
                 TextOf(item("Text" + i)) + "|";
        return s + TextOf(item("Combo1"));
    };
    auto close = [&](const char* button) {  // null: by the title bar
        if (button) SendMessageW(item(button), BM_CLICK, 0, 0);
        if (!button) PostMessageW(dialog, WM_CLOSE, 0, 0);
        return WaitGone(dialog);
    };
    // The real scroll bar keeps a volume out of range at its end, and the box
    // shows where it put it; one that is no number leaves the box empty.
    const std::string odd = "[Audio]\r\nSoundVolume=1.5\r\nVoiceVolume=-0.2\r\n"
                            "ScoreVolume=Error\r\n[Video]\r\nScreenWidth=1024\r\nScreenHeight=\r\n";
    folder.Write("RA2MD.ini", odd);
    Panel panel(folder);
    ASSERT_NE(dialog = panel.Open(layout::kGameOptions), nullptr);
    EXPECT_EQ(shown(), "Sound Off|Off|Off|Off|100 100|0 0|0 |1024xError");
    ASSERT_TRUE(close(nullptr));
    EXPECT_EQ(folder.Read("RA2MD.ini"), odd) << "loading writes nothing";

    const std::string ini = "[Options]\r\nGameSpeed=2\r\n[Audio]\r\nSoundVolume=0.500000\r\nVoiceVolume=0.700000"
        "\r\nScoreVolume=0.400000\r\nInGameMusic=yes\r\n[Video]\r\nAllowHiResModes=yes\r\nVideoBackBuffer=yes"
        "\r\nAllowVRAMSidebar=yes\r\nScreenWidth=800\r\nScreenHeight=600\r\n";
    folder.Write("RA2MD.ini", ini);
    ASSERT_NE(dialog = panel.Open(layout::kGameOptions), nullptr);
    EXPECT_EQ(shown(), "Sound On|On|On|On|50 50|70 70|40 40|800x600");
    // "Enable &VRAM Sidebar" and "Enable Video &Back Buffer" focus the next
    // control, the first slider; Alt+X is not Exit while the dialog is up.
    for (char letter : {'V', 'B'}) {
        Keys(dialog, {VK_TAB});  // off the slider first
        EXPECT_NE(FocusOf(dialog), item("HScroll1"));
        Keys(dialog, {VK_MENU, (WORD)letter});
        EXPECT_EQ(FocusOf(dialog), item("HScroll1")) << "Alt+" << letter;
        Keys(dialog, {VK_MENU, 'X'});
    }
    EXPECT_TRUE(IsWindow(dialog));
    // Arrows, page areas, thumb (not while dragged), within 0 to 100; the box follows.
    const int steps[][3] = {  // code, thumb position, the slider's position after
        {SB_LINERIGHT, 0, 51}, {SB_PAGERIGHT, 0, 61}, {SB_LINELEFT, 0, 60}, {SB_PAGELEFT, 0, 50},
        {SB_THUMBTRACK, 20, 50}, {SB_THUMBTRACK, 70, 50}, {SB_THUMBPOSITION, 70, 70}, {SB_ENDSCROLL, 0, 70},
        {SB_THUMBPOSITION, 95, 95}, {SB_PAGERIGHT, 0, 100}, {SB_LINERIGHT, 0, 100}, {SB_LEFT, 0, 0},
        {SB_LINELEFT, 0, 0}, {SB_RIGHT, 0, 100}};
    for (const auto& s : steps) {
        SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(s[0], s[1]), (LPARAM)item("HScroll1"));
        std::string v = std::to_string(s[2]);
        EXPECT_EQ(shown(), "Sound On|On|On|On|" + v + " " + v + "|70 70|40 40|800x600")
            << "code " << s[0] << " to " << v;
    }
    SetWindowTextW(item("Text2"), L"33");  // leaves its slider where it was
    SetWindowTextW(item("Combo1"), L"640x480");
    EXPECT_EQ(shown(), "Sound On|On|On|On|100 100|70 33|40 40|640x480");
    EXPECT_EQ(folder.Read("RA2MD.ini"), ini) << "sliders and boxes write nothing";
    // Each switch writes its key at once and shows its state.
    const char* switches[][6] = {  // "0" and "1", the key, the label and its captions
        {"NA", "NAo", "InGameMusic", "NAS", "Sound Off", "Sound On"},
        {"EVBB", "EVBBo", "VideoBackBuffer", "EVBBS", "Off", "On"},
        {"EVS", "EVSo", "AllowVRAMSidebar", "EVSS", "Off", "On"},
        {"EHR", "EHRo", "AllowHiResModes", "EHRS", "Off", "On"}};
    for (const auto& s : switches)
        for (int on : {0, 1}) {
            SendMessageW(item(s[on]), BM_CLICK, 0, 0);
            EXPECT_NE(folder.Read("RA2MD.ini").find(s[2] + std::string(on ? "=yes\r\n" : "=no\r\n")),
                      std::string::npos) << s[on];
            EXPECT_EQ(TextOf(item(s[3])), s[4 + on]) << s[on];
        }
    // Closed without saving: the switches' writes, each key in its place, stay; nothing typed does.
    ASSERT_TRUE(close(nullptr));
    EXPECT_EQ(folder.Read("RA2MD.ini"), ini);

    ASSERT_NE(dialog = panel.Open(layout::kGameOptions), nullptr);
    EXPECT_EQ(shown(), "Sound On|On|On|On|50 50|70 70|40 40|800x600");
    SetWindowTextW(item("Text1"), L"150");
    SetWindowTextW(item("Text2"), L"7");
    SendMessageW(dialog, WM_HSCROLL, SB_PAGERIGHT, (LPARAM)item("HScroll3"));
    SetWindowTextW(item("Combo1"), L"1280x960");
    ASSERT_TRUE(close("Command1"));  // "Save And Close"
    Sleep(100);
    EXPECT_TRUE(IsWindowEnabled(panel.main()));
    EXPECT_EQ(folder.Read("RA2MD.ini"), "[Options]\r\nGameSpeed=2\r\n[Audio]\r\nSoundVolume=1.5\r\nVoiceVolume="
              "0.07\r\nScoreVolume=0.5\r\nInGameMusic=yes\r\n[Video]\r\nAllowHiResModes=yes\r\nVideoBackBuffer="
              "yes\r\nAllowVRAMSidebar=yes\r\nScreenWidth=1280\r\nScreenHeight=960\r\n");
    ASSERT_NE(dialog = panel.Open(layout::kGameOptions), nullptr);
    EXPECT_EQ(shown(), "Sound On|On|On|On|100 100|7 7|50 50|1280x960") << "150: the slider's end";
}

}  // namespace
