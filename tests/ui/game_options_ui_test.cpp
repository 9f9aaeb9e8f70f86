// The real Game Options window under Wine wired to the settings file (whose
// logic the core tests cover), down to the INI text its controls write.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/ui/panel_process.h"

namespace {

HWND g_dialog;
HWND Item(const char* name) { return Control(g_dialog, layout::kGameOptions, name); }
void Scroll(const char* bar, WORD code, WORD pos = 0) {
    SendMessageW(g_dialog, WM_HSCROLL, MAKEWPARAM(code, pos), (LPARAM)Item(bar));
}
void Type(const char* box, const wchar_t* text) { SetWindowTextW(Item(box), text); }

// The four switches' states, each slider's position and its box, the resolution.
std::string Shown() {
    std::string s;
    for (const char* label : {"NAS", "EVBBS", "EVSS", "EHRS"}) s += TextOf(Item(label)) + "|";
    for (std::string i : {"1", "2", "3"})
        s += std::to_string(GetScrollPos(Item(("HScroll" + i).c_str()), SB_CTL)) + " " +
             TextOf(Item(("Text" + i).c_str())) + "|";
    return s + TextOf(Item("Combo1"));
}

TEST(GameOptionsUi, ShowsTheFileSwitchesScrollsTypesAndSaves) {
    TempFolder folder;
    // The real scroll bar keeps a volume out of range at its end, and the box
    // shows where it put it; one that is no number leaves the box empty.
    const std::string odd = "[Audio]\r\nSoundVolume=1.5\r\nVoiceVolume=-0.2\r\n"
                            "ScoreVolume=Error\r\n[Video]\r\nScreenWidth=1024\r\nScreenHeight=\r\n";
    folder.Write("RA2MD.ini", odd);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    ASSERT_NE(g_dialog = panel.Open(layout::kGameOptions), nullptr);
    EXPECT_EQ(Shown(), "Sound Off|Off|Off|Off|100 100|0 0|0 |1024xError");
    PostMessageW(g_dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitGone(g_dialog));
    EXPECT_EQ(folder.Read("RA2MD.ini"), odd) << "loading writes nothing";

    const std::string ini =
        "[Options]\r\nGameSpeed=2\r\n[Audio]\r\nSoundVolume=0.500000\r\nVoiceVolume=0.700000\r\n"
        "ScoreVolume=0.400000\r\nInGameMusic=yes\r\n[Video]\r\nAllowHiResModes=yes\r\n"
        "VideoBackBuffer=yes\r\nAllowVRAMSidebar=yes\r\nScreenWidth=800\r\nScreenHeight=600\r\n";
    folder.Write("RA2MD.ini", ini);
    ASSERT_NE(g_dialog = panel.Open(layout::kGameOptions), nullptr);
    EXPECT_EQ(Shown(), "Sound On|On|On|On|50 50|70 70|40 40|800x600");
    // "Enable &VRAM Sidebar" and "Enable Video &Back Buffer" focus the next
    // control, the first slider; Alt+X is not Exit while the dialog is up.
    for (char letter : {'V', 'B'}) {
        PressKeys(g_dialog, {VK_TAB});  // off the slider first
        EXPECT_NE(FocusOf(g_dialog), Item("HScroll1"));
        PressKeys(g_dialog, {VK_MENU, (WORD)letter});
        EXPECT_EQ(FocusOf(g_dialog), Item("HScroll1")) << "Alt+" << letter;
        PressKeys(g_dialog, {VK_MENU, 'X'});
    }
    EXPECT_TRUE(IsWindow(g_dialog));

    // Arrows, page areas, thumb (not while dragged), within 0 to 100; the box follows.
    const int steps[][3] = {  // code, thumb position, the slider's position after
        {SB_LINERIGHT, 0, 51},       {SB_PAGERIGHT, 0, 61},   {SB_LINELEFT, 0, 60},
        {SB_PAGELEFT, 0, 50},        {SB_THUMBTRACK, 20, 50}, {SB_THUMBTRACK, 70, 50},
        {SB_THUMBPOSITION, 70, 70},  {SB_ENDSCROLL, 0, 70},   {SB_THUMBPOSITION, 95, 95},
        {SB_PAGERIGHT, 0, 100},      {SB_LINERIGHT, 0, 100},  {SB_LEFT, 0, 0},
        {SB_LINELEFT, 0, 0},         {SB_RIGHT, 0, 100}};
    for (const auto& s : steps) {
        Scroll("HScroll1", (WORD)s[0], (WORD)s[1]);
        std::string v = std::to_string(s[2]);
        EXPECT_EQ(Shown(), "Sound On|On|On|On|" + v + " " + v + "|70 70|40 40|800x600")
            << "code " << s[0] << " to " << v;
    }
    Type("Text2", L"33");  // leaves its slider where it was
    Type("Combo1", L"640x480");
    EXPECT_EQ(Shown(), "Sound On|On|On|On|100 100|70 33|40 40|640x480");
    EXPECT_EQ(folder.Read("RA2MD.ini"), ini) << "sliders and boxes write nothing";

    // Each switch writes its key at once and shows its state.
    const char* switches[][6] = {  // "0" and "1", the key, the label and its captions
        {"NA", "NAo", "InGameMusic", "NAS", "Sound Off", "Sound On"},
        {"EVBB", "EVBBo", "VideoBackBuffer", "EVBBS", "Off", "On"},
        {"EVS", "EVSo", "AllowVRAMSidebar", "EVSS", "Off", "On"},
        {"EHR", "EHRo", "AllowHiResModes", "EHRS", "Off", "On"}};
    for (const auto& s : switches) {
        for (int on : {0, 1}) {
            SendMessageW(Item(s[on]), BM_CLICK, 0, 0);
            std::string written = std::string(s[2]) + (on ? "=yes\r\n" : "=no\r\n");
            EXPECT_NE(folder.Read("RA2MD.ini").find(written), std::string::npos) << s[on];
            EXPECT_EQ(TextOf(Item(s[3])), s[4 + on]) << s[on];
        }
    }
    // Closed without saving: the switches' writes, each key in its place, stay; nothing typed does.
    PostMessageW(g_dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitGone(g_dialog));
    EXPECT_EQ(folder.Read("RA2MD.ini"), ini);

    ASSERT_NE(g_dialog = panel.Open(layout::kGameOptions), nullptr);
    EXPECT_EQ(Shown(), "Sound On|On|On|On|50 50|70 70|40 40|800x600");
    Type("Text1", L"150");
    Type("Text2", L"7");
    Scroll("HScroll3", SB_PAGERIGHT);
    Type("Combo1", L"1280x960");
    SendMessageW(Item("Command1"), BM_CLICK, 0, 0);  // "Save And Close"
    ASSERT_TRUE(WaitGone(g_dialog));
    Sleep(100);
    EXPECT_TRUE(IsWindowEnabled(panel.main()));
    EXPECT_EQ(folder.Read("RA2MD.ini"),
              "[Options]\r\nGameSpeed=2\r\n[Audio]\r\nSoundVolume=1.5\r\nVoiceVolume=0.07\r\n"
              "ScoreVolume=0.5\r\nInGameMusic=yes\r\n[Video]\r\nAllowHiResModes=yes\r\n"
              "VideoBackBuffer=yes\r\nAllowVRAMSidebar=yes\r\nScreenWidth=1280\r\n"
              "ScreenHeight=960\r\n");
    ASSERT_NE(g_dialog = panel.Open(layout::kGameOptions), nullptr);
    EXPECT_EQ(Shown(), "Sound On|On|On|On|100 100|7 7|50 50|1280x960") << "150: the slider's end";
}

}  // namespace
