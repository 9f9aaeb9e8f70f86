// The real main window under Wine: its frame, controls, rectangles, tab
// order, focus and state label, and the ways it closes.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/layout.h"
#include "tests/ui/panel_process.h"

namespace {

const layout::Form& kForm = layout::kFrm1;

std::string ExpectedClass(layout::Kind kind) {
    switch (kind) {
    case layout::Kind::kButton: return "Button";
    case layout::Kind::kLabel: return "Static";
    case layout::Kind::kPictureBox:
    case layout::Kind::kImage: return "ZarnPicture";
    default: return "?";
    }
}

TEST(MainWindowUi, FrameAndEveryControlAreAsLaidOut) {
    TempFolder folder("Red Alert 2");
    folder.Write("expandmd81.mix", "marker");
    PanelProcess panel(folder);
    HWND w = panel.main();
    ASSERT_NE(w, nullptr);
    UINT dpi = panel.Dpi();
    auto px = [dpi](int twips) { return layout::Pixels(twips, (int)dpi); };

    LONG style = GetWindowLongW(w, GWL_STYLE);
    EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_EQ(WindowText(w), "The Marrowgate: Zeal And Rising Nations!");
    EXPECT_EQ(ClassOf(w), "ZarnForm");
    EXPECT_EQ(GetWindow(w, GW_OWNER), nullptr);  // the start-up window: nobody's child

    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, px(11505));
    EXPECT_EQ(client.bottom, px(2385));
    POINT origin = {0, 0};
    ClientToScreen(w, &origin);
    EXPECT_EQ(origin.x, px(2505));
    EXPECT_EQ(origin.y, px(4680));

    for (std::size_t i = 0; i < kForm.count; ++i) {
        const layout::Control& c = kForm.controls[i];
        HWND h = PanelProcess::Control(w, kForm, c.name);
        ASSERT_NE(h, nullptr) << c.name;
        EXPECT_EQ(ClassOf(h), ExpectedClass(c.kind)) << c.name;
        RECT r = RectInParent(h);
        EXPECT_EQ(r.left, px(c.left)) << c.name;
        EXPECT_EQ(r.top, px(c.top)) << c.name;
        EXPECT_EQ(r.right, px(c.left + c.width)) << c.name;
        EXPECT_EQ(r.bottom, px(c.top + c.height)) << c.name;
        LONG cs = GetWindowLongW(h, GWL_STYLE);
        EXPECT_EQ((cs & WS_TABSTOP) != 0, c.tab_stop) << c.name;
        if (c.kind == layout::Kind::kButton) {
            EXPECT_EQ(WindowText(h), c.caption) << c.name;
            EXPECT_EQ(cs & 0x0F, BS_PUSHBUTTON) << c.name << ": never the default button";
        }
        if (c.kind == layout::Kind::kLabel) {
            EXPECT_TRUE(cs & WS_BORDER) << c.name << ": single-line border";
        }
    }
    EXPECT_EQ(WindowText(PanelProcess::Control(w, kForm, "Label1")), "");
    EXPECT_EQ(WindowText(PanelProcess::Control(w, kForm, "Label2")), "");

    char name[64];
    snprintf(name, sizeof name, "main-window-%udpi.bmp", dpi);
    EXPECT_TRUE(SaveScreenshot(w, name));
}

TEST(MainWindowUi, StateLabelIsFilledBeforeTheWindowShows) {
    struct Case {
        const char* entry;
        bool folder;
        const char* expected;
    } cases[] = {
        {"expandmd81.mix", false, "Enabled"},
        {"EXPANDMD81.MIX", false, "Enabled"},
        {"expandmd81.mix.Zarn", false, "Disabled"},
        {"expandmd81.mix", true, "Disabled"},
    };
    for (const Case& c : cases) {
        TempFolder folder("Игры");
        if (c.folder) {
            folder.MakeFolder(c.entry);
        } else {
            folder.Write(c.entry, "x");
        }
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr) << c.entry;
        EXPECT_EQ(WindowText(PanelProcess::Control(panel.main(), kForm, "visual")), c.expected)
            << c.entry;
    }
}

TEST(MainWindowUi, TabVisitsTheControlsInOrderFromTheFirstPicture) {
    TempFolder folder;
    PanelProcess panel(folder);
    HWND w = panel.main();
    ASSERT_NE(w, nullptr);
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &gui));
    EXPECT_EQ(gui.hwndFocus, PanelProcess::Control(w, kForm, "Picture2(0)"));

    const char* order[] = {"Command5",    "Command3", "Command2", "Command1",  "Picture2(3)",
                           "Picture2(2)", "Command4", "Command6", "Command7",  "Uninstall",
                           "Clean",       "Picture2(0)"};
    HWND at = gui.hwndFocus;
    for (const char* next : order) {
        at = GetNextDlgTabItem(w, at, FALSE);
        EXPECT_EQ(at, PanelProcess::Control(w, kForm, next)) << "after Tab expected " << next;
    }
}

TEST(MainWindowUi, EnterAndSpaceOnTheFirstPictureDoNothing) {
    TempFolder folder;
    PanelProcess panel(folder);
    ASSERT_NE(panel.main(), nullptr);
    SetForegroundWindow(panel.main());
    for (WORD key : {(WORD)VK_RETURN, (WORD)VK_SPACE, (WORD)VK_ESCAPE}) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wVk = in[1].ki.wVk = key;
        in[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
    }
    EXPECT_FALSE(panel.WaitForExit(500));
    EXPECT_EQ(panel.WaitForMessageBox(200).hwnd, nullptr);
}

TEST(MainWindowUi, ExitEndsTheProcessByClickAltXAndClose) {
    enum How { kClick, kAltX, kCloseMessage };
    for (How how : {kClick, kAltX, kCloseMessage}) {
        TempFolder folder;
        PanelProcess panel(folder);
        ASSERT_NE(panel.main(), nullptr);
        if (how == kClick) PanelProcess::Click(PanelProcess::Control(panel.main(), kForm, "Command5"));
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
