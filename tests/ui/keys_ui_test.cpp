// Keys on every window under Wine. Buttons press on Alt with their letter
// and on Space, never on a plain letter; nothing is the default or the
// cancel button, so Enter and Escape press nothing and close nothing. After
// a message box the focus is back on the control that had it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/layout.h"
#include "tests/standin.h"
#include "tests/support/game_files.h"
#include "tests/ui/panel_process.h"

namespace {

const char kGameIni[] =
    "[Audio]\r\nSoundVolume=0.500000\r\nVoiceVolume=0.700000\r\nScoreVolume=0.400000\r\n"
    "InGameMusic=yes\r\n[Video]\r\nAllowHiResModes=no\r\nVideoBackBuffer=no\r\n"
    "AllowVRAMSidebar=no\r\nScreenWidth=800\r\nScreenHeight=600\r\n";

// Everything a key could change that a player or the game can see, one
// line each: the panel's windows, every control's text, the focus, and the
// game folder's names, sizes and write times.
std::string Read(const PanelProcess& panel, const TempFolder& folder) {
    std::string s;
    for (HWND top = nullptr; (top = FindWindowExW(nullptr, top, nullptr, nullptr)) != nullptr;) {
        DWORD pid = 0;
        GetWindowThreadProcessId(top, &pid);
        if (pid != panel.pid() || !IsWindowVisible(top)) continue;
        s += "window \"" + WindowText(top) + "\"\n";
        EnumChildWindows(top, [](HWND c, LPARAM s) {
            *(std::string*)s += "  " + ClassOf(c) + " \"" + TextOf(c) + "\"\n";
            return TRUE;
        }, (LPARAM)&s);
    }
    HWND focus = FocusOf(panel.main());
    s += "focus " + ClassOf(focus) + " " + std::to_string((UINT_PTR)focus) + "\n";
    WIN32_FIND_DATAW f;
    HANDLE h = FindFirstFileW(Widen(folder.File("*")).c_str(), &f);
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileW(h, &f))
        s += Narrow(f.cFileName) + " " + std::to_string(f.nFileSizeLow) + " " +
             std::to_string(f.ftLastWriteTime.dwLowDateTime) + "\n";
    FindClose(h);
    return s;
}

// Brings `window` to the front and waits until the system has it there.
void InFront(HWND window) {
    SetForegroundWindow(window);
    WaitUntil([=] { return GetForegroundWindow() == window; }, 2000);
}

// Puts the focus on `control` as the dialog manager does.
void FocusOn(HWND window, HWND control) {
    SendMessageW(window, WM_NEXTDLGCTL, (WPARAM)control, TRUE);
}

// Presses Tab until the focus moves, for up to a second: the first keys after
// a window came to the front can reach the system before it has the window
// there (Wine moves the X input focus after a round trip).
bool TabMoves(HWND window) {
    HWND from = FocusOf(window);
    for (int i = 0; i < 20; ++i, Sleep(50)) {
        SendKeys(window, {VK_TAB});
        if (FocusOf(window) != from) return true;
    }
    return false;
}

// Puts the focus on `control` and keeps it there until no Tab of TabMoves()
// is still on its way: a Tab that came late would move the focus once more.
void FocusSettledOn(HWND window, HWND control) {
    auto on = [&] {
        HWND f = FocusOf(window);
        return f == control || GetParent(f) == control;
    };
    for (int steady = 0, i = 0; steady < 3 && i < 40; ++i) {
        if (!on()) {
            FocusOn(window, control);
            steady = 0;
        }
        Sleep(50);
        steady += on();
    }
}

