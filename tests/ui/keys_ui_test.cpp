// Keys on every window: buttons press on Alt with their letter and on Space,
// never on a plain letter, Enter or Escape, which close nothing; each message
// box with its texts, answered by a key, gives the focus back.
#include <gtest/gtest.h>

#include "tests/support/game_files.h"
#include "tests/ui/panel.h"

namespace {

// What a key could change that a player or the game sees: the panel's windows,
// their controls' texts, the focus, the folder's names, sizes and write times.
std::string Seen(const Panel& panel, const TempFolder& folder) {
    std::string s = "focus " + std::to_string((UINT_PTR)FocusOf(panel.main())) + "\n";
    for (HWND top : panel.Windows())
        for (HWND c = top; c; c = c == top ? GetWindow(top, GW_CHILD) : GetWindow(c, GW_HWNDNEXT))
            s += ClassOf(c) + " \"" + TextOf(c) + "\"\n";
    WIN32_FIND_DATAW f;
    HANDLE h = FindFirstFileW(Widen(folder.File("*")).c_str(), &f);
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileW(h, &f))
        s += Narrow(f.cFileName) + " " + std::to_string(f.nFileSizeLow) + " " +
             std::to_string(f.ftLastWriteTime.dwLowDateTime) + "\n";
    FindClose(h);
    return s;
}

void FocusOn(HWND window, HWND control) { SendMessageW(window, WM_NEXTDLGCTL, (WPARAM)control, TRUE); }

TEST(KeysUi, PlainLettersEnterAndEscapePressNothingInAnyWindowSpacePressesTheFocus) {
    // A game folder in which every command of the main window would leave a mark.
    TempFolder folder("Red Alert 2");
    for (const std::string& name : game_files::kModFiles) folder.Write(name, "mod");
    folder.Write("Readme.txt", "Clean deletes it");
    folder.Write("RA2MD.ini", "[Video]\r\nScreenWidth=800\r\nScreenHeight=600\r\n");
    Panel panel(folder);
    HWND w = nullptr;
    for (const layout::Form* form : {&layout::kFrm1, &layout::kAbout, &layout::kHelp, &layout::kGameOptions}) {
        ASSERT_NE(w = form == &layout::kFrm1 ? panel.main() : panel.Open(*form), nullptr);
        SetForegroundWindow(w);
        WaitUntil([=] { return GetForegroundWindow() == w; }, 2000);
        // On each control that takes the focus every letter, Enter, Escape and
        // Space (not on a button: its press); the one change allowed is a key
        // typed into a box, which gets its text back after each.
        for (std::size_t i = 0; i < form->count; ++i) {
            const layout::Control& row = form->controls[i];
            if (!row.tab_stop) continue;
            SCOPED_TRACE(row.name);
            HWND control = Control(w, *form, row.name);
            auto on = [&] { return FocusOf(w) == control || GetParent(FocusOf(w)) == control; };
            // Keys reach the window: Tab moves the focus within a second (Wine moves the X
            // input focus after a round trip; About shows it by Space below). Then the focus
            // back, kept until no Tab still on its way moves it once more.
            FocusOn(w, control);
            ASSERT_TRUE(form == &layout::kAbout || WaitUntil([&] { return Keys(w, {VK_TAB}), !on(); }, 1000))
                << "keys do not reach the window";
            for (int steady = 0, k = 0; steady < 3 && k < 40; ++k, Sleep(50), steady += on())
                if (!on()) FocusOn(w, control), steady = 0;
            HWND box = FocusOf(w);  // a combo box's focus is on its field
            const std::string before = Seen(panel, folder), text = TextOf(box);
            std::vector<WORD> keys = {VK_RETURN, VK_ESCAPE};
            for (WORD vk = 'A'; vk <= 'Z'; ++vk) keys.push_back(vk);
            if (row.kind != layout::Kind::kButton) keys.push_back(VK_SPACE);
            for (WORD vk : keys) {
                Keys(w, {vk});
                char c = vk == VK_SPACE ? ' ' : (char)(vk - 'A' + 'a');
                if ((row.kind == layout::Kind::kCombo || row.kind == layout::Kind::kTextBox) &&
                    vk != VK_RETURN && vk != VK_ESCAPE) {
                    ASSERT_TRUE(WaitUntil([&] { return TextOf(box).find(c) != std::string::npos; }, 1000))
                        << "key " << c << " not typed into the box";
                    SetWindowTextW(box, Widen(text).c_str());
                }
                ASSERT_EQ(Seen(panel, folder), before)
                    << "key " << (vk == VK_RETURN ? "Enter" : vk == VK_ESCAPE ? "Escape" : std::string(1, c));
            }
        }
        // Space presses a focused button: in About, "Ok", its only control.
        if (form == &layout::kAbout) Keys(w, {VK_SPACE});
        if (form == &layout::kHelp) PostMessageW(w, WM_CLOSE, 0, 0);
        ASSERT_TRUE(form == &layout::kFrm1 || form == &layout::kGameOptions || WaitGone(w));
    }
    // Escape closes Combo1's open list, and only that.
    HWND combo = Control(w, layout::kGameOptions, "Combo1");
    FocusOn(w, combo);
    const std::string before = Seen(panel, folder);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    Keys(w, {VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([=] { return !SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0); }, 1000))
        << "the list stays open";
    EXPECT_EQ(Seen(panel, folder), before);
}

