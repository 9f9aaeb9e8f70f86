// After a message box the keyboard focus is back on the control that had it
// when the box came up: the focused button pressed by Space, or the button an
// access key pressed (which, as a click does, took the focus).
#include <gtest/gtest.h>

#include <windows.h>

#include "app/layout.h"
#include "tests/ui/panel_process.h"

namespace {

const char kGameIni[] = "[Audio]\r\nVoiceVolume=0.5\r\n";

void FocusOn(HWND window, HWND control) {
    SendMessageW(window, WM_NEXTDLGCTL, (WPARAM)control, TRUE);
}

TEST(FocusUi, FocusReturnsAfterEveryMessageBox) {
    struct Case {
        bool options;          // in Game Options, else in the main window
        const char* focus;     // the control that has the focus
        WORD alt_key;          // pressed with Alt; 0: Space on the focus
        bool ini;              // RA2MD.ini in the folder
        WORD answer_key;
        const char* after;     // the control that has the focus after the box
    } cases[] = {
        // "&Launch" without the game
        {false, "Picture2(3)", 'L', false, VK_RETURN, "Command1"},
        // "Game Options" without RA2MD.ini
        {false, "Command7", 0, false, VK_RETURN, "Command7"},
        // the uninstall question, answered No
        {false, "Uninstall", 0, false, 'N', "Uninstall"},
        // "Save And Close" with "abc" typed for a volume
        {true, "Command1", 0, true, VK_RETURN, "Command1"},
    };
    // One panel for all: the settings file comes for the last case only.
    TempFolder folder;
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.focus);
        if (c.ini) folder.Write("RA2MD.ini", kGameIni);
        HWND w = panel.main();
        const layout::Form* form = &layout::kFrm1;
        if (c.options) {
            PanelProcess::Click(panel.Main("Command7"));
            w = panel.WaitForWindow("Game Options");
            ASSERT_NE(w, nullptr);
            form = &layout::kGameOptions;
            SetWindowTextW(PanelProcess::Control(w, *form, "Text2"), L"abc");
        }
        HWND control = PanelProcess::Control(w, *form, c.focus);
        FocusOn(w, control);
        ASSERT_EQ(FocusOf(w), control);
        if (c.alt_key) {
            PressKeys(w, {VK_MENU, c.alt_key});
        } else {
            PressKeys(w, {VK_SPACE});
        }
        MessageBoxSeen box = panel.WaitForMessageBox();
        ASSERT_NE(box.hwnd, nullptr);
        PressKeys(box.hwnd, {c.answer_key});  // as a player answers
        EXPECT_TRUE(WaitGone(box.hwnd));
        HWND after = PanelProcess::Control(w, *form, c.after);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(w) == after; }, 1000))
            << "the focus is on a " << ClassOf(FocusOf(w)) << " \"" << WindowText(FocusOf(w)) << "\"";
    }
}

}  // namespace
