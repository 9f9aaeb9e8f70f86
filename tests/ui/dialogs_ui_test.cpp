// The real Game Options, About and Help windows under Wine: frames, controls
// and colours as laid out, and the modal hold on the main window. Of the
// Game Options behaviour, what only the real window shows: its buttons and
// scroll bars at work, what a real slider does with a value out of range,
// the access keys and the message boxes. The core tests cover the settings
// file's logic in full.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/layout.h"
#include "tests/ui/panel_process.h"

namespace {

// The game's settings file as most tests start from it.
const char kGameIni[] =
    "[Options]\r\nGameSpeed=2\r\n"
    "[Audio]\r\nSoundVolume=0.500000\r\nVoiceVolume=0.700000\r\nScoreVolume=0.400000\r\n"
    "InGameMusic=yes\r\n"
    "[Video]\r\nAllowHiResModes=no\r\nVideoBackBuffer=yes\r\nAllowVRAMSidebar=no\r\n"
    "ScreenWidth=800\r\nScreenHeight=600\r\nStretchMovies=yes\r\n";

std::string ReadKey(const TempFolder& folder, const char* section, const char* key) {
    wchar_t buf[128];
    GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"(none)", buf, 128,
                             Widen(folder.File("RA2MD.ini")).c_str());
    return Narrow(WString(buf));
}

// Presses the main window's button and waits for the modal window it opens.
HWND Open(const PanelProcess& panel, const char* button = "Command7",
          const char* caption = "Game Options") {
    PanelProcess::Click(panel.Main(button));
    return panel.WaitForWindow(caption);
}

HWND Item(HWND dialog, const char* name) {
    return PanelProcess::Control(dialog, layout::kGameOptions, name);
}

// A press that runs to its end before this returns (no message box may come).
void Press(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void Scroll(HWND dialog, HWND bar, WORD code, WORD pos = 0) {
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(code, pos), (LPARAM)bar);
}

// Types `text` into a box as keys would, replacing what it held.
void Type(HWND box, const char* text) {
    SendMessageW(box, EM_SETSEL, 0, -1);
    SendMessageW(box, WM_CHAR, VK_BACK, 0);
    for (const char* p = text; *p; ++p) SendMessageW(box, WM_CHAR, (WPARAM)*p, 0);
}

COLORREF PixelAt(HWND window, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(window, &p);
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, p.x, p.y);
    ReleaseDC(nullptr, dc);
    return c;
}

TEST(DialogsUi, FramesControlsAndColoursAreAsLaidOut) {
    enum Close { kTitleBar, kOkButton, kAltC };
    struct Case {
        const layout::Form& form;
        const char* button;  // of the main window
        COLORREF back;       // the window's own background
        POINT bare;          // a spot of it no control covers, in twips
        Close close;
    } cases[] = {
        {layout::kGameOptions, "Command7", RGB(0, 0, 0), {3600, 60}, kTitleBar},
        {layout::kAbout, "Command4", GetSysColor(COLOR_BTNFACE), {3600, 1000}, kOkButton},
        {layout::kHelp, "Command6", RGB(0, 0, 0), {1000, 3000}, kAltC},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form.name);
        TempFolder folder("Red Alert 2");
        folder.Write("RA2MD.ini", kGameIni);
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr);
        HWND w = Open(panel, c.button, c.form.caption);
        ASSERT_NE(w, nullptr);
        Sleep(200);  // let it paint and take the focus
        UINT dpi = panel.Dpi();
        ExpectLaidOut(w, c.form, dpi);
        EXPECT_EQ(GetWindow(w, GW_OWNER), panel.main());
        EXPECT_FALSE(IsWindowEnabled(panel.main())) << "the main window takes no input";
        int x = layout::Pixels(c.bare.x, (int)dpi), y = layout::Pixels(c.bare.y, (int)dpi);
        EXPECT_EQ(PixelAt(w, x, y), c.back);

        // Closing gives the main window back its input.
        if (c.close == kTitleBar) PostMessageW(w, WM_CLOSE, 0, 0);
        if (c.close == kOkButton) PanelProcess::Click(PanelProcess::Control(w, c.form, "Command1"));
        if (c.close == kAltC) PressKeys(w, {VK_MENU, 'C'});  // "&Close Help"
        EXPECT_TRUE(WaitGone(w));
        Sleep(100);
        EXPECT_TRUE(IsWindowEnabled(panel.main()));
        EXPECT_EQ(GetForegroundWindow(), panel.main());
        EXPECT_TRUE(panel.Running());
        EXPECT_EQ(folder.Read("RA2MD.ini"), kGameIni) << "opening and closing write nothing";
        EXPECT_EQ(folder.Names().size(), 2u);
    }
}