// Presses every letter, Enter and Escape (and Space, unless `control` is a
// push button, whose press it is) with the focus on each control of `form`
// that takes it. A key typed into an editable box is the one change allowed;
// the box gets its text back after each.
void SweepKeys(const PanelProcess& panel, const TempFolder& folder, HWND window,
               const layout::Form& form) {
    InFront(window);
    int focusable = 0;
    for (std::size_t i = 0; i < form.count; ++i) focusable += form.controls[i].tab_stop;
    for (std::size_t i = 0; i < form.count; ++i) {
        const layout::Control& row = form.controls[i];
        if (!row.tab_stop) continue;
        SCOPED_TRACE(row.name);
        HWND control = Control(window, form, row.name);
        if (focusable > 1) {  // keys reach the window: Tab takes the focus away
            FocusOn(window, control);
            ASSERT_TRUE(TabMoves(window)) << "keys do not reach the window";
        }
        FocusSettledOn(window, control);
        HWND box = FocusOf(window);  // a combo box's focus is on its field
        ASSERT_TRUE(box == control || GetParent(box) == control);
        const std::string before = Read(panel, folder), text = TextOf(box);
        std::vector<WORD> keys = {VK_RETURN, VK_ESCAPE};
        for (WORD vk = 'A'; vk <= 'Z'; ++vk) keys.push_back(vk);
        if (row.kind != layout::Kind::kButton) keys.push_back(VK_SPACE);
        bool editable = row.kind == layout::Kind::kCombo || row.kind == layout::Kind::kTextBox;
        for (WORD vk : keys) {
            SendKeys(window, {vk});
            if (editable && vk != VK_RETURN && vk != VK_ESCAPE) {
                wchar_t c = vk == VK_SPACE ? L' ' : (wchar_t)(vk - 'A' + 'a');
                ASSERT_TRUE(WaitUntil([&] { return TextOf(box).find((char)c) != std::string::npos; },
                                      1000))
                    << "key " << (char)c << " not typed into the box";
                SetWindowTextW(box, Widen(text).c_str());
            }
            ASSERT_EQ(Read(panel, folder), before)
                << "key " << (vk == VK_RETURN ? "Enter" : vk == VK_ESCAPE ? "Escape"
                              : vk == VK_SPACE ? "Space" : std::string(1, (char)vk));
        }
    }
}

TEST(KeysUi, PlainLettersEnterAndEscapePressNothingInAnyWindowSpacePressesTheFocus) {
    // A game folder in which every command of the main window would leave a mark.
    TempFolder folder("Red Alert 2");
    for (const std::string& name : game_files::kModFiles) folder.Write(name, game_files::Data(name));
    for (const char* name : {"Readme.txt", "INSTALL.LOG", "marrowgate80.pkt"})
        folder.Write(name, game_files::Data(name));
    folder.Write("RA2MD.ini", kGameIni);
    PlaceStandIn(folder, "RA2MD.exe");
    PlaceStandIn(folder, "RockPatch.exe");
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    SweepKeys(panel, folder, panel.main(), layout::kFrm1);

    // Space on "&Info" opens About; Space on its "Ok", the only control that
    // takes the focus there, closes it (and shows that the keys reached it).
    FocusSettledOn(panel.main(), panel.Main("Command4"));
    SendKeys(panel.main(), {VK_SPACE});
    HWND about = panel.WaitForWindow("About ZARN");
    ASSERT_NE(about, nullptr);
    SweepKeys(panel, folder, about, layout::kAbout);
    SendKeys(about, {VK_SPACE});
    EXPECT_TRUE(WaitGone(about)) << "Space does not press Ok";

    HWND help = panel.Open(layout::kHelp);
    ASSERT_NE(help, nullptr);
    SweepKeys(panel, folder, help, layout::kHelp);
    PostMessageW(help, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitGone(help));

    HWND options = panel.Open(layout::kGameOptions);
    ASSERT_NE(options, nullptr);
    SweepKeys(panel, folder, options, layout::kGameOptions);
    // Escape closes Combo1's open list, and only that.
    HWND combo = Control(options, layout::kGameOptions, "Combo1");
    InFront(options);
    FocusOn(options, combo);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    SendKeys(options, {VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([=] { return !SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0); }, 1000))
        << "the list stays open";
    EXPECT_TRUE(IsWindowVisible(options));
    EXPECT_EQ(folder.Read("RA2MD.ini"), kGameIni);
    // Space on a switch writes the settings file at once; the window stays.
    FocusSettledOn(options, Control(options, layout::kGameOptions, "EVBBo"));
    SendKeys(options, {VK_SPACE});
    EXPECT_TRUE(WaitUntil(
        [&] { return folder.Read("RA2MD.ini").find("VideoBackBuffer=yes") != std::string::npos; },
        2000));
    EXPECT_EQ(TextOf(Control(options, layout::kGameOptions, "EVBBS")), "On");
    EXPECT_TRUE(IsWindowVisible(options));
}

