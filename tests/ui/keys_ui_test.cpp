// Keys on every window: buttons press on Space, never on a plain letter,
// Enter or Escape, which close nothing.
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

// In a game folder where every command of the main window would leave a
// mark, on each control that takes the focus: every letter, Enter, Escape and
// Space (not on a button: its press). The one change allowed is a key typed
// into a box, which gets its text back after each.
TEST(KeysUi, PlainLettersEnterAndEscapePressNothingInAnyWindowSpacePressesTheFocus) {
    TempFolder folder("Red Alert 2");
    for (const std::string& name : game_files::kModFiles) folder.Write(name, "mod");
    folder.Write("Readme.txt", "Clean deletes it");
    folder.Write("RA2MD.ini", "[Video]\r\nScreenWidth=800\r\nScreenHeight=600\r\n");
    Panel panel(folder);
    HWND w = nullptr;
    for (const layout::Form* form : {&layout::kFrm1, &layout::kAbout, &layout::kHelp, &layout::kGameOptions}) {
        ASSERT_NE(w = form == &layout::kFrm1 ? panel.main() : panel.Open(*form), nullptr);
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
            bool typed = row.kind == layout::Kind::kCombo || row.kind == layout::Kind::kTextBox;
            for (char vk : std::string("\r\x1b" "ABCDEFGHIJKLMNOPQRSTUVWXYZ") + (row.kind == layout::Kind::kButton ? "" : " ")) {
                Keys(w, {(WORD)vk});
                char c = (char)tolower(vk);
                if (typed && c >= ' ') {
                    ASSERT_TRUE(WaitUntil([&] { return TextOf(box).find(c) != std::string::npos; }, 1000))
                        << "key " << c << " not typed into the box";
                    SetWindowTextW(box, Widen(text).c_str());
                }
                ASSERT_EQ(Seen(panel, folder), before) << "key " << (int)vk;
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

}  // namespace