// "Enable &VRAM Sidebar" and "Enable Video &Back Buffer": the next control
// that takes the focus is the first slider; Alt+X is not the main window's
// Exit while the dialog is up.
TEST(GameOptionsUi, TheLabelsAccessKeysFocusTheFirstSlider) {
    TempFolder folder;
    folder.Write("RA2MD.ini", kGameIni);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    HWND w = Open(panel);
    ASSERT_NE(w, nullptr);
    Sleep(200);
    for (char letter : {'V', 'B'}) {
        PressKeys(w, {VK_TAB});  // off the slider first
        Sleep(200);
        EXPECT_NE(FocusOf(w), Item(w, "HScroll1"));
        PressKeys(w, {VK_MENU, (WORD)letter});
        Sleep(200);
        EXPECT_EQ(FocusOf(w), Item(w, "HScroll1")) << "Alt+" << letter;
        PressKeys(w, {VK_MENU, 'X'});
        Sleep(200);
    }
    EXPECT_TRUE(panel.Running());
    EXPECT_TRUE(IsWindow(w));
}

// The real scroll bar keeps a value out of range at its end, and the box
// shows where it put it.
TEST(GameOptionsUi, LoadsWhatTheSettingsFileHolds) {
    struct Case {
        const char* ini;
        const char* labels[4];  // NAS, EVBBS, EVSS, EHRS
        int positions[3];
        const char* boxes[3];
        const char* combo;
    } cases[] = {
        {"[Audio]\r\nInGameMusic=yes\r\nSoundVolume=1\r\nVoiceVolume=0.5\r\nScoreVolume=0\r\n"
         "[Video]\r\nAllowHiResModes=yes\r\nAllowVRAMSidebar=yes\r\nVideoBackBuffer=yes\r\n"
         "ScreenWidth=800\r\nScreenHeight=600\r\n",
         {"Sound On", "On", "On", "On"}, {100, 50, 0}, {"100", "50", "0"}, "800x600"},
        {"[Audio]\r\nSoundVolume=1.5\r\nVoiceVolume=-0.2\r\nScoreVolume=Error\r\n"
         "[Video]\r\nScreenWidth=1024\r\nScreenHeight=\r\n",
         {"Sound Off", "Off", "Off", "Off"}, {100, 0, 0}, {"100", "0", ""}, "1024xError"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.combo);
        TempFolder folder;
        folder.Write("RA2MD.ini", c.ini);
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr);
        HWND w = Open(panel);
        ASSERT_NE(w, nullptr);
        const char* labels[] = {"NAS", "EVBBS", "EVSS", "EHRS"};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(TextOf(Item(w, labels[i])), c.labels[i]) << labels[i];
        const char* bars[] = {"HScroll1", "HScroll2", "HScroll3"};
        const char* boxes[] = {"Text1", "Text2", "Text3"};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(GetScrollPos(Item(w, bars[i]), SB_CTL), c.positions[i]) << bars[i];
            EXPECT_EQ(TextOf(Item(w, boxes[i])), c.boxes[i]) << boxes[i];
        }
        EXPECT_EQ(TextOf(Item(w, "Combo1")), c.combo);
        EXPECT_EQ(folder.Read("RA2MD.ini"), c.ini) << "loading writes nothing";
    }
}

