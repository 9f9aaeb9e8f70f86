// The real Game Options, About and Help windows under Wine: frames,
// controls and colours as laid out; loading from and saving to real
// RA2MD.ini files; the switch buttons and scroll messages; the texts; and
// the modal hold on the main window.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/layout.h"
#include "app/win/wide.h"
#include "tests/ui/panel_process.h"

namespace {

const layout::Form& kOptions = layout::kGameOptions;

const char kHelpText[] =
    "Marrowgate : Zeal and Rising Nations is a Mod for Yuri's Revenge, the mission \r\n"
    "CD for Red Alert 2.\r\n"
    "this mod is known as a partial addition mod because not only does it improve \r\n"
    "the existing sides but it also adds a whole new side, M:ZARN to Yuri's revenge \r\n"
    "is like yuri's revenge to RA2\r\n"
    "In this version of the mod, the CDA side is almost completey functional, \r\n"
    "although there is plenty of graphics work to be added. the CDA AI needs a lot \r\n"
    "of work, so avoid an AI controled CDA side in this release.\r\n"
    "also the sound plugin is on its way to completion, there is no delivery system for \r\n"
    "this plug in as of yet, so you will need to either add it manually or install it \r\n"
    "following the instuctions very carefully\r\n"
    "this mod is created by Marrowgate and ZDev, with help from others!\r\n";

// The game's settings file as most tests start from it.
const char kGameIni[] =
    "[Options]\r\nGameSpeed=2\r\n"
    "[Audio]\r\nSoundVolume=0.500000\r\nVoiceVolume=0.700000\r\nScoreVolume=0.400000\r\n"
    "InGameMusic=yes\r\n"
    "[Video]\r\nAllowHiResModes=no\r\nVideoBackBuffer=yes\r\nAllowVRAMSidebar=no\r\n"
    "ScreenWidth=800\r\nScreenHeight=600\r\nStretchMovies=yes\r\n";

std::string ExpectedClass(layout::Kind kind) {
    switch (kind) {
    case layout::Kind::kButton: return "Button";
    case layout::Kind::kLabel: return "Static";
    case layout::Kind::kTextBox:
    case layout::Kind::kMemo: return "Edit";
    case layout::Kind::kScrollBar: return "ScrollBar";
    case layout::Kind::kCombo: return "ComboBox";
    default: return "?";
    }
}

std::string ReadKey(const TempFolder& folder, const char* section, const char* key) {
    wchar_t buf[128];
    GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"(none)", buf, 128,
                             Widen(folder.File("RA2MD.ini")).c_str());
    return Narrow(WString(buf));
}

// Presses the main window's button and waits for the modal window it opens.
HWND Open(const PanelProcess& panel, const char* button, const char* caption) {
    PanelProcess::Click(PanelProcess::Control(panel.main(), layout::kFrm1, button));
    return panel.WaitForWindow(caption);
}

// A control's text through WM_GETTEXT: GetWindowText does not ask a
// control of another process, and edit controls keep their text themselves.
std::string TextOf(HWND control) {
    LRESULT n = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    WString w((std::size_t)n + 1, L'\0');
    n = SendMessageW(control, WM_GETTEXT, (WPARAM)w.size(), (LPARAM)&w[0]);
    w.resize((std::size_t)n);
    return Narrow(w);
}

// Whether a message box shows an icon. Wine leaves the empty icon static
// visible when there is none, so ask it for its icon.
bool ShowsIcon(HWND box) {
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(c) &&
            SendMessageW(c, STM_GETICON, 0, 0))
            return true;
    return false;
}

HWND Item(HWND dialog, const char* name) { return PanelProcess::Control(dialog, kOptions, name); }

