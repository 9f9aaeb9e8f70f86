// The real main window under Wine: its frame, controls, rectangles, tab
// order, focus and state label, and the ways it closes.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/layout.h"
#include "tests/ui/panel_process.h"

namespace {

TEST(MainWindowUi, FrameControlsAndTabOrderAreAsLaidOut) {
    TempFolder folder("Red Alert 2");
    folder.Write("expandmd81.mix", "marker");
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    ExpectLaidOut(panel.main(), layout::kFrm1, panel.Dpi());
    EXPECT_EQ(GetWindow(panel.main(), GW_OWNER), nullptr);  // the start-up window: nobody's child
    EXPECT_EQ(WindowText(panel.Main("Label1")), "");
    EXPECT_EQ(WindowText(panel.Main("Label2")), "");
}

// The core tests cover which files give which state; here, that the label
// holds it as soon as the window shows, from a folder of non-English letters.
TEST(MainWindowUi, StateLabelIsFilledBeforeTheWindowShows) {
    for (const char* marker : {"expandmd81.mix", "expandmd81.mix.Zarn"}) {
        TempFolder folder("Игры");
        folder.Write(marker, "x");
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr) << marker;
        EXPECT_EQ(WindowText(panel.Main("visual")),
                  std::string(marker) == "expandmd81.mix" ? "Enabled" : "Disabled");
    }
}

TEST(MainWindowUi, EnterSpaceAndEscapeOnTheFirstPictureDoNothing) {
    TempFolder folder;
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    for (WORD key : {VK_RETURN, VK_SPACE, VK_ESCAPE}) PressKeys(panel.main(), {key});
    EXPECT_FALSE(panel.WaitForExit(500));
    EXPECT_EQ(panel.WaitForMessageBox(200).hwnd, nullptr);
}

TEST(MainWindowUi, ExitEndsTheProcessByClickAltXAndClose) {
    enum How { kClick, kAltX, kCloseMessage };
    for (How how : {kClick, kAltX, kCloseMessage}) {
        TempFolder folder;
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr);
        if (how == kClick) PanelProcess::Click(panel.Main("Command5"));
        if (how == kAltX) panel.PressAltKey('X');
        if (how == kCloseMessage) PostMessageW(panel.main(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(panel.WaitForExit()) << "way " << how;
        EXPECT_EQ(panel.WaitForMessageBox(0).hwnd, nullptr);
    }
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: zarn_uitests <path of ZARN Control Panal.exe>\n");
        return 2;
    }
    g_panel_exe = argv[1];
    return RUN_ALL_TESTS();
}