TEST(GameOptionsUi, EachSwitchButtonWritesAtOnce) {
    struct Case {
        const char* button;
        const char* section;
        const char* key;
        const char* value;
        const char* label;
        const char* caption;
    } cases[] = {
        {"NA", "Audio", "InGameMusic", "no", "NAS", "Sound Off"},
        {"NAo", "Audio", "InGameMusic", "yes", "NAS", "Sound On"},
        {"EVBB", "Video", "VideoBackBuffer", "no", "EVBBS", "Off"},
        {"EVBBo", "Video", "VideoBackBuffer", "yes", "EVBBS", "On"},
        {"EVS", "Video", "AllowVRAMSidebar", "no", "EVSS", "Off"},
        {"EVSo", "Video", "AllowVRAMSidebar", "yes", "EVSS", "On"},
        {"EHR", "Video", "AllowHiResModes", "no", "EHRS", "Off"},
        {"EHRo", "Video", "AllowHiResModes", "yes", "EHRS", "On"},
    };
    TempFolder folder;
    folder.Write("RA2MD.ini", "[Options]\r\nGameSpeed=2\r\n");
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    HWND w = Open(panel);
    ASSERT_NE(w, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        Press(Item(w, c.button));
        EXPECT_EQ(ReadKey(folder, c.section, c.key), c.value);
        EXPECT_EQ(TextOf(Item(w, c.label)), c.caption);
    }
    EXPECT_EQ(ReadKey(folder, "Options", "GameSpeed"), "2");
    // Closed without saving: the switches' writes stay.
    PostMessageW(w, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitGone(w));
    EXPECT_EQ(ReadKey(folder, "Audio", "InGameMusic"), "yes");
    EXPECT_EQ(ReadKey(folder, "Audio", "SoundVolume"), "(none)") << "closing saves no volume";
}

TEST(GameOptionsUi, ScrollMessagesMoveTheSliderAndItsBoxOnly) {
    TempFolder folder;
    folder.Write("RA2MD.ini", kGameIni);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    HWND w = Open(panel);
    ASSERT_NE(w, nullptr);
    HWND bar = Item(w, "HScroll1"), box = Item(w, "Text1");
    struct Step {
        WORD code, pos;
        int value;
        const char* text;
    } steps[] = {
        {SB_LINERIGHT, 0, 51, "51"},  {SB_PAGERIGHT, 0, 61, "61"},
        {SB_LINELEFT, 0, 60, "60"},   {SB_PAGELEFT, 0, 50, "50"},
        {SB_THUMBTRACK, 20, 50, "50"},  // nothing while the thumb is dragged
        {SB_THUMBTRACK, 70, 50, "50"},  {SB_THUMBPOSITION, 70, 70, "70"},
        {SB_ENDSCROLL, 0, 70, "70"},  {SB_THUMBPOSITION, 95, 95, "95"},
        {SB_PAGERIGHT, 0, 100, "100"}, {SB_LINERIGHT, 0, 100, "100"},
        {SB_LEFT, 0, 0, "0"},         {SB_LINELEFT, 0, 0, "0"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "code " << s.code << " to " << s.value);
        Scroll(w, bar, s.code, s.pos);
        EXPECT_EQ(GetScrollPos(bar, SB_CTL), s.value);
        EXPECT_EQ(TextOf(box), s.text);
    }
    int min = -1, max = -1;
    GetScrollRange(bar, SB_CTL, &min, &max);
    EXPECT_EQ(min, 0);
    EXPECT_EQ(max, 100);
    EXPECT_EQ(TextOf(Item(w, "Text2")), "70");
    EXPECT_EQ(TextOf(Item(w, "Text3")), "40");

    // Typing into a box leaves its slider where it was.
    Type(Item(w, "Text2"), "33");
    EXPECT_EQ(TextOf(Item(w, "Text2")), "33");
    EXPECT_EQ(GetScrollPos(Item(w, "HScroll2"), SB_CTL), 70);
    EXPECT_EQ(folder.Read("RA2MD.ini"), kGameIni) << "sliders write nothing";
}

