// The main window's commands and Game Options in a game folder, with stand-ins for the game
// and the patch: each press reaches its handler and its effect shows (the core tests cover the rest).
#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/support/remedies.h"
#include "tests/ui/panel.h"

namespace {

using namespace game_files;
using Names = std::vector<std::string>;

// The state label's text at the main window's first paint, read by a subclass that a CBT hook
// puts on the window as it is made.
std::string g_at_first_paint;
WNDPROC g_form_proc;
LRESULT CALLBACK FirstPaint(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT && g_at_first_paint.empty())
        g_at_first_paint = "\"" + TextOf(Control(h, app::kFrm1Layout, "visual")) + "\"";
    return CallWindowProcW(g_form_proc, h, msg, wp, lp);
}
LRESULT CALLBACK SubclassMain(int code, WPARAM wp, LPARAM lp) {
    HWND h = (HWND)wp;
    if (code == HCBT_CREATEWND && !((CBT_CREATEWNDW*)lp)->lpcs->hwndParent && ClassOf(h) == "ZarnForm")
        g_form_proc = (WNDPROC)SetWindowLongPtrW(h, GWLP_WNDPROC, (LONG_PTR)FirstPaint);
    return CallNextHookEx(nullptr, code, wp, lp);
}

// A cursor's picture: its hot spot, then each bitmap's size and pixels. Cursors are compared by
// what they show, not by handle: Wine can give two threads that load a system cursor at once a
// handle each (the test's and the panel's arrows then differ).
std::vector<LONG> Picture(HCURSOR cursor) {
    ICONINFO info;
    if (!cursor || !GetIconInfo(cursor, &info)) return {};
    std::vector<LONG> picture = {(LONG)info.xHotspot, (LONG)info.yHotspot};
    HDC screen = GetDC(nullptr);
    for (HBITMAP bitmap : {info.hbmMask, info.hbmColor}) {
        BITMAP b = {};
        if (!bitmap || !GetObjectW(bitmap, sizeof b, &b)) continue;
        BITMAPINFO bi = {{sizeof bi.bmiHeader, b.bmWidth, -b.bmHeight, 1, 32, BI_RGB}};
        picture.insert(picture.end(), {b.bmWidth, b.bmHeight});
        size_t at = picture.size();
        picture.resize(at + (size_t)b.bmWidth * b.bmHeight);
        GetDIBits(screen, bitmap, 0, b.bmHeight, picture.data() + at, &bi, DIB_RGB_COLORS);
        DeleteObject(bitmap);
    }
    ReleaseDC(nullptr, screen);
    return picture;
}

// The cursor the panel's thread holds once it has handled a WM_SETCURSOR: read on that thread,
// so what another thread or the front window did to the screen's pointer does not count.
HCURSOR g_after_set_cursor;
LRESULT CALLBACK AfterSetCursor(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && ((CWPRETSTRUCT*)lp)->message == WM_SETCURSOR) g_after_set_cursor = GetCursor();
    return CallNextHookEx(nullptr, code, wp, lp);
}

// The marker's state is shown from the first paint: a file of its name in any case is Enabled,
// a folder of that name Disabled.
TEST(MainWindowUi, StateLabelHoldsTheMarkersStateAtTheFirstPaint) {
    for (bool file : {true, false}) {
        TempFolder folder;
        file ? folder.Write("EXPANDMD81.MIX", "mod") : folder.MakeFolder("expandmd81.mix");
        g_at_first_paint.clear();
        Panel panel(folder, SubclassMain);
        EXPECT_EQ(g_at_first_paint, file ? "\"Enabled\"" : "\"Disabled\"");
    }
}