// Each box brought up by Space on the focused button or by an access key (which
// takes the focus) and answered by a key: the focus is back on that button,
// and the window that asked stays.
TEST(KeysUi, EveryMessageBoxHasItsTextsAndGivesTheFocusBack) {
    struct {
        const layout::Form& form;
        const char *focus, *after;  // the control with the focus before and after
        WORD alt_key, answer_key;   // alt_key pressed with Alt; 0: Space on the focus
        const char* text;
        std::vector<std::string> buttons;
    } cases[] = {
        {layout::kFrm1, "Picture2(3)", "Command1", 'L', VK_RETURN, game_files::kNotInGameFolder, {"OK"}},
        {layout::kFrm1, "Command7", "Command7", 0, VK_RETURN, "Please Place Controll Panal Exe into Yr Folder",
         {"OK"}},
        {layout::kFrm1, "Uninstall", "Uninstall", 0, 'N', game_files::kQuestion, {"&Yes", "&No"}},
        // "Save And Close" with "80" and "abc" typed for the first two volumes
        {layout::kGameOptions, "Command1", "Command1", 0, VK_RETURN,
         "\"Voice Volume\" is not a number: \"abc\".", {"OK"}},
    };
    TempFolder folder;  // the settings file comes for the last case only
    Panel panel(folder);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        bool options = &c.form == &layout::kGameOptions;
        if (options) folder.Write("RA2MD.ini", "[Audio]\r\nSoundVolume=0.5\r\nVoiceVolume=0.7\r\n");
        HWND w = options ? panel.Open(c.form) : panel.main();
        ASSERT_NE(w, nullptr);
        if (options) SetWindowTextW(Control(w, c.form, "Text1"), L"80");
        if (options) SetWindowTextW(Control(w, c.form, "Text2"), L"abc");
        FocusOn(w, Control(w, c.form, c.focus));
        ASSERT_EQ(FocusOf(w), Control(w, c.form, c.focus));
        if (c.alt_key) Keys(w, {VK_MENU, c.alt_key});
        if (!c.alt_key) Keys(w, {VK_SPACE});
        HWND box = panel.Box(c.text, c.buttons);
        Keys(box, {c.answer_key});  // as a player answers
        EXPECT_TRUE(WaitGone(box));
        HWND after = Control(w, c.form, c.after);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(w) == after; }, 1000))
            << "the focus is on " << ClassOf(FocusOf(w)) << " \"" << TextOf(FocusOf(w)) << "\"";
        EXPECT_FALSE(panel.FindBox(300)) << "a second box";
        EXPECT_FALSE(panel.Ended(0));
        EXPECT_EQ(panel.Windows().at(0), w) << "the window that asked, on top";
        EXPECT_EQ(IsWindowEnabled(panel.main()) != 0, !options) << "Game Options holds it still";
        EXPECT_EQ(folder.Names().size(), options ? 1u : 0u) << "only the settings";
    }
    EXPECT_EQ(folder.Read("RA2MD.ini"), "[Audio]\r\nSoundVolume=0.8\r\nVoiceVolume=0.7\r\n")
        << "the volumes before the one that is no number are saved";
}

}  // namespace