TEST(GameOptionsUi, SaveStoresWhatWasTypedAndReopeningShowsIt) {
    TempFolder folder;
    folder.Write("RA2MD.ini", kGameIni);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);

    // Typed and closed without saving: gone at the next opening.
    HWND w = Open(panel);
    ASSERT_NE(w, nullptr);
    Type(Item(w, "Text1"), "11");
    SetWindowTextW(Item(w, "Combo1"), L"640x480");
    PostMessageW(w, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitGone(w));
    EXPECT_EQ(folder.Read("RA2MD.ini"), kGameIni);

    w = Open(panel);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(TextOf(Item(w, "Text1")), "50");
    EXPECT_EQ(TextOf(Item(w, "Combo1")), "800x600");
    Type(Item(w, "Text1"), "150");
    Type(Item(w, "Text2"), "7");
    Scroll(w, Item(w, "HScroll3"), SB_PAGERIGHT);
    SetWindowTextW(Item(w, "Combo1"), L"1280x960");
    Press(Item(w, "Command1"));
    ASSERT_TRUE(WaitGone(w));
    EXPECT_EQ(ReadKey(folder, "Audio", "SoundVolume"), "1.5");
    EXPECT_EQ(ReadKey(folder, "Audio", "VoiceVolume"), "0.07");
    EXPECT_EQ(ReadKey(folder, "Audio", "ScoreVolume"), "0.5");
    EXPECT_EQ(ReadKey(folder, "Video", "ScreenWidth"), "1280");
    EXPECT_EQ(ReadKey(folder, "Video", "ScreenHeight"), "960");
    Sleep(100);
    EXPECT_TRUE(IsWindowEnabled(panel.main()));

    w = Open(panel);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(TextOf(Item(w, "Text1")), "100") << "150 puts the slider at its end";
    EXPECT_EQ(GetScrollPos(Item(w, "HScroll1"), SB_CTL), 100);
    EXPECT_EQ(TextOf(Item(w, "Text2")), "7");
    EXPECT_EQ(TextOf(Item(w, "Text3")), "50");
    EXPECT_EQ(TextOf(Item(w, "Combo1")), "1280x960");
}

TEST(GameOptionsUi, AVolumeThatIsNoNumberIsNamedAndTheDialogStays) {
    TempFolder folder;
    folder.Write("RA2MD.ini", kGameIni);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    HWND w = Open(panel);
    ASSERT_NE(w, nullptr);
    Type(Item(w, "Text1"), "80");
    Type(Item(w, "Text2"), "abc");
    PanelProcess::Click(Item(w, "Command1"));
    MessageBoxSeen box = panel.WaitForMessageBox();
    ExpectPanelBox(box, "\"Voice Volume\" is not a number: \"abc\".");
    AnswerAndWait(box);
    EXPECT_TRUE(IsWindow(w));
    EXPECT_FALSE(IsWindowEnabled(panel.main()));
    EXPECT_EQ(ReadKey(folder, "Audio", "SoundVolume"), "0.8");
    EXPECT_EQ(ReadKey(folder, "Audio", "VoiceVolume"), "0.700000");
}

TEST(GameOptionsUi, WithoutTheSettingsFileTheButtonShowsTheMessageOnly) {
    TempFolder folder;
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    PanelProcess::Click(panel.Main("Command7"));
    MessageBoxSeen box = panel.WaitForMessageBox();
    ExpectPanelBox(box, "Please Place Controll Panal Exe into Yr Folder");
    EXPECT_EQ(panel.WaitForWindow("Game Options", 300), nullptr);
    AnswerAndWait(box);
    EXPECT_EQ(panel.WaitForWindow("Game Options", 300), nullptr);
    EXPECT_EQ(folder.Names().size(), 1u) << "only the panel itself";
}

}  // namespace