// Each message box of the panel with its exact text and buttons, brought up
// by Space on the focused button or by an access key (which, as a click
// does, takes the focus) and answered by a key: the focus is then back on
// that button, and the window that asked stays.
TEST(KeysUi, EveryMessageBoxHasItsTextsAndGivesTheFocusBack) {
    struct Case {
        bool options;           // in Game Options, else in the main window
        const char* focus;      // the control that has the focus
        WORD alt_key;           // pressed with Alt; 0: Space on the focus
        WORD answer_key;
        const char* after;      // the control that has the focus after the box
        const char* text;
        std::vector<std::string> buttons;
    } cases[] = {
        {false, "Picture2(3)", 'L', VK_RETURN, "Command1", game_files::kNotInGameFolder, {"OK"}},
        {false, "Command7", 0, VK_RETURN, "Command7", "Please Place Controll Panal Exe into Yr Folder",
         {"OK"}},
        {false, "Uninstall", 0, 'N', "Uninstall", game_files::kQuestion, {"&Yes", "&No"}},
        // "Save And Close" with "80" and "abc" typed for two volumes
        {true, "Command1", 0, VK_RETURN, "Command1", "\"Voice Volume\" is not a number: \"abc\".",
         {"OK"}},
    };
    // One panel for all: the settings file comes for the last case only.
    TempFolder folder;
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    const char ini[] = "[Audio]\r\nSoundVolume=0.5\r\nVoiceVolume=0.7\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        HWND w = panel.main();
        const layout::Form* form = &layout::kFrm1;
        if (c.options) {
            folder.Write("RA2MD.ini", ini);
            w = panel.Open(layout::kGameOptions);
            ASSERT_NE(w, nullptr);
            form = &layout::kGameOptions;
            SetWindowTextW(Control(w, *form, "Text1"), L"80");
            SetWindowTextW(Control(w, *form, "Text2"), L"abc");
        }
        HWND control = Control(w, *form, c.focus);
        FocusOn(w, control);
        ASSERT_EQ(FocusOf(w), control);
        if (c.alt_key) {
            PressKeys(w, {VK_MENU, c.alt_key});
        } else {
            PressKeys(w, {VK_SPACE});
        }
        MessageBoxSeen box = panel.WaitForMessageBox();
        ExpectPanelBox(box, c.text, c.buttons);
        PressKeys(box.hwnd, {c.answer_key});  // as a player answers
        EXPECT_TRUE(WaitGone(box.hwnd));
        HWND after = Control(w, *form, c.after);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(w) == after; }, 1000))
            << "the focus is on a " << ClassOf(FocusOf(w)) << " \"" << WindowText(FocusOf(w)) << "\"";
        EXPECT_EQ(panel.WaitForMessageBox(300).hwnd, nullptr) << "a second box";
        EXPECT_TRUE(panel.Running());
        EXPECT_EQ(panel.WaitForWindow("Game Options", 0) != nullptr, c.options);
        EXPECT_EQ(IsWindowEnabled(panel.main()) != 0, !c.options);
        EXPECT_EQ(folder.Names().size(), c.options ? 2u : 1u) << "only the panel and the settings";
    }
    EXPECT_EQ(folder.Read("RA2MD.ini"), "[Audio]\r\nSoundVolume=0.8\r\nVoiceVolume=0.7\r\n")
        << "the volumes before the one that is no number are saved";
}

}  // namespace