// In a folder of non-English letters; Launch gives the game its path as its whole command line,
// and the panel ends.
TEST(MainWindowUi, EnableDisableCleanAndLaunchByAccessKeyAndClick) {
    TempFolder folder("Игры");
    for (const std::string& name : kModFiles) folder.Write(name + ".Zarn", name);
    for (const std::string& name : kCleanFiles) folder.Write(name, name);
    PlaceStandIn(folder, "RA2MD.exe");
    Panel panel(folder);
    for (bool enable : {true, false}) {
        enable ? Keys(panel.main(), {VK_MENU, 'E'}) : Click(panel.Main("Command3"));
        EXPECT_TRUE(WaitUntil([&] { return TextOf(panel.Main("visual")) == (enable ? "Enabled" : "Disabled"); }));
        for (const std::string& name : kModFiles) EXPECT_EQ(folder.Read(enable ? name : name + ".Zarn"), name);
    }
    // A command runs to its end before the next: Clean, sent from another thread while Disable
    // waits for a file the game holds, runs no part of it then or later. Meanwhile the panel is
    // painted again when uncovered, the pointer over it is the wait cursor, and the arrow after.
    auto pointer = [] {
        CURSORINFO info = {sizeof info};
        return GetCursorInfo(&info) ? info.hCursor : nullptr;
    };
    Keys(panel.main(), {VK_MENU, 'E'});
    EXPECT_TRUE(WaitUntil([&] { return TextOf(panel.Main("visual")) == "Enabled"; }));
    HANDLE held = CreateFileW(platform::Widen(folder.File("ra2md.csf")).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    Click(panel.Main("Command3"));
    EXPECT_TRUE(WaitUntil([&] { return !folder.Read("ea_wwlogo.bik.Zarn").empty(); }));
    const std::vector<LONG> wait = Picture(LoadCursorW(nullptr, IDC_WAIT)),
                            arrow = Picture(LoadCursorW(nullptr, IDC_ARROW));
    ASSERT_FALSE(wait.empty());
    ASSERT_NE(wait, arrow);
    EXPECT_EQ(Picture(pointer()), wait) << "the wait cursor while Disable waits";
    InvalidateRect(panel.main(), nullptr, TRUE);
    EXPECT_TRUE(WaitUntil([&] {
        return !GetUpdateRect(panel.main(), nullptr, FALSE) || panel.FindBox(0);
    }));
    EXPECT_FALSE(panel.FindBox(0)) << "not painted while Disable waited";
    SendNotifyMessageW(panel.main(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(panel.Main("Clean")), BN_CLICKED),
                       (LPARAM)panel.Main("Clean"));
    HWND box = panel.Box("Could not copy \"ra2md.csf\" to \"ra2md.csf.Zarn\": " +
                         remedies::Reason(ERROR_SHARING_VIOLATION) + "\n" + remedies::kCloseProgram);
    Keys(box, {VK_RETURN});
    EXPECT_TRUE(WaitGone(box));
    CloseHandle(held);
    for (const std::string& name : kCleanFiles) EXPECT_EQ(folder.Read(name), name) << "Clean ran inside Disable";
    Click(panel.Main("Clean"));
    EXPECT_TRUE(WaitUntil([&] { return folder.Names().size() == kModFiles.size() + 1; }));
    EXPECT_FALSE(panel.AnyBox()) << "Clean is silent";
    // The files are gone a moment before Clean has ended, and until it has, the mouse over the
    // panel still finds the wait cursor.
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterSetCursor, nullptr,
                                   GetWindowThreadProcessId(panel.main(), nullptr));
    EXPECT_TRUE(WaitUntil([&] {
        SendMessageW(panel.main(), WM_SETCURSOR, (WPARAM)panel.main(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return Picture(g_after_set_cursor) == arrow;
    }))
        << "the arrow once the mouse moves over it; the panel's cursor is "
        << (Picture(g_after_set_cursor) == wait ? "the wait cursor" : "neither the arrow nor the wait cursor");
    UnhookWindowsHookEx(hook);
    Keys(panel.main(), {VK_MENU, 'L'});
    Started started;
    ASSERT_TRUE(WaitStarted(folder, "RA2MD.exe", &started));
    EXPECT_EQ(started.command_line, folder.File("RA2MD.exe"));
    EXPECT_TRUE(panel.Ended());
    EXPECT_TRUE(WaitEnded("RA2MD.exe"));
}

// The question by Space on the focused button, which No gives the focus back. Yes by Enter: the
// patch starts with its path as its command line before "You done yet???"; after OK it goes.
TEST(MainWindowUi, UninstallAsksNoChangesNothingYesDeletesRunsThePatchAndEnds) {
    TempFolder folder("Red Alert 2");
    for (const std::string& name : kUninstallFiles) folder.Write(name, name);
    folder.Write("RA2MD.ini", "kept");
    PlaceStandIn(folder, "RockPatch.exe");
    Panel panel(folder);
    const Names names = folder.Names();
    FocusOn(panel.main(), panel.Main("Uninstall"));
    Keys(panel.main(), {VK_SPACE});
    HWND box = panel.Box(kQuestion, {IDYES, IDNO});
    Keys(box, {'N'});
    EXPECT_TRUE(WaitGone(box));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(panel.main()) == panel.Main("Uninstall"); }, 5000));
    EXPECT_FALSE(panel.AnyBox()) << "nothing more after No";
    EXPECT_EQ(folder.Names(), names);

    Click(panel.Main("Uninstall"));
    Keys(panel.Box(kQuestion, {IDYES, IDNO}), {VK_RETURN});
    Started started;
    ASSERT_TRUE(WaitStarted(folder, "RockPatch.exe", &started));
    EXPECT_EQ(started.command_line, folder.File("RockPatch.exe"));
    box = panel.Box(kPatchDone);
    ASSERT_TRUE(WaitEnded("RockPatch.exe"));
    Keys(box, {VK_RETURN});
    EXPECT_TRUE(panel.Ended());
    EXPECT_EQ(folder.Names(), (Names{"RA2MD.ini", "RockPatch.exe.started.txt"}));
}