// Waits until `window` has gone.
bool WaitGone(HWND window, DWORD ms = 5000) {
    for (DWORD start = GetTickCount(); IsWindow(window);) {
        if (GetTickCount() - start >= ms) return false;
        Sleep(20);
    }
    return true;
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

void PressAlt(HWND window, char letter) {
    SetForegroundWindow(window);
    Sleep(50);
    INPUT in[4] = {};
    WORD keys[4] = {VK_MENU, (WORD)letter, (WORD)letter, VK_MENU};
    for (int i = 0; i < 4; ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = keys[i];
        in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, in, sizeof(INPUT));
}

void PressKey(HWND window, WORD key) {
    SetForegroundWindow(window);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = key;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

HWND Focus(HWND window) {
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
    return gui.hwndFocus;
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
    struct Case {
        const layout::Form& form;
        const char* button;  // of the main window
        bool placed;         // at the layout's position, not the system's
        bool modal_frame;    // dialog frame
        COLORREF back;       // the window's own background
        POINT bare;          // a spot of it no control covers, in twips
    } cases[] = {
        {layout::kGameOptions, "Command7", false, false, RGB(0, 0, 0), {3600, 60}},
        {layout::kAbout, "Command4", true, false, GetSysColor(COLOR_BTNFACE), {3600, 1000}},
        {layout::kHelp, "Command6", true, true, RGB(0, 0, 0), {1000, 3000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form.name);
        TempFolder folder("Red Alert 2");
        folder.Write("RA2MD.ini", kGameIni);
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr);
        HWND w = Open(panel, c.button, c.form.caption);
        ASSERT_NE(w, nullptr);
        Sleep(200);  // let it paint
        UINT dpi = panel.Dpi();
        auto px = [dpi](int twips) { return layout::Pixels(twips, (int)dpi); };

        LONG style = GetWindowLongW(w, GWL_STYLE);
        EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        EXPECT_EQ((GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME) != 0, c.modal_frame);
        EXPECT_EQ(ClassOf(w), "ZarnForm");
        EXPECT_EQ(GetWindow(w, GW_OWNER), panel.main());
        EXPECT_FALSE(IsWindowEnabled(panel.main())) << "the main window takes no input";

        RECT client;
        GetClientRect(w, &client);
        EXPECT_EQ(client.right, px(c.form.client_width));
        EXPECT_EQ(client.bottom, px(c.form.client_height));
        if (c.placed) {
            POINT origin = {0, 0};
            ClientToScreen(w, &origin);
            EXPECT_EQ(origin.x, px(c.form.left));
            EXPECT_EQ(origin.y, px(c.form.top));
        }

        for (std::size_t i = 0; i < c.form.count; ++i) {
            const layout::Control& row = c.form.controls[i];
            HWND h = PanelProcess::Control(w, c.form, row.name);
            if (row.kind == layout::Kind::kLine) {
                EXPECT_EQ(h, nullptr) << row.name << ": drawn, not a window";
                continue;
            }
            ASSERT_NE(h, nullptr) << row.name;
            EXPECT_EQ(ClassOf(h), ExpectedClass(row.kind)) << row.name;
            RECT r = RectInParent(h);
            EXPECT_EQ(r.left, px(row.left)) << row.name;
            EXPECT_EQ(r.top, px(row.top)) << row.name;
            EXPECT_EQ(r.right, px(row.left + row.width)) << row.name;
            if (row.kind != layout::Kind::kCombo) {  // its height follows its font
                EXPECT_EQ(r.bottom, px(row.top + row.height)) << row.name;
            }

            LONG cs = GetWindowLongW(h, GWL_STYLE);
            LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
            EXPECT_EQ((cs & WS_TABSTOP) != 0, row.tab_stop) << row.name;
            bool centred = (row.flags & layout::kCentred) != 0;
            switch (row.kind) {
            case layout::Kind::kButton:
                EXPECT_EQ(cs & 0x0F, BS_PUSHBUTTON) << row.name << ": never the default button";
                EXPECT_EQ(TextOf(h), row.caption) << row.name;
                break;
            case layout::Kind::kLabel:
                EXPECT_EQ(cs & SS_TYPEMASK, centred ? SS_CENTER : SS_LEFTNOWORDWRAP) << row.name;
                EXPECT_EQ((cs & WS_BORDER) != 0, (row.flags & layout::kBorder) != 0) << row.name;
                if (*row.caption) {
                    EXPECT_EQ(TextOf(h), row.caption) << row.name;
                }
                break;
            case layout::Kind::kTextBox:
                EXPECT_EQ(cs & (ES_MULTILINE | ES_CENTER), ES_CENTER) << row.name;
                EXPECT_TRUE(ex & WS_EX_CLIENTEDGE) << row.name;
                break;
            case layout::Kind::kMemo:
                EXPECT_EQ(cs & (ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL),
                          ES_MULTILINE | ES_READONLY | WS_VSCROLL)
                    << row.name << ": wraps at words";
                EXPECT_TRUE(ex & WS_EX_CLIENTEDGE) << row.name;
                break;
            case layout::Kind::kScrollBar:
                EXPECT_EQ(cs & SBS_VERT, 0) << row.name;
                break;
            case layout::Kind::kCombo: {
                EXPECT_EQ(cs & 3, CBS_DROPDOWN) << row.name << ": editable";
                std::vector<std::string> items;
                int n = (int)SendMessageW(h, CB_GETCOUNT, 0, 0);
                for (int k = 0; k < n; ++k) {
                    wchar_t item[32] = {};
                    SendMessageW(h, CB_GETLBTEXT, k, (LPARAM)item);
                    items.push_back(Narrow(WString(item)));
                }
                EXPECT_EQ(items, (std::vector<std::string>{"1280x1024", "1024x768", "800x600", "640x480"}));
                break;
            }
            default: break;
            }

        }
        HWND focus = Focus(w);
        EXPECT_EQ(focus, PanelProcess::Control(w, c.form, c.form.focus));
        EXPECT_EQ(PixelAt(w, px(c.bare.x), px(c.bare.y)), c.back);

        char name[64];
        snprintf(name, sizeof name, "%s-%udpi.bmp", c.form.name, dpi);
        EXPECT_TRUE(SaveScreenshot(w, name));

        // Closing from the title bar gives the main window back its input.
        PostMessageW(w, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitGone(w));
        Sleep(100);
        EXPECT_TRUE(IsWindowEnabled(panel.main()));
        EXPECT_EQ(GetForegroundWindow(), panel.main());
        EXPECT_TRUE(panel.Running());
    }
}

TEST(GameOptionsUi, TabOrderAndTheLabelsAccessKeys) {
    TempFolder folder;
    folder.Write("RA2MD.ini", kGameIni);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    HWND w = Open(panel, "Command7", "Game Options");
    ASSERT_NE(w, nullptr);
    Sleep(200);  // the focus is set just after the window shows
    EXPECT_EQ(Focus(w), Item(w, "EVBBo"));
    const char* order[] = {"EVSo", "NAo",  "EHRo",     "EVBB",  "EVS",   "NA",
                           "EHR",  "HScroll1", "Text1", "HScroll2", "HScroll3", "Text2",
                           "Text3", "Combo1", "Command1", "EVBBo"};
    HWND at = Item(w, "EVBBo");
    for (const char* next : order) {
        at = GetNextDlgTabItem(w, at, FALSE);
        // The combo box's focus goes to its edit field, a child of it.
        EXPECT_TRUE(at == Item(w, next) || GetParent(at) == Item(w, next)) << "expected " << next;
    }
    // "Enable &VRAM Sidebar" and "Enable Video &Back Buffer": the next
    // control that takes the focus is the first slider.
    for (char letter : {'V', 'B'}) {
        PressKey(w, VK_TAB);  // off the slider first
        Sleep(200);
        EXPECT_NE(Focus(w), Item(w, "HScroll1"));
        PressAlt(w, letter);
        Sleep(200);
        EXPECT_EQ(Focus(w), Item(w, "HScroll1")) << "Alt+" << letter;
        PressAlt(w, 'X');  // not the main window's Exit while the dialog is up
        Sleep(200);
    }
    EXPECT_TRUE(panel.Running());
    EXPECT_TRUE(IsWindow(w));
}

TEST(GameOptionsUi, LoadsWhatTheSettingsFileHolds) {
    struct Case {
        const char* what;
        const char* ini;
        const char* labels[4];  // NAS, EVBBS, EVSS, EHRS
        int positions[3];
        const char* boxes[3];
        const char* combo;
    } cases[] = {
        {"all yes", "[Audio]\r\nInGameMusic=yes\r\nSoundVolume=1\r\nVoiceVolume=0.5\r\nScoreVolume=0\r\n"
                    "[Video]\r\nAllowHiResModes=yes\r\nAllowVRAMSidebar=yes\r\nVideoBackBuffer=yes\r\n"
                    "ScreenWidth=800\r\nScreenHeight=600\r\n",
         {"Sound On", "On", "On", "On"}, {100, 50, 0}, {"100", "50", "0"}, "800x600"},
        {"capitalised Yes, keys missing", "[Video]\r\nAllowHiResModes=Yes\r\nScreenWidth=1024\r\n",
         {"Sound Off", "Off", "Off", "Off"}, {0, 0, 0}, {"", "", ""}, "1024xp"},
        {"halves", "[Audio]\r\nSoundVolume=0.125\r\nVoiceVolume=0.375\r\nScoreVolume=0.8\r\n"
                   "[Video]\r\nScreenWidth=1600\r\nScreenHeight=1200\r\n",
         {"Sound Off", "Off", "Off", "Off"}, {12, 38, 80}, {"12", "38", "80"}, "1600x1200"},
        {"empty height, volumes out of range",
         "[Audio]\r\nSoundVolume=1.5\r\nVoiceVolume=-0.2\r\nScoreVolume=Error\r\n"
         "[Video]\r\nScreenWidth=1024\r\nScreenHeight=\r\n",
         {"Sound Off", "Off", "Off", "Off"}, {100, 0, 0}, {"100", "0", ""}, "1024xError"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        folder.Write("RA2MD.ini", c.ini);
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr);
        HWND w = Open(panel, "Command7", "Game Options");
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
    HWND w = Open(panel, "Command7", "Game Options");
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
    HWND w = Open(panel, "Command7", "Game Options");
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
    HWND w = Open(panel, "Command7", "Game Options");
    ASSERT_NE(w, nullptr);
    Type(Item(w, "Text1"), "11");
    SetWindowTextW(Item(w, "Combo1"), L"640x480");
    PostMessageW(w, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitGone(w));
    EXPECT_EQ(folder.Read("RA2MD.ini"), kGameIni);

    w = Open(panel, "Command7", "Game Options");
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

    w = Open(panel, "Command7", "Game Options");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(TextOf(Item(w, "Text1")), "100") << "150 puts the slider at its end";
    EXPECT_EQ(GetScrollPos(Item(w, "HScroll1"), SB_CTL), 100);
    EXPECT_EQ(TextOf(Item(w, "Text2")), "7");
    EXPECT_EQ(TextOf(Item(w, "Text3")), "50");
    EXPECT_EQ(TextOf(Item(w, "Combo1")), "1280x960");

    // A resolution not of the list's form leaves both keys.
    SetWindowTextW(Item(w, "Combo1"), L"1024xp");
    Press(Item(w, "Command1"));
    ASSERT_TRUE(WaitGone(w));
    EXPECT_EQ(ReadKey(folder, "Video", "ScreenWidth"), "1280");
    EXPECT_EQ(ReadKey(folder, "Video", "ScreenHeight"), "960");
}

TEST(GameOptionsUi, AVolumeThatIsNoNumberIsNamedAndTheDialogStays) {
    TempFolder folder;
    folder.Write("RA2MD.ini", kGameIni);
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    HWND w = Open(panel, "Command7", "Game Options");
    ASSERT_NE(w, nullptr);
    Type(Item(w, "Text1"), "80");
    Type(Item(w, "Text2"), "abc");
    PanelProcess::Click(Item(w, "Command1"));
    MessageBoxSeen box = panel.WaitForMessageBox();
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.caption, "The Marrowgate Control");
    EXPECT_EQ(box.text, "\"Voice Volume\" is not a number: \"abc\".");
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(ShowsIcon(box.hwnd));
    PanelProcess::Answer(box, "OK");
    EXPECT_TRUE(WaitGone(box.hwnd));
    EXPECT_TRUE(IsWindow(w));
    EXPECT_FALSE(IsWindowEnabled(panel.main()));
    EXPECT_EQ(ReadKey(folder, "Audio", "SoundVolume"), "0.8");
    EXPECT_EQ(ReadKey(folder, "Audio", "VoiceVolume"), "0.700000");
    EXPECT_EQ(ReadKey(folder, "Video", "ScreenWidth"), "800");
}

TEST(GameOptionsUi, WithoutTheSettingsFileTheButtonShowsTheMessageOnly) {
    TempFolder folder;
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    PanelProcess::Click(PanelProcess::Control(panel.main(), layout::kFrm1, "Command7"));
    MessageBoxSeen box = panel.WaitForMessageBox();
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.text, "Please Place Controll Panal Exe into Yr Folder");
    EXPECT_EQ(box.caption, "The Marrowgate Control");
    EXPECT_FALSE(ShowsIcon(box.hwnd));
    EXPECT_EQ(panel.WaitForWindow("Game Options", 300), nullptr);
    PanelProcess::Answer(box, "OK");
    EXPECT_TRUE(WaitGone(box.hwnd));
    EXPECT_EQ(panel.WaitForWindow("Game Options", 300), nullptr);
    EXPECT_TRUE(folder.Read("RA2MD.ini").empty());
}

TEST(AboutAndHelpUi, TextsAndTheirCloseButtons) {
    TempFolder folder;
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);

    HWND about = Open(panel, "Command4", "About ZARN");
    ASSERT_NE(about, nullptr);
    struct Label {
        const char* name;
        const char* text;
    } labels[] = {
        {"Label1", "The Marrowgate:The Zeal And Rising Nations. "},
        {"Label2", "Mod Created By:   Marrowgate (The ZARN Team)"},
        {"Label3", "ZDev (The ZARN Team)"},
        {"Label4", "Contorl Pannel Created By: ZDev "},
        {"Label6", "v 2.1"},
        {"Command1", "Ok"},
    };
    for (const Label& l : labels)
        EXPECT_EQ(TextOf(PanelProcess::Control(about, layout::kAbout, l.name)), l.text) << l.name;
    Press(PanelProcess::Control(about, layout::kAbout, "Command1"));
    EXPECT_TRUE(WaitGone(about));
    Sleep(100);
    EXPECT_TRUE(IsWindowEnabled(panel.main()));

    HWND help = Open(panel, "Command6", "Mod Help");
    ASSERT_NE(help, nullptr);
    HWND text = PanelProcess::Control(help, layout::kHelp, "Text1");
    EXPECT_EQ(TextOf(text), kHelpText);
    EXPECT_EQ(SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(Focus(help), text);
    SendMessageW(text, WM_CHAR, 'x', 0);
    SendMessageW(text, WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(TextOf(text), kHelpText) << "read-only";
    EXPECT_EQ(TextOf(PanelProcess::Control(help, layout::kHelp, "Command1")), "&Close Help");
    PressAlt(help, 'C');
    EXPECT_TRUE(WaitGone(help)) << "Alt+C closes";
    Sleep(100);
    EXPECT_TRUE(IsWindowEnabled(panel.main()));

    // Opened again, and closed by its button.
    help = Open(panel, "Command6", "Mod Help");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(TextOf(PanelProcess::Control(help, layout::kHelp, "Text1")), kHelpText);
    Press(PanelProcess::Control(help, layout::kHelp, "Command1"));
    EXPECT_TRUE(WaitGone(help));
    EXPECT_TRUE(panel.Running());
    EXPECT_TRUE(folder.Names().size() == 1) << "only the panel itself in the folder";
}

}  // namespace