// A switch writes its key at once; the sliders' boxes follow them; what is typed is kept only
// by "Save And Close".
TEST(GameOptionsUi, ShowsTheFileSwitchesScrollsTypesAndSaves) {
    TempFolder folder;
    std::string ini = "[Options]\r\nGameSpeed=2\r\n[Audio]\r\nSoundVolume=0.500000\r\nVoiceVolume=0.700000"
        "\r\nScoreVolume=0.400000\r\nInGameMusic=yes\r\n[Video]\r\nAllowHiResModes=yes\r\nVideoBackBuffer=yes"
        "\r\nAllowVRAMSidebar=yes\r\nScreenWidth=800\r\nScreenHeight=600\r\n";
    folder.Write("RA2MD.ini", ini);
    Panel panel(folder);
    HWND dialog = panel.Open(app::kGameOptionsLayout);
    auto item = [&](std::string name) { return Control(dialog, app::kGameOptionsLayout, name.c_str()); };
    auto shown = [&] {  // the four switches' states, each slider and its box, the resolution
        std::string s;
        for (const char* label : {"NAS", "EVBBS", "EVSS", "EHRS"}) s += TextOf(item(label)) + "|";
        for (std::string i : {"1", "2", "3"})
            s += std::to_string(GetScrollPos(item("HScroll" + i), SB_CTL)) + " " + TextOf(item("Text" + i)) + "|";
        return s + TextOf(item("Combo1"));
    };
    EXPECT_EQ(shown(), "Sound On|On|On|On|50 50|70 70|40 40|800x600");
    const int steps[][3] = {  // code, thumb position, the slider's position after: within 0 to 100
        {SB_LINERIGHT, 0, 51}, {SB_PAGERIGHT, 0, 61}, {SB_LINELEFT, 0, 60}, {SB_PAGELEFT, 0, 50},
        {SB_THUMBTRACK, 70, 50}, {SB_THUMBPOSITION, 95, 95}, {SB_PAGERIGHT, 0, 100}, {SB_LEFT, 0, 0},
        {SB_LINELEFT, 0, 0}, {SB_RIGHT, 0, 100}};
    for (const auto& s : steps) {
        SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(s[0], s[1]), (LPARAM)item("HScroll1"));
        EXPECT_EQ(std::to_string(GetScrollPos(item("HScroll1"), SB_CTL)) + " " + TextOf(item("Text1")),
                  std::to_string(s[2]) + " " + std::to_string(s[2])) << "code " << s[0];
    }
    SetWindowTextW(item("Text2"), L"33");
    Click(item("NA"));  // the music off
    EXPECT_TRUE(WaitUntil([&] { return shown() == "Sound Off|On|On|On|100 100|70 33|40 40|800x600"; }));
    ini.replace(ini.find("InGameMusic=yes"), 15, "InGameMusic=no");
    EXPECT_EQ(folder.Read("RA2MD.ini"), ini) << "the switch's key alone";
    ASSERT_TRUE(PostMessageW(dialog, WM_CLOSE, 0, 0) && WaitGone(dialog));
    EXPECT_EQ(folder.Read("RA2MD.ini"), ini);
    // Opened again after the file changed: its new values, not the 33 typed.
    folder.Write("RA2MD.ini", "[Options]\r\nGameSpeed=2\r\n[Audio]\r\nSoundVolume=0.25\r\nVoiceVolume=0.700000"
                 "\r\nScoreVolume=0\r\nInGameMusic=yes\r\n[Video]\r\nAllowHiResModes=yes\r\nVideoBackBuffer"
                 "=no\r\nAllowVRAMSidebar=yes\r\nScreenWidth=1024\r\nScreenHeight=768\r\n");
    dialog = panel.Open(app::kGameOptionsLayout);
    EXPECT_EQ(shown(), "Sound On|Off|On|On|25 25|70 70|0 0|1024x768");
    SetWindowTextW(item("Text1"), L"150");
    SetWindowTextW(item("Text2"), L"7");
    // A slider the load left at 0 has not changed yet: its first track click moves it by the
    // toolkit's own step of 1, the next by the 10 its handler applied.
    SendMessageW(dialog, WM_HSCROLL, SB_PAGERIGHT, (LPARAM)item("HScroll3"));
    SendMessageW(dialog, WM_HSCROLL, SB_PAGERIGHT, (LPARAM)item("HScroll3"));
    SetWindowTextW(item("Combo1"), L"1280x960");
    Click(item("Command1"));  // "Save And Close"
    ASSERT_TRUE(WaitGone(dialog));
    EXPECT_EQ(folder.Read("RA2MD.ini"), "[Options]\r\nGameSpeed=2\r\n[Audio]\r\nSoundVolume=1.5\r\nVoiceVolume="
              "0.07\r\nScoreVolume=0.11\r\nInGameMusic=yes\r\n[Video]\r\nAllowHiResModes=yes\r\nVideoBackBuffer="
              "no\r\nAllowVRAMSidebar=yes\r\nScreenWidth=1280\r\nScreenHeight=960\r\n");
}

}  // namespace
